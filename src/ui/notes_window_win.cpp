#include "ui/notes_window_win.h"

#include <commctrl.h>

#include <string>

#include "res/resource.h"
#include "platform/dpi_win.h"
#include "platform/text_win.h"
#include "ui/child_win.h"
#include "ui/edit_menu_win.h"
#include "ui/tool_tips_win.h"

namespace vorn::ui {

namespace {

constexpr wchar_t kCaption[] = L"Vorn Notes - by Kalvo";

// The designed client area of the window, in twips on the screen.
constexpr TwipsRect kDesignedClient{3036, 1812, 6216, 5028};

// The buttons' designed places on their panel, in twips.
struct PanelButton {
  int id;
  const wchar_t* caption;
  TwipsRect place;
};
constexpr PanelButton kPanelButtons[] = {
    {kAboutButton, L"&About", {0, 0, 855, 315}},
    {kHideButton, L"&Hide", {900, 0, 855, 315}},
    {kEndButton, L"&End", {2040, 0, 795, 315}},
};

// The panel hands its buttons' clicks to the notes window, and is drawn in its colours.
LRESULT CALLBACK ButtonPanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_ERASEBKGND:
    case WM_CTLCOLORBTN: return SendMessageW(GetParent(hwnd), msg, wp, lp);
    default: return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

std::wstring NotesWindow::PadName(int pad) { return win::Widen("Doc #" + std::to_string(pad)); }

void NotesWindow::DescribeClass(WNDCLASSEXW& wc) {
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

bool NotesWindow::Create(NotesModel& model) {
  // The designed client rectangle on the screen, grown by the frame to the outer rectangle.
  UINT dpi = win::DpiOf(nullptr);
  RECT r{win::TwipsToPixels(kDesignedClient.left, dpi),
         win::TwipsToPixels(kDesignedClient.top, dpi), 0, 0};
  r.right = r.left + win::TwipsToPixels(kDesignedClient.width, dpi);
  r.bottom = r.top + win::TwipsToPixels(kDesignedClient.height, dpi);
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  win::GrowToFrame(r, style, 0, dpi);
  if (!CreateFor(instance_, 0, kCaption, style, r)) return false;
  model_ = &model;
  return true;
}

LRESULT NotesWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT result; colours_.Answer(hwnd_, msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SIZE: OnSize(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_DRAWITEM: return statusBar_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    case WM_SHOWWINDOW: OnShowWindow(wp != FALSE); return Default(msg, wp, lp);
    case WM_ACTIVATE: OnActivate(wp); return 0;
    case WM_SETFOCUS: FocusActiveControl(); return 0;
    case WM_CLOSE:
      // The close box, the system menu and Alt+F4 come as SC_CLOSE; a close request itself
      // comes from another program, as the Task Manager's End task.
      if (model_) model_->CloseRequested(CloseReason::OtherProgram);
      return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      if (wp && model_) model_->CloseRequested(CloseReason::SessionEnd);
      return 0;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
    case WM_DISPLAYCHANGE:  // a monitor gone, or another resolution: the window stays in reach
      placement_.KeepReachable(hwnd_);
      return Default(msg, wp, lp);
    case WM_TIMER:
      if (wp == kRetryTimer && model_) model_->Tick();
      if (wp == kStoreChangedTimer && model_) {
        KillTimer(hwnd_, kStoreChangedTimer);
        model_->StoreChangedElsewhere();
      }
      return 0;
    case kStoreChangedMessage:
      // Saving a pad brings a few reports; they are looked at once, when they settle.
      SetTimer(hwnd_, kStoreChangedTimer, 250, nullptr);
      return 0;
    case WM_DEVICECHANGE:
      OnDeviceChange(wp, reinterpret_cast<const DEV_BROADCAST_HDR*>(lp));
      return TRUE;
    case WM_POWERBROADCAST:  // the store may have been written while the computer slept
      if (wp == PBT_APMRESUMEAUTOMATIC && model_) model_->StoreChangedElsewhere();
      return TRUE;
    case WM_HOTKEY:
      if (wp == kHotKeyId && model_) model_->HotKeyPressed(GetForegroundWindow() == hwnd_);
      return 0;
    case WM_ENTERIDLE:  // a menu or message box of ours waits: as the message loop does
      if (model_) model_->StoreChanges();
      return 0;
    case WM_CONTEXTMENU:
      // A right click in a pad: its control hands the request on to us.
      if (reinterpret_cast<HWND>(wp) == ShownPadWindow() && model_) {
        ShowEditMenu(lp);
        return 0;
      }
      return Default(msg, wp, lp);
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE && model_) {
        model_->CloseRequested(CloseReason::CloseBox);
        return 0;
      }
      if ((wp & 0xFFF0) == kHistoryCommand && model_) {
        model_->HistoryRequested();
        return 0;
      }
      if ((wp & 0xFFF0) == kStartWithWindowsCommand && model_) {
        model_->StartWithWindowsClicked();
        return 0;
      }
      if ((wp & 0xFFF0) == kPadsFolderCommand && model_) {
        model_->PadsFolderClicked();
        return 0;
      }
      return Default(msg, wp, lp);
    case WM_INITMENUPOPUP:
      // The system menu shows the choice as the system holds it now.
      if (HIWORD(lp) && model_) {
        CheckMenuItem(reinterpret_cast<HMENU>(wp), kStartWithWindowsCommand,
                      model_->StartsWithWindows() ? MF_CHECKED : MF_UNCHECKED);
      }
      return Default(msg, wp, lp);
    default: return Default(msg, wp, lp);
  }
}

// The drive of the pads' folder: the store watch registered its folder, so a report about a
// handle is about that drive. Its removal is granted once the program has let go of it.
void NotesWindow::OnDeviceChange(WPARAM event, const DEV_BROADCAST_HDR* about) {
  if (!model_ || !about) return;
  bool folder = about->dbch_devicetype == DBT_DEVTYP_HANDLE;
  switch (event) {
    case DBT_DEVICEQUERYREMOVE:
    case DBT_DEVICEREMOVEPENDING:
    case DBT_DEVICEREMOVECOMPLETE:
      if (folder) model_->PadsDriveLeaving();
      break;
    case DBT_DEVICEQUERYREMOVEFAILED:
      if (folder) model_->PadsDriveBack();
      break;
    case DBT_DEVICEARRIVAL:
      if (about->dbch_devicetype == DBT_DEVTYP_VOLUME) model_->PadsDriveBack();
      break;
    default: break;
  }
}

// ---- Creation ----------------------------------------------------------------------------

void NotesWindow::OnCreate() {
  dpi_ = win::DpiOf(hwnd_);
  SetIcons();
  CreateFonts();
  toolbar_.Create(hwnd_, font_.Get(), topFont_.Get(), dpi_);
  CreateTabsAndPads();
  CreateButtonPanel();
  statusBar_.Create(hwnd_, font_.Get(), dpi_);
  CreateToolTips(
      hwnd_, dpi_,
      {
          {toolbar_.TopOption(), L"Make this window the top-most window"},
          {toolbar_.StoreInRegistryOption(),
           L"Data will/will-not be saved in the registry from now (default is the program path)"},
          {aboutButton_, L"Displays Information about the author and Vorn Notes"},
          {hideButton_, L"Hides the window (ESC does the same)"},
          {endButton_, L"Ends the application (to hide press ESC)"},
      });
  HMENU system = GetSystemMenu(hwnd_, FALSE);
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(system, MF_STRING, kHistoryCommand, L"&History...\tCtrl+H");
  AppendMenuW(system, MF_STRING, kStartWithWindowsCommand, L"Start with &Windows");
  AppendMenuW(system, MF_STRING, kPadsFolderCommand, L"Pads &Folder...");
  // What could not be read or saved is tried again every few seconds.
  SetTimer(hwnd_, kRetryTimer, 3000, nullptr);
  OnSize();  // the bars take their places
  colours_.Start(hwnd_);
}

void NotesWindow::SetIcons() {
  // The title bar and the task switcher show the icon drawn for their size at this resolution.
  bigIcon_.Reset(win::LoadLargeIcon(instance_, IDI_VORNNOTES, dpi_));
  smallIcon_.Reset(win::LoadSmallIcon(instance_, IDI_VORNNOTES, dpi_));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
}

void NotesWindow::CreateFonts() {
  font_.Reset(CreateTahoma(8.4f, dpi_));
  topFont_.Reset(CreateTahoma(7.8f, dpi_));
}

void NotesWindow::CreateTabsAndPads() {
  // The pads' controls are made as each is first shown.
  // The strip shows no text of its own: its text is its name for screen readers.
  tabStrip_ = CreateChild(hwnd_, kTabStrip, WC_TABCONTROLW, L"Pads",
                          WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, font_.Get());
  for (int i = 0; i < kPadCount; ++i) {
    std::wstring caption = PadName(i + 1);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tabStrip_, TCM_INSERTITEMW, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&item));
  }
  PlaceChild(tabStrip_, layout_.tabStrip, dpi_);
  // The pads lie in front of the tab strip.
  SetWindowPos(tabStrip_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void NotesWindow::CreateButtonPanel() {
  static const bool registered = [this] {
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = ButtonPanelProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kButtonPanelClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;  // without its class the panel fails to be created, and says so
  buttonPanel_ =
      CreateChild(hwnd_, kButtonPanel, kButtonPanelClass, nullptr,
                  WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, nullptr, WS_EX_CONTROLPARENT);
  PlaceChild(buttonPanel_, layout_.buttonPanel, dpi_);
  HWND* handles[] = {&aboutButton_, &hideButton_, &endButton_};
  for (std::size_t i = 0; i < std::size(kPanelButtons); ++i) {
    *handles[i] =
        CreateChild(buttonPanel_, kPanelButtons[i].id, L"BUTTON", kPanelButtons[i].caption,
                    WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, font_.Get());
  }
  PlaceButtons();
}

void NotesWindow::PlaceButtons() {
  HWND handles[] = {aboutButton_, hideButton_, endButton_};
  for (std::size_t i = 0; i < std::size(kPanelButtons); ++i) {
    PlaceCaptioned(handles[i], font_.Get(), kPanelButtons[i].place, dpi_);
  }
}

// ---- Layout ------------------------------------------------------------------------------

void NotesWindow::OnSize() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  toolbar_.Resize(client.right, dpi_);
  statusBar_.Resize(dpi_, font_.Get());
  if (model_) model_->Resized();
}

LayoutInput NotesWindow::Measure() const {
  RECT client{}, tab{};
  GetClientRect(hwnd_, &client);
  TabCtrl_GetItemRect(tabStrip_, 0, &tab);
  // The bars have their designed heights: the window placed them.
  return {win::PixelsToTwips(client.right, dpi_), win::PixelsToTwips(client.bottom, dpi_),
          NotesToolbar::kHeight, NotesStatusBar::kHeight,
          win::PixelsToTwips(tab.bottom - tab.top, dpi_)};
}

void NotesWindow::Arrange(const NotesLayout& layout) {
  layout_ = layout;
  PlaceChild(buttonPanel_, layout.buttonPanel, dpi_);
  PlaceChild(tabStrip_, layout.tabStrip, dpi_);
  for (PadControl& pad : pads_) {
    if (pad.Created()) PlaceChild(pad.Hwnd(), layout.pads, dpi_);
  }
}

void NotesWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetIcons();
  CreateFonts();
  for (HWND h : {aboutButton_, hideButton_, endButton_, tabStrip_}) {
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
  }
  toolbar_.SetDpi(dpi, font_.Get(), topFont_.Get());
  for (PadControl& pad : pads_) pad.SetDpi(dpi);
  PlaceButtons();
  Arrange(layout_);
  // The new size brings a layout measured at the new resolution; a move of our own to another
  // monitor has its size for that monitor already.
  if (placement_.Placing()) {
    OnSize();
    return;
  }
  MoveToSuggested(hwnd_, suggested);
}

// ---- The user's actions ------------------------------------------------------------------

void NotesWindow::ShowEditMenu(LPARAM at) {
  HWND pad = ShownPadWindow();
  if (!pad) return;
  // What the menu does is what the keys do; a change is reported and stored as theirs is.
  switch (ChooseFromEditMenu(hwnd_, pad, at)) {
    case EditCommand::Undo: SendMessageW(pad, EM_UNDO, 0, 0); break;
    case EditCommand::Cut: SendMessageW(pad, WM_CUT, 0, 0); break;
    case EditCommand::Copy: SendMessageW(pad, WM_COPY, 0, 0); break;
    case EditCommand::Paste: model_->Run(ToolbarCommand::Paste); break;
    case EditCommand::Delete: SendMessageW(pad, WM_CLEAR, 0, 0); break;
    case EditCommand::SelectAll: SendMessageW(pad, EM_SETSEL, 0, -1); break;
    case EditCommand::None: break;
  }
}

void NotesWindow::OnCommand(int id, int code) {
  if (!model_) return;
  switch (id) {
    case kTopOption:
      if (code == BN_CLICKED) model_->TopClicked();
      return;
    case kStoreInRegistryOption:
      if (code == BN_CLICKED) model_->StoreInRegistryClicked();
      return;
    case kPrintButton: model_->Run(ToolbarCommand::Print); return;
    case kCutButton: model_->Run(ToolbarCommand::Cut); return;
    case kCopyButton: model_->Run(ToolbarCommand::Copy); return;
    case kPasteButton: model_->Run(ToolbarCommand::Paste); return;
    case kAboutButton: model_->AboutPressed(); return;
    case kHideButton: model_->Hide(); return;
    case kEndButton: model_->CloseRequested(CloseReason::EndButton); return;
    default:
      if (id >= kFirstPad && id < kFirstPad + kPadCount && code == EN_CHANGE) {
        Pad(id - kFirstPad + 1).TextChanged();
        model_->PadChanged(id - kFirstPad + 1);
      }
  }
}

LRESULT NotesWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == tabStrip_) {
    if (header.code == TCN_SELCHANGE && model_) {
      model_->TabSelected(TabCtrl_GetCurSel(tabStrip_) + 1);
    }
    return 0;
  }
  if (header.code == TTN_GETDISPINFOW &&
      NotesToolbar::GiveTip(*reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&header)))) {
    return 0;
  }
  return Default(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

}  // namespace vorn::ui
