// The clipboard's plain text.
#pragma once

#include <string>
#include <string_view>

#include "core/platform_error.h"

namespace vorn {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Both throw PlatformError when another program holds the clipboard.
  virtual void SetText(std::string_view text) = 0;
  // "" when the clipboard holds no text.
  virtual std::string Text() = 0;
};

}  // namespace vorn
