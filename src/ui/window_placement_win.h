// The outer rectangle of a top-level window in screen twips. While the window is minimized or
// maximized it is the rectangle the window returns to, never the parking place of an icon.
// A value that was set reads back exactly as long as the window keeps the pixels it gave, so
// stored values do not drift by rounding from one run to the next.
#pragma once

#include <windows.h>

#include <array>

#include "core/layout.h"
#include "core/window_settings.h"

namespace vorn::ui {

class TwipsPlacement {
 public:
  WindowRect Get(HWND window) const;
  void Set(HWND window, const WindowRect& rect);
  // Moves a window whose title bar's middle third does not lie on the monitors onto the
  // nearest one.
  void KeepReachable(HWND window);
  // True while Set moves the window: a change of resolution it brings is already in its size.
  bool Placing() const { return placing_; }

 private:
  struct Remembered {
    float twips = 0;
    int pixels = 0;
    bool set = false;
  };
  std::array<Remembered, 4> fields_{};  // left, top, width, height
  bool placing_ = false;
};

// The small windows over the notes window (Find, History): a caption and a close box.
inline constexpr DWORD kSmallWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD kSmallWindowExStyle = WS_EX_CONTROLPARENT;

// The outer rectangle of a small window with the client area `client` (twips at the owner's
// scale) over `owner`: 40 pixels in from its left edge, and 40 down from its top edge or, with
// `nearBottom`, 80 up from its bottom edge.
RECT SmallWindowRect(HWND owner, const TwipsRect& client, bool nearBottom);

// Shows a small window in front with the keyboard in `focus`.
void BringForward(HWND window, HWND focus);

}  // namespace vorn::ui
