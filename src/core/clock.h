// The time of day, for naming versions in the history and spacing them out.
#pragma once

#include <cstdint>

namespace vorn {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since 1970-01-01 00:00 UTC.
  virtual std::int64_t NowUtcMillis() = 0;
};

}  // namespace vorn
