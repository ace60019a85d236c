// A failure that the system reported (a refused registry write, a locked file, a missing
// printer), carrying the system's own description for the user.
#pragma once

#include <stdexcept>

namespace vorn {

struct PlatformError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace vorn
