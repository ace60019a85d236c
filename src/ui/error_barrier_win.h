// The one barrier for errors nothing expected (memory that ran out, a control the system would
// not make): every window procedure stops them (window_base_win.h), and so does the message
// loop for what it runs outside one. Each is told to the user in a notice that does not take
// the keyboard, and the program goes on where it can; the pads are stored at every change, so
// what was typed stays.
#pragma once

#include "core/notes_view.h"

namespace vorn::ui {

// Where the errors are told; until it is set (while the windows are made) a message box
// without an owner tells them.
void TellErrorsWith(MessageDialog* dialog);

// Tells the user of the exception being handled, once for each text; never throws. Only for
// calling inside a catch block.
void TellCurrentError() noexcept;

// Runs `step`; what it throws is told and stops here, and `failed` stands for its result.
template <class Step, class Result>
Result Guarded(Step&& step, Result failed) noexcept {
  try {
    return step();
  } catch (...) {
    TellCurrentError();
    return failed;
  }
}

template <class Step>
void Guarded(Step&& step) noexcept {
  try {
    step();
  } catch (...) {
    TellCurrentError();
  }
}

}  // namespace vorn::ui
