// The notes window's keyboard: Escape hides it from anywhere in it, Tab follows the designed
// focus order, Alt and a letter (or the letter alone on a button) work the access keys, Ctrl
// with Tab, Page Up, Page Down or a digit goes to a pad, Ctrl+P prints, Ctrl with Plus, Minus
// or the wheel zooms the pads, the menu key and Shift+F10 open a pad's edit menu, and the focus
// comes back to the control that had it; F6 goes to a notice that did not take the keyboard.
#include <cwctype>
#include <vector>

#include "ui/child_win.h"
#include "ui/notes_window_win.h"

#include <commctrl.h>

namespace vorn::ui {

namespace {

bool IsButton(HWND hwnd) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  return lstrcmpiW(cls, L"Button") == 0;
}

bool CanTakeFocus(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

// The pad a key with Ctrl goes to from the shown one: Ctrl+Tab and Ctrl+Page Down the next,
// with Shift or Ctrl+Page Up the one before (round the ends), Ctrl+1 .. Ctrl+9 and Ctrl+0 pads
// 1 to 10. 0 for any other key.
int PadForKey(WPARAM key, bool shift, int shown) {
  int step = 0;
  if (key == VK_TAB) step = shift ? -1 : 1;
  if (key == VK_NEXT && !shift) step = 1;
  if (key == VK_PRIOR && !shift) step = -1;
  if (step) return (shown - 1 + step + kPadCount) % kPadCount + 1;
  if (!shift && key >= '1' && key <= '9') return static_cast<int>(key - '0');
  if (!shift && key == '0') return kPadCount;
  return 0;
}

// Ctrl with Plus or Minus (either row) zooms a step in or out, Ctrl with 0 on the number pad
// back to 100 % (Ctrl+0 in the top row goes to Doc #10); 0 for any other key.
constexpr int kResetZoom = 1000;
int ZoomKey(WPARAM key) {
  if (key == VK_OEM_PLUS || key == VK_ADD) return 1;
  if (key == VK_OEM_MINUS || key == VK_SUBTRACT) return -1;
  if (key == VK_NUMPAD0) return kResetZoom;
  return 0;
}

// The menu key, or Shift+F10: the edit menu of the pad, from the keyboard.
bool IsEditMenuKey(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP: return msg.wParam == VK_APPS;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: return msg.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0;
    default: return false;
  }
}

// A notice is a dialog the notes window owns.
struct NoticeSearch {
  HWND owner, notice;
};

BOOL CALLBACK FindNotice(HWND window, LPARAM lp) {
  auto* search = reinterpret_cast<NoticeSearch*>(lp);
  wchar_t cls[8] = {};
  GetClassNameW(window, cls, 8);
  if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window) ||
      lstrcmpW(cls, L"#32770") != 0) {
    return TRUE;
  }
  search->notice = window;
  return FALSE;
}

}  // namespace

bool NotesWindow::PreTranslate(MSG& msg) {
  if (!hwnd_ || !model_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (IsEditMenuKey(msg) && msg.hwnd == ShownPadWindow()) {
    // Taken on the way down and up alike, so that no window makes a second menu of the key.
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) ShowEditMenu(-1);
    return true;
  }
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      statusBar_.UpdateIndicators();
      // Escape hides the window whatever the modifiers; the control still gets the key.
      if (msg.wParam == VK_ESCAPE) model_->Hide();
      bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0;
      bool ctrlOrAlt = ctrl || alt;
      if (msg.wParam == 'H' && ctrl && !alt) {
        // Not to the pad: a rich-edit control takes Ctrl+H for Backspace.
        model_->HistoryRequested();
        return true;
      }
      if (msg.wParam == 'F' && ctrl && !alt) {
        model_->FindRequested();
        return true;
      }
      if (msg.wParam == 'P' && ctrl && !alt) {
        model_->Run(ToolbarCommand::Print);
        return true;
      }
      if (int zoom = ctrl && !alt && IsPad(msg.hwnd) ? ZoomKey(msg.wParam) : 0) {
        model_->Zoom(zoom == kResetZoom ? 0 : zoom);
        return true;
      }
      if (msg.wParam == VK_F6 && !ctrlOrAlt) return GoToNotice();
      if (msg.wParam == VK_F3 && !ctrlOrAlt) {
        model_->FindAgain(GetKeyState(VK_SHIFT) >= 0);
        return true;
      }
      bool shift = GetKeyState(VK_SHIFT) < 0;
      // Every paste key inserts at the selection, as the toolbar's Paste does: a control of
      // some systems replaced the pad's whole text on Ctrl+V, and took no Shift+Insert.
      if (IsPasteKey(msg.wParam) && msg.hwnd == ShownPadWindow()) {
        model_->Run(ToolbarCommand::Paste);
        return true;
      }
      if (msg.wParam == VK_TAB && !ctrlOrAlt) return MoveFocus(shift);
      // Before a pad sees them: the rich-edit control takes Ctrl+1, 2 and 5 for line spacing.
      if (int pad = ctrl && !alt ? PadForKey(msg.wParam, shift, model_->ShownPad()) : 0) {
        GoToPad(pad);
        return true;
      }
      return false;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: statusBar_.UpdateIndicators(); return false;
    case WM_MOUSEWHEEL:
      // Ctrl with the wheel zooms every pad alike, not the one control alone.
      if ((GET_KEYSTATE_WPARAM(msg.wParam) & MK_CONTROL) && IsPad(msg.hwnd)) {
        wheelTurned_ += GET_WHEEL_DELTA_WPARAM(msg.wParam);
        if (int steps = wheelTurned_ / WHEEL_DELTA) {
          wheelTurned_ -= steps * WHEEL_DELTA;
          model_->Zoom(steps);
        }
        return true;
      }
      return false;
    case WM_SYSCHAR: return PressAccessKey(static_cast<wchar_t>(msg.wParam));
    case WM_CHAR:
      // On a button or check box a plain letter works as its access key.
      return IsButton(msg.hwnd) && PressAccessKey(static_cast<wchar_t>(msg.wParam));
    default: return false;
  }
}

// A notice appears without taking the keyboard; F6 takes the keyboard to it, to its OK, as it
// goes to a browser's notification bar.
bool NotesWindow::GoToNotice() {
  NoticeSearch search{hwnd_, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindNotice, reinterpret_cast<LPARAM>(&search));
  if (!search.notice) return false;
  SetForegroundWindow(search.notice);
  SetFocus(GetDlgItem(search.notice, IDOK));
  return true;
}

bool NotesWindow::MoveFocus(bool backwards) {
  // The designed order: "&End", "&About", "Store in &Registry", the tab strip, the pads,
  // "&Top", "&Hide". Hidden pads are passed over.
  std::vector<HWND> order{endButton_, aboutButton_, toolbar_.StoreInRegistryOption(), tabStrip_};
  for (const PadControl& pad : pads_) {
    if (pad.Created()) order.push_back(pad.Hwnd());
  }
  order.push_back(toolbar_.TopOption());
  order.push_back(hideButton_);

  HWND focus = GetFocus();
  int n = static_cast<int>(order.size());
  int at = -1;
  for (int i = 0; i < n; ++i) {
    if (order[i] == focus || IsChild(order[i], focus)) at = i;
  }
  for (int step = 1; step <= n; ++step) {
    int i = at < 0 ? (backwards ? n - step : step - 1)
                   : ((at + (backwards ? -step : step)) % n + n) % n;
    if (!CanTakeFocus(order[i])) continue;
    SetFocus(order[i]);
    if (IsButton(order[i])) {
      // Reached by the keyboard: the button shows its focus rectangle.
      SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    }
    return true;
  }
  return false;
}

bool NotesWindow::PressAccessKey(wchar_t key) {
  struct AccessKey {
    wchar_t key;
    HWND control;
    bool option;  // a check box takes the focus as it is clicked
  } keys[] = {{L't', toolbar_.TopOption(), true},
              {L'r', toolbar_.StoreInRegistryOption(), true},
              {L'a', aboutButton_, false},
              {L'h', hideButton_, false},
              {L'e', endButton_, false}};
  key = static_cast<wchar_t>(std::towlower(key));
  for (const AccessKey& a : keys) {
    if (a.key != key || !CanTakeFocus(a.control)) continue;
    if (a.option) SetFocus(a.control);
    SendMessageW(a.control, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

void NotesWindow::OnActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  statusBar_.UpdateIndicators();  // the keys may have changed while another window had them
  if (!IsIconic(hwnd_)) FocusActiveControl();
}

void NotesWindow::FocusActiveControl() {
  HWND target = lastFocus_;
  if (!target || !IsWindow(target) || !CanTakeFocus(target)) target = ShownPadWindow();
  SetFocus(target ? target : hwnd_);
}

void NotesWindow::GoToPad(int pad) {
  HWND focus = GetFocus();
  bool inPad = focus && focus == ShownPadWindow();
  model_->TabSelected(pad);
  if (inPad) SetFocus(ShownPadWindow());
}

bool NotesWindow::IsPad(HWND window) const {
  for (const PadControl& pad : pads_) {
    if (pad.Created() && pad.Hwnd() == window) return true;
  }
  return false;
}

HWND NotesWindow::ShownPadWindow() const {
  for (const PadControl& pad : pads_) {
    if (pad.Visible()) return pad.Hwnd();
  }
  return nullptr;
}

}  // namespace vorn::ui
