// What the message loop knows about the message being handled.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vorn::win {

// Set by the message loop while it dispatches a WM_CLOSE that was posted to the queue.
extern bool gDispatchingPostedClose;

// The unload reason of a WM_CLOSE. The close box and the system menu send WM_CLOSE from this
// thread (reason 0, the user's); one posted to the queue or sent from another thread comes
// from another program, as the Task Manager's End task does (reason 3).
inline std::int16_t CloseReason() {
  return (gDispatchingPostedClose || InSendMessage()) ? 3 : 0;
}

}  // namespace vorn::win
