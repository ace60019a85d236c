// Breaking text into printed lines.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The width of a piece of UTF-8 text as it would print, in twips.
using Measure = std::function<float(std::string_view)>;

// The lines that `text` prints as: a new line at each line break (CR LF, CR or LF), and where
// a line is wider than `width`, a break after the last blank that fits or, in a word too long
// for the line, after the last character that fits. Every line holds at least one character,
// so the text always comes to an end, and no character is dropped but the blank at a wrap.
std::vector<std::string> LayoutLines(std::string_view text, float width, const Measure& measure);

}  // namespace vorn
