// Keeping a window within reach on the monitors there are now.
#pragma once

#include <windows.h>

namespace vorn::win {

// `rect` (screen pixels) as it is when any part of it lies on a monitor; moved, without
// resizing, into the work area of the nearest monitor when it lies wholly off all of them.
RECT Reachable(const RECT& rect);

}  // namespace vorn::win
