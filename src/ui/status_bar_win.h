// The notes window's status bar: a free panel for the pad's length, then the Caps Lock, Num Lock
// and Insert indicators, each its word, dark when the key is on and grey when it is off. A text
// longer than its panel takes the whole bar, and when it is longer still, its tool tip shows it
// whole.
#pragma once

#include <windows.h>

#include <array>
#include <string>
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
  void ShowText();

  HWND bar_ = nullptr;
  HWND tip_ = nullptr;
  std::wstring text_, tipText_;
  bool wide_ = false;  // the text takes the whole bar
  int firstPanelRight_ = 0;
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  std::array<int, 3> indicators_{-1, -1, -1};  // -1: not shown yet
};

}  // namespace vorn::ui
