#include "core/screen_rect.h"

#include <algorithm>

namespace vorn {

bool WithinReach(const PixelRect& window, int titleHeight,
                 const std::vector<PixelRect>& workAreas) {
  const PixelRect grip{window.left + window.Width() / 3, window.top,
                       window.left + 2 * window.Width() / 3, window.top + titleHeight};
  // Work areas do not overlap: the grip is covered when their parts of it add up to all of it.
  long long covered = 0;
  for (const PixelRect& area : workAreas) {
    long long w = std::min(grip.right, area.right) - std::max(grip.left, area.left);
    long long h = std::min(grip.bottom, area.bottom) - std::max(grip.top, area.top);
    if (w > 0 && h > 0) covered += w * h;
  }
  return covered > 0 && covered >= static_cast<long long>(grip.Width()) * grip.Height();
}

PixelRect MoveInto(const PixelRect& window, const PixelRect& workArea) {
  int left = std::max(workArea.left, std::min(window.left, workArea.right - window.Width()));
  int top = std::max(workArea.top, std::min(window.top, workArea.bottom - window.Height()));
  return {left, top, left + window.Width(), top + window.Height()};
}

}  // namespace vorn
