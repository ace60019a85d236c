#include "core/screen_rect.h"

#include <algorithm>

namespace vorn {

PixelRect MoveInto(const PixelRect& window, const PixelRect& workArea) {
  int left = std::max(workArea.left, std::min(window.left, workArea.right - window.Width()));
  int top = std::max(workArea.top, std::min(window.top, workArea.bottom - window.Height()));
  return {left, top, left + window.Width(), top + window.Height()};
}

}  // namespace vorn
