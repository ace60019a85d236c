#include "platform/clock_win.h"

#include <windows.h>

namespace vorn::win {

std::int64_t SystemClock::NowUtcMillis() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  // 100-nanosecond intervals since 1601, to milliseconds since 1970.
  std::int64_t ticks = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return (ticks - 116444736000000000LL) / 10000;
}

}  // namespace vorn::win
