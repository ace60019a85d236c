// The notes window's toolbar: print, cut, copy and paste, and the two options "&Top" and
// "Store in &Registry" sitting on it to the right of the buttons.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "core/window_settings.h"
#include "platform/accessible_names_win.h"
#include "platform/handles_win.h"

namespace vorn::ui {

class NotesToolbar {
 public:
  // The designed height, in twips: the window places the bar itself.
  static constexpr float kHeight = 336;

  // Creates the toolbar at the top of `parent`; throws PlatformError.
  void Create(HWND parent, HFONT font, HFONT topFont, UINT dpi);
  HWND Hwnd() const { return bar_; }
  HWND TopOption() const { return top_; }
  HWND StoreInRegistryOption() const { return registry_; }

  void ShowOptions(bool top, CheckState storeInRegistry);
  // Across the top of the parent's client area, `width` pixels wide.
  void Resize(int width, UINT dpi);
  // Pictures, button sizes, fonts and the options' places for another resolution.
  void SetDpi(UINT dpi, HFONT font, HFONT topFont);
  // Fills in the tip a toolbar button asks for with TTN_GETDISPINFO (the print button has none);
  // false when the request is not a toolbar button's.
  static bool GiveTip(NMTTDISPINFOW& info);
  // Gives screen readers the bar's name and its buttons' ("Print" too, which shows no tip).
  void Name(win::AccessibleNames& names) const;

 private:
  void ApplyMetrics(UINT dpi);

  HWND bar_ = nullptr, top_ = nullptr, registry_ = nullptr;
  win::ImageList pictures_;
};

}  // namespace vorn::ui
