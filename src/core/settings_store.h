// The per-user settings store: text values by section and key. The program keeps the window and
// its options in the section "Setting" and, by default, the pads in the section "Data".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/platform_error.h"

namespace vorn {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text; nothing when the value does not exist or holds no text.
  virtual std::optional<std::string> Read(std::string_view section, std::string_view key) = 0;
  // Creates what is missing and replaces the value; throws PlatformError when it is refused.
  virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace vorn
