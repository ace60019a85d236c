// A pad's text as its registry value holds it: UTF-16 with each line break CR LF, where the pad's
// control keeps CR alone. A key changes a few characters of a long text, so the value last
// written is kept and the key's edit made to it, its place found from the last edit's; another
// pad's text, or one that came some other way, is converted whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/pad_mirror.h"

namespace vorn {

class ValueText {
 public:
  // The value of `shown`, pad `pad`'s text: made from the value kept where that was the text
  // before `edit`, else converted whole.
  const std::u16string& Of(int pad, std::u16string_view shown, const std::optional<PadEdit>& edit);
  // The value kept is no longer the one its pad's store holds (its write failed, or another
  // text replaced it).
  void Forget() { pad_ = 0; }

 private:
  bool Follow(std::u16string_view shown, const PadEdit& edit);
  // Where the text's `units`-th unit lies in the value, walked from the last edit's end.
  std::size_t IndexOf(std::size_t units);

  std::u16string value_;  // in memory each write uses again
  int pad_ = 0;           // whose text the value is; 0 for none
  std::size_t breaks_ = 0;
  std::size_t placeUnits_ = 0, placeIndex_ = 0;
};

}  // namespace vorn
