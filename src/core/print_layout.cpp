#include "core/print_layout.h"

namespace vorn {

namespace {

// Byte offsets where characters begin, and the end.
std::vector<std::size_t> CharacterStarts(std::string_view s) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  starts.push_back(s.size());
  return starts;
}

void Wrap(std::string_view line, float width, const Measure& measure,
          std::vector<std::string>& out) {
  std::size_t before = out.size();
  while (!line.empty() && measure(line) > width) {
    std::vector<std::size_t> starts = CharacterStarts(line);
    // The most characters that fit, found by halving: widths grow with the prefix.
    std::size_t lo = 1, hi = starts.size() - 1;
    while (lo < hi) {
      std::size_t mid = (lo + hi + 1) / 2;
      if (measure(line.substr(0, starts[mid])) <= width)
        lo = mid;
      else
        hi = mid - 1;
    }
    std::size_t cut = starts[lo];
    std::size_t blank = line.substr(0, cut + 1).rfind(' ');
    if (blank != std::string_view::npos && blank > 0) {
      out.emplace_back(line.substr(0, blank));
      line.remove_prefix(blank + 1);
    } else {
      out.emplace_back(line.substr(0, cut));
      line.remove_prefix(cut);
    }
  }
  if (!line.empty() || out.size() == before) out.emplace_back(line);
}

}  // namespace

std::vector<std::string> LayoutLines(std::string_view text, float width, const Measure& measure) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    Wrap(text.substr(start, i - start), width, measure, lines);
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

}  // namespace vorn
