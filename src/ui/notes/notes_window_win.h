// The notes window (frmVornNotes) as a Win32 window: its controls, messages and keyboard.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <vector>

#include "app/tray_window_win.h"
#include "ui/about/about_window_win.h"
#include "platform/controls_win.h"
#include "platform/services_win.h"
#include "platform/win.h"
#include "ui/notes/frm_vorn_notes.h"

namespace vorn::win {

class NotesWindow {
 public:
  explicit NotesWindow(HINSTANCE instance);
  ~NotesWindow();
  NotesWindow(const NotesWindow&) = delete;
  NotesWindow& operator=(const NotesWindow&) = delete;

  // Creates the hidden window with its controls and runs the start-up sequence.
  bool Create();
  // The key preview, the focus order and the access keys, for messages bound for this window
  // or its controls. True when the message has been handled and must not be dispatched.
  bool PreTranslate(MSG& msg);
  // Takes the next piece of a pad's text into its control, for the message loop to call while
  // no message waits. True while some pad still has text to take in.
  bool FillPadsStep();

 private:
  template <class T>
  friend LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCreate();
  void OnSize();
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnActivate(WPARAM wp);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void Unload(std::int16_t reason);

  void CreateFonts();
  void CreateToolbar();
  void CreateTabsAndPads();
  void CreateButtonPanel();
  void CreateStatusBar();
  void CreateToolTips();
  void ApplyToolbarMetrics();
  void LayoutStatusPanels();
  void UpdateIndicators();
  void FocusActiveControl();
  HWND VisiblePad() const;
  bool AnyPadFilling() const;
  bool MoveFocus(bool backwards);
  bool HandleAccessKey(wchar_t key);
  HWND CreateChild(DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent,
                   int id);
  void Toggle(WinCheckBox& box);

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  Icon bigIcon_, smallIcon_;
  Font font_, topFont_;
  HIMAGELIST images_ = nullptr;
  HWND toolTips_ = nullptr;
  HWND chkTopHwnd_ = nullptr, chkRegistryHwnd_ = nullptr;
  HWND command1_ = nullptr, command2_ = nullptr, command3_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::array<int, 3> indicators_{-1, -1, -1};

  // The controls as the logic sees them.
  WinForm form_;
  ChildControl toolBar_, picture2_;
  WinCheckBox chkTop_, chkRegistry_;
  std::array<WinPad, kPadCount> pads_;
  WinStatusBar statusBar_;
  WinTabStrip tabStrip_;
  // Controls placed at designed twips, moved again when the resolution changes.
  ChildControl chkTopPlace_, chkRegistryPlace_, command1Place_, command2Place_, command3Place_;

  RegistrySettings settings_;
  PadSlots padSlots_;
  WindowZOrder zOrder_;
  ExitingProcess process_;
  WindowMessageBox messageBox_;
  WinClipboard clipboard_;
  DefaultPrinter printer_;
  AboutWindow about_;
  std::unique_ptr<TrayWindow> tray_;
  std::unique_ptr<frmVornNotes> logic_;
};

}  // namespace vorn::win
