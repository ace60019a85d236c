// Why the notes window is asked to close, and whether that ends the program.
#pragma once

namespace vorn {

enum class CloseReason {
  CloseBox,      // the close box, the system menu or Alt+F4: the user only wants it gone
  EndButton,     // "&End"
  SessionEnd,    // log-off or shut-down; the process may be ended right after
  OtherProgram,  // a close request from another program, as the Task Manager's End task sends
};

constexpr bool EndsProgram(CloseReason reason) { return reason != CloseReason::CloseBox; }

}  // namespace vorn
