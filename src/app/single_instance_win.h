// One program per user session. A second start finds the program that runs already, asks it to
// show its window and take the focus, as a left click on its icon does, and ends without
// reading or writing anything: two programs writing the same pads would lose one's text.
#pragma once

#include <windows.h>

#include "platform/handles_win.h"

namespace vorn::app {

class SingleInstance {
 public:
  SingleInstance();
  // True for the program that started first.
  bool First() const { return first_; }
  // Waits a few seconds for the first program's window to be there, then asks it to show.
  static void ShowRunningProgram();

 private:
  win::File mutex_;  // a named kernel object, closed as a file handle is
  bool first_ = true;
};

}  // namespace vorn::app
