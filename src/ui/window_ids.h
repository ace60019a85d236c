// Window classes and control ids of the program's windows. The end-to-end tests read this file
// to find the controls: each name stands on a line of its own in this plain form, and a line
// they cannot read stops them.
#pragma once

namespace vorn::ui {

inline constexpr const wchar_t* kNotesWindowClass = L"VornNotesMain";
inline constexpr const wchar_t* kTrayWindowClass = L"VornNotesTray";
// Sent by the setup to the tray window before it replaces or removes the program: the answer
// is 1 when the program ends (every pad stored), 2 when a pad keeps it running.
inline constexpr const wchar_t* kEndForSetupMessage = L"Vorn Notes: end for setup";
inline constexpr const wchar_t* kAboutWindowClass = L"VornNotesAbout";
inline constexpr const wchar_t* kButtonPanelClass = L"VornNotesPanel";
inline constexpr const wchar_t* kHistoryWindowClass = L"VornNotesHistory";
inline constexpr const wchar_t* kFindWindowClass = L"VornNotesFind";

// The message in which the tray window gets the icon's mouse events (WM_APP + 1), the mouse
// message in the low word of lParam.
inline constexpr unsigned kTrayIconMessage = 0x8001;
// The message in which the notes window hears that the pads' store may have been written
// elsewhere (WM_APP + 2), and the timer that waits for such reports to settle.
inline constexpr unsigned kStoreChangedMessage = 0x8002;
inline constexpr unsigned kStoreChangedTimer = 2;

// The notes window.
inline constexpr int kPrintButton = 101;
inline constexpr int kCutButton = 102;
inline constexpr int kCopyButton = 103;
inline constexpr int kPasteButton = 104;
inline constexpr int kTopOption = 201;
inline constexpr int kStoreInRegistryOption = 202;
inline constexpr int kAboutButton = 301;
inline constexpr int kHideButton = 302;
inline constexpr int kEndButton = 303;
inline constexpr int kTabStrip = 401;
inline constexpr int kFirstPad = 501;  // pad N has the id kFirstPad + N - 1
inline constexpr int kToolBar = 601;
inline constexpr int kStatusBar = 602;
inline constexpr int kButtonPanel = 603;

// The notes window's system menu items "&History...", "Start with &Windows" and "Pads
// &Folder...", and its timer for trying again what could not be read or saved.
inline constexpr unsigned kHistoryCommand = 0x1010;
inline constexpr unsigned kStartWithWindowsCommand = 0x1020;
inline constexpr unsigned kPadsFolderCommand = 0x1030;
inline constexpr unsigned kRetryTimer = 1;
inline constexpr int kHotKeyId = 1;  // the notes window's one system-wide hotkey

// The History window.
inline constexpr int kHistoryList = 101;
inline constexpr int kHistoryPreview = 102;
inline constexpr int kHistoryRestore = 103;
inline constexpr int kHistoryClose = 104;

// The Find window.
inline constexpr int kFindWhat = 201;
inline constexpr int kFindMatchCase = 202;
inline constexpr int kFindNextButton = 203;
inline constexpr int kFindCloseButton = 204;

// The About window.
inline constexpr int kAboutCloseButton = 100;
inline constexpr int kAboutEmailButton = 101;
inline constexpr int kAboutWebButton = 102;
inline constexpr int kAboutReadMe = 200;

}  // namespace vorn::ui
