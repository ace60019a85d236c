// Finding text across the pads. Positions are those of the pads' controls: UTF-16 units, a line
// break as one CR. A search goes from where it starts to the end of that pad (or, backwards, to
// its start), then through the following pads in order (or the ones before), and round to the
// start again, ending where it began.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

struct FindRequest {
  std::u16string what;
  bool matchCase = false;
  bool forward = true;
};

struct FoundText {
  int pad = 0;
  std::size_t start = 0, end = 0;
};

// `padText(n)` is pad n's text (n from 1 to `padCount`); the search starts in pad `fromPad` at
// `from`: after a match there going forwards, before one going backwards.
std::optional<FoundText> FindInPads(const std::function<std::u16string(int pad)>& padText,
                                    int padCount, int fromPad, std::size_t from,
                                    const FindRequest& request);

// The first match in `text` at or after `from` (forwards), or the last one ending at or before
// it (backwards).
std::optional<std::size_t> FindInText(std::u16string_view text, std::size_t from,
                                      const FindRequest& request);

}  // namespace vorn
