// Rectangles in pixels, and keeping a window within reach of the user.
#pragma once

namespace vorn {

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// `window` moved, without resizing, so that it lies inside `workArea` as far as its size
// allows (its top-left corner wins when it is larger). Used only for a window that lies wholly
// off every monitor; a partly visible one is left where it is.
PixelRect MoveInto(const PixelRect& window, const PixelRect& workArea);

}  // namespace vorn
