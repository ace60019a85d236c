#include "core/find_text.h"

#include <algorithm>
#include <vector>

#include "core/utf.h"

namespace vorn {

namespace {

// Small letters for capitals of the Latin, Greek and Cyrillic alphabets: "Match case" off.
char16_t FoldOne(char16_t c) {
  if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F)) {
    return static_cast<char16_t>(c + 32);
  }
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
      c != 0x17F) {
    // Latin Extended-A pairs its capitals and small letters, capital first; past U+0138 the
    // pairs start one place later.
    bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    bool capital = shifted ? (c % 2 == 1) : (c % 2 == 0);
    return capital ? static_cast<char16_t>(c + 1) : c;
  }
  return c;
}

// The same from a table: a search through ten pads of a megabyte folds ten million characters.
const std::vector<char16_t>& FoldTable() {
  static const std::vector<char16_t> table = [] {
    std::vector<char16_t> t(0x10000);
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = FoldOne(static_cast<char16_t>(i));
    return t;
  }();
  return table;
}

}  // namespace

std::optional<std::size_t> FindInText(std::u16string_view text, std::size_t from,
                                      const FindRequest& request) {
  std::u16string_view what = request.what;
  if (what.empty() || what.size() > text.size()) return std::nullopt;
  from = std::min(from, text.size());
  const char16_t* fold = FoldTable().data();
  auto same = [&](char16_t a, char16_t b) {
    return request.matchCase ? a == b : fold[a] == fold[b];
  };
  if (request.forward) {
    auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                          what.begin(), what.end(), same);
    if (at == text.end()) return std::nullopt;
    return static_cast<std::size_t>(at - text.begin());
  }
  // The last match that ends at or before `from`.
  std::u16string_view before = text.substr(0, from);
  auto at = std::find_end(before.begin(), before.end(), what.begin(), what.end(), same);
  if (at == before.end()) return std::nullopt;
  return static_cast<std::size_t>(at - before.begin());
}

std::optional<FoundText> FindInPads(const std::function<std::u16string(int pad)>& padText,
                                    int padCount, int fromPad, std::size_t from,
                                    const FindRequest& request) {
  const int step = request.forward ? 1 : -1;
  for (int i = 0; i <= padCount; ++i) {
    int pad = ((fromPad - 1 + step * i) % padCount + padCount) % padCount + 1;
    std::u16string text = padText(pad);
    std::size_t start = request.forward ? 0 : text.size();
    if (i == 0) start = from;
    // Round again in the first pad: what its first part did not cover is all that can match.
    std::optional<std::size_t> at = FindInText(text, start, request);
    if (at) return FoundText{pad, *at, *at + request.what.size()};
  }
  return std::nullopt;
}

}  // namespace vorn
