#include "platform/monitors_win.h"

#include <vector>

#include "core/screen_rect.h"

namespace vorn::win {

namespace {

PixelRect Pixels(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
  MONITORINFO info{sizeof info};
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<PixelRect>*>(areas)->push_back(Pixels(info.rcWork));
  }
  return TRUE;
}

}  // namespace

RECT Reachable(const RECT& rect, int titleHeight) {
  std::vector<PixelRect> workAreas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&workAreas));
  if (workAreas.empty() || WithinReach(Pixels(rect), titleHeight, workAreas)) return rect;
  MONITORINFO info{sizeof info};
  GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info);
  PixelRect moved = MoveInto(Pixels(rect), Pixels(info.rcWork));
  return {moved.left, moved.top, moved.right, moved.bottom};
}

}  // namespace vorn::win
