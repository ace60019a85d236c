// The notes window as the model sees it (NotesView): shown or hidden, its place and options,
// the hotkey, and the pads' text, each pad getting its control when it is first shown.
#include "ui/notes_window_win.h"

#include <commctrl.h>

#include "platform/dpi_win.h"
#include "ui/child_win.h"

namespace vorn::ui {

bool NotesWindow::Shown() const { return IsWindowVisible(hwnd_) != FALSE; }

void NotesWindow::Show() {
  placement_.KeepReachable(hwnd_);  // the monitors may have changed while it was hidden
  ShowWindow(hwnd_, SW_SHOWNA);
}

void NotesWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void NotesWindow::Activate() {
  SetForegroundWindow(hwnd_);
  FocusActiveControl();
}

void NotesWindow::SetTopMost(bool topMost) {
  SetWindowPos(hwnd_, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

WindowRect NotesWindow::MinimumSize() const {
  // The smallest client area that shows every part, grown by the frame.
  TwipsRect client = SmallestClient(Measure());
  RECT r{0, 0, win::TwipsToPixels(client.width, dpi_), win::TwipsToPixels(client.height, dpi_)};
  win::GrowToFrame(r, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                   static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi_);
  float width = win::PixelsToTwips(
      std::max<int>(r.right - r.left, win::MetricForDpi(SM_CXMINTRACK, dpi_)), dpi_);
  float height = win::PixelsToTwips(
      std::max<int>(r.bottom - r.top, win::MetricForDpi(SM_CYMINTRACK, dpi_)), dpi_);
  return {0, 0, width, height};
}

void NotesWindow::ShowOptions(bool top, CheckState storeInRegistry) {
  toolbar_.ShowOptions(top, storeInRegistry);
}

bool NotesWindow::SetHotKey(const std::optional<HotKey>& key) {
  UnregisterHotKey(hwnd_, kHotKeyId);
  if (!key) return true;
  UINT modifiers = (key->ctrl ? MOD_CONTROL : 0) | (key->alt ? MOD_ALT : 0) |
                   (key->shift ? MOD_SHIFT : 0) | (key->win ? MOD_WIN : 0);
  // Held down, the key would show and hide the window in turn: it counts once.
  return RegisterHotKey(hwnd_, kHotKeyId, modifiers | MOD_NOREPEAT, key->key) ||
         RegisterHotKey(hwnd_, kHotKeyId, modifiers, key->key);
}

void NotesWindow::ShowPad(int pad) {
  shownPad_ = pad;
  // Chosen by a key or a search, the tab follows; setting it tells no one.
  if (TabCtrl_GetCurSel(tabStrip_) != pad - 1) TabCtrl_SetCurSel(tabStrip_, pad - 1);
  // In the hidden window of the start the pad gets its control once the program is ready.
  if (Shown()) WithControl(pad);
  for (int i = 1; i <= kPadCount; ++i) Pad(i).SetVisible(i == pad);
}

void NotesWindow::SetZoom(int percent) {
  for (PadControl& pad : pads_) pad.SetZoom(percent);
}

PadControl& NotesWindow::WithControl(int pad) {
  PadControl& control = Pad(pad);
  if (!control.Created()) {
    control.SetDark(colours_.Dark());
    control.SetDpi(dpi_);
    control.Create(hwnd_, kFirstPad + pad - 1);
    PlaceChild(control.Hwnd(), layout_.pads, dpi_);
    // A child made later lies below the others; a pad lies in front of the tab strip.
    SetWindowPos(control.Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    control.SetVisible(pad == shownPad_);
    if (named_) names_.Name(control.Hwnd(), PadName(pad).c_str());
  }
  return control;
}

void NotesWindow::NameControls() {
  named_ = true;
  toolbar_.Name(names_);
  names_.Name(tabStrip_, L"Pads");
  names_.Name(statusBar_.Hwnd(), L"Status");
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (Pad(pad).Created()) names_.Name(Pad(pad).Hwnd(), PadName(pad).c_str());
  }
}

std::string NotesWindow::PadText(int pad) const { return Pad(pad).Text(); }

void NotesWindow::SetPadText(int pad, std::string_view text) { Pad(pad).SetText(text); }

std::optional<std::string> NotesWindow::CheckPadCopy(int pad, bool whole) {
  PadControl& control = Pad(pad);
  if (!control.Created()) return std::nullopt;  // it holds its text itself
  if (whole) control.CompleteComposition();
  return control.CheckCopy(whole);
}

std::string NotesWindow::PadSelection(int pad) const {
  return Pad(pad).Created() ? Pad(pad).Selection() : std::string();
}

void NotesWindow::ReplacePadSelection(int pad, std::string_view text) {
  WithControl(pad).ReplaceSelection(text);
}

void NotesWindow::OnShowWindow(bool shown) {
  // The pad about to be seen holds all its text before the window appears.
  if (!shown) return;
  WithControl(shownPad_).FillAll();
}

bool NotesWindow::BackgroundStep() {
  if (!Pad(shownPad_).Created() && !controlFailed_) {
    // A failure leaves the pad its text, and is not tried again here: showing it tries again.
    controlFailed_ = true;
    WithControl(shownPad_);
    controlFailed_ = false;
    return true;
  }
  if (!named_) {
    NameControls();
    return true;
  }
  for (bool shownPadFirst : {true, false}) {
    for (PadControl& pad : pads_) {
      if (pad.Filling() && (!shownPadFirst || pad.Visible())) {
        pad.FillStep();
        return true;
      }
    }
  }
  return false;
}

}  // namespace vorn::ui
