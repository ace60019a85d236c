// The notes window's status bar: a free panel for the pad's length, then the Caps Lock, Num Lock
// and Insert indicators, each its word, dark when the key is on and grey when it is off.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>

namespace vorn::ui {

class NotesStatusBar {
 public:
  // The designed height, in twips: the window places the bar itself.
  static constexpr float kHeight = 252;

  // Creates the status bar at the bottom of `parent`; throws PlatformError.
  void Create(HWND parent, HFONT font, UINT dpi);
  HWND Hwnd() const { return bar_; }
  void SetText(std::string_view text);
  // Across the bottom of the parent's client area, at the parent's new size or resolution.
  void Resize(UINT dpi, HFONT font);
  // Shows the keys as they are now; cheap when nothing changed.
  void UpdateIndicators();
  // Draws an indicator panel (WM_DRAWITEM); false for anything else.
  bool Draw(const DRAWITEMSTRUCT& item);

 private:
  void LayOutPanels();

  HWND bar_ = nullptr;
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  std::array<int, 3> indicators_{-1, -1, -1};  // -1: not shown yet
};

}  // namespace vorn::ui
