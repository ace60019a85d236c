// Two computers' edits of one text, brought together by lines. A line is compared with its line
// break, so the text's own breaks (CR LF as pads store them) come through as they were.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// True when `whole` already holds what `part` holds, and perhaps more: every line of `part` is
// in `whole` in the same order (line breaks do not count here: a last line without one is the
// same line with one), or `whole` is `part` with text put in at one place, as typing adds it
// within a line.
bool HoldsLinesOf(std::string_view whole, std::string_view part);

// How many lines turn `a` into `b` (each removed and each added line counts); nothing where
// the two differ too much to be compared by lines.
std::optional<std::size_t> LinesChanged(std::string_view a, std::string_view b);

// The three-way merge of `ours` and `theirs`, both edited from `base`: every line either side
// changed, where the two changed different lines, or the same lines where one side's hold the
// other's (typed on in a line the other took in from it: the fuller stays), or where both only
// put text into those lines (both stay, in the order of their text). Nothing where both
// changed the same lines otherwise, or where the texts differ too much to be merged by lines.
std::optional<std::string> MergeLines(std::string_view base, std::string_view ours,
                                      std::string_view theirs);

}  // namespace vorn
