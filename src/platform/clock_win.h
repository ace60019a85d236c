// The system's clock.
#pragma once

#include "core/clock.h"

namespace vorn::win {

class SystemClock : public Clock {
 public:
  std::int64_t NowUtcMillis() override;
};

}  // namespace vorn::win
