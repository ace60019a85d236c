// The keyboard layouts installed for the user, asked what they type with AltGr.
#pragma once

#include "core/hot_key.h"

namespace vorn::win {

class InstalledLayouts : public KeyboardLayouts {
 public:
  std::vector<std::string> TypedWithAltGr(unsigned key, bool shift) override;
};

}  // namespace vorn::win
