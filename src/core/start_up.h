// Whether Windows starts the program when its user logs on. The system keeps the choice; the
// program keeps no copy of it.
#pragma once

#include "core/platform_error.h"

namespace vorn {

class StartUp {
 public:
  virtual ~StartUp() = default;
  // True when the system starts this very program (a choice left by a copy elsewhere counts as
  // none).
  virtual bool WithWindows() = 0;
  // Throws PlatformError when the system refuses.
  virtual void SetWithWindows(bool on) = 0;
};

}  // namespace vorn
