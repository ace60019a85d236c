// Rectangles in pixels, and keeping a window within reach of the user.
#pragma once

#include <vector>

namespace vorn {

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// A window is within reach while the middle third of its title bar (`titleHeight` pixels from
// its top) lies on the monitors' work areas: there the user can take hold of it and move it.
bool WithinReach(const PixelRect& window, int titleHeight, const std::vector<PixelRect>& workAreas);

// `window` moved, without resizing, so that it lies inside `workArea` as far as its size
// allows (its top-left corner wins when it is larger): for a window out of reach.
PixelRect MoveInto(const PixelRect& window, const PixelRect& workArea);

}  // namespace vorn
