#include "platform/monitors_win.h"

#include "core/screen_rect.h"

namespace vorn::win {

RECT Reachable(const RECT& rect) {
  if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) return rect;
  MONITORINFO info{sizeof info};
  GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info);
  const RECT& work = info.rcWork;
  PixelRect moved = MoveInto({rect.left, rect.top, rect.right, rect.bottom},
                             {work.left, work.top, work.right, work.bottom});
  return {moved.left, moved.top, moved.right, moved.bottom};
}

}  // namespace vorn::win
