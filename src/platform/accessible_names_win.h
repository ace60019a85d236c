// Names for screen readers where a control's own text cannot give one: a toolbar button without
// a visible tip, a tab strip, a rich-edit pad (whose text is its content). They go to the
// system's annotation service, which the standard accessible objects consult when a screen
// reader asks. The service is reached when the first name is given, not at the start.
#pragma once

#include <windows.h>

struct IAccPropServices;

namespace vorn::win {

class AccessibleNames {
 public:
  AccessibleNames() = default;
  AccessibleNames(const AccessibleNames&) = delete;
  AccessibleNames& operator=(const AccessibleNames&) = delete;
  ~AccessibleNames();

  // Names `control`, or with `item` > 0 its item of that number (a toolbar's button, counted
  // from 1). False where the system has no annotation service; the control keeps the name
  // the standard object gives it.
  bool Name(HWND control, const wchar_t* name, long item = 0);

 private:
  IAccPropServices* services_ = nullptr;
  bool tried_ = false;
  bool comStarted_ = false;
};

// Tells screen readers that `window` has appeared as an alert, to be read out though it does
// not take the keyboard.
void AnnounceAlert(HWND window);

}  // namespace vorn::win
