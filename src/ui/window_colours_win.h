// The colours of a window of the program. In light mode and under high contrast everything
// takes the system's colours, as Windows draws them. In dark mode the title bar, the text
// boxes, the window's own ground and its labels turn dark, and the buttons take the system's
// dark look: as far as the common controls go without being drawn by hand (the tab strip and
// the status bar keep theirs).
#pragma once

#include <windows.h>

#include "platform/handles_win.h"

namespace vorn::ui {

// True when the program's windows should be dark: Windows' app mode is dark and high contrast
// is off.
bool DarkModeWanted();

// Light text on a dark ground for a rich-edit text box in dark mode; the system's colours
// otherwise.
void ColourTextBox(HWND box, bool dark);

class WindowColours {
 public:
  bool Dark() const { return dark_; }
  // Gives a window just made, before it is first shown, the mode Windows asks for.
  void Start(HWND window) {
    if (Follow()) Dress(window);
  }
  // The window's colour messages: its ground, its controls' colours, and a change of mode,
  // which it follows at once. True when `msg` was answered, with `result`; a change of mode is
  // left to the default handling too.
  bool Answer(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // Takes the mode Windows asks for now; true when it differs from the one the window has.
  bool Follow();
  // Gives `window` (a top-level window) and its children the current mode and redraws them.
  void Dress(HWND window) const;

  // The window's ground, for WM_ERASEBKGND; false in light mode, where the class brush does.
  bool Erase(HDC dc) const;
  // The brush and colours of a label, check box, list or button on the ground, for the
  // WM_CTLCOLOR messages; 0 in light mode, where the system's are used.
  LRESULT ColourControl(HDC dc) const;

 private:
  bool dark_ = false;
  win::Brush ground_;
};

}  // namespace vorn::ui
