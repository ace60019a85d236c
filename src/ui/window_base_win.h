// The base of the program's windows: registers the window class once, keeps the C++ object with
// its window from WM_NCCREATE to WM_NCDESTROY, and hands every message to the derived class's
// HandleMessage. Exceptions stop here and are told to the user (error_barrier_win.h): a creation
// that throws fails WM_CREATE with -1, any other message that throws gets the default handling.
#pragma once

#include <windows.h>

#include "ui/child_win.h"
#include "ui/error_barrier_win.h"

namespace vorn::ui {

template <class Derived>
class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND Hwnd() const { return hwnd_; }

  // Destroys the window. The derived class calls it from its destructor, while the members
  // that the window's last messages may touch are still alive.
  void Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
  }

 protected:
  // Creates the window; the derived class names its class in kClassName and may fill in more
  // of the class in DescribeClass(WNDCLASSEXW&).
  bool CreateFor(HINSTANCE instance, DWORD exStyle, const wchar_t* caption, DWORD style,
                 const RECT& rect, HWND parent = nullptr) {
    static const bool registered = [instance] {
      WNDCLASSEXW wc{sizeof wc};
      wc.lpfnWndProc = &Procedure;
      wc.hInstance = instance;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.lpszClassName = Derived::kClassName;
      Derived::DescribeClass(wc);
      return RegisterClassExW(&wc) != 0;
    }();
    if (!registered) return false;
    return CreateWindowExW(exStyle, Derived::kClassName, caption, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                           instance, static_cast<Derived*>(this)) != nullptr;
  }

  static void DescribeClass(WNDCLASSEXW&) {}

  // The keyboard of a window of buttons, for its message loop to call: the focus order, Enter
  // and the access keys as the dialog manager does them, and Escape to close it. True when the
  // message was taken.
  bool PreTranslateDialogKeys(MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      Destroy();
      return true;
    }
    if (msg.message == WM_KEYDOWN && IsPasteKey(msg.wParam) && PasteIntoTextBox(msg.hwnd)) {
      return true;
    }
    // Tab moves on from the text boxes too, which ask for it.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
        IsTextBox(msg.hwnd)) {
      HWND next = GetNextDlgTabItem(hwnd_, GetFocus(), GetKeyState(VK_SHIFT) < 0);
      if (next) SetFocus(next);
      return true;
    }
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
  }

  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
      return self->HandleMessage(msg, wp, lp);
    } catch (...) {
      TellCurrentError();
      return msg == WM_CREATE ? -1 : DefWindowProcW(hwnd, msg, wp, lp);
    }
  }
};

}  // namespace vorn::ui
