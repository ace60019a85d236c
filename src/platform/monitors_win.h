// Keeping a window within reach on the monitors there are now.
#pragma once

#include <windows.h>

namespace vorn::win {

// `rect` (screen pixels) as it is while the middle third of its title bar (`titleHeight`
// pixels from its top) lies on the monitors' work areas; else moved, without resizing, into
// the work area of the nearest monitor.
RECT Reachable(const RECT& rect, int titleHeight);

}  // namespace vorn::win
