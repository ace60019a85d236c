// Cutting a long UTF-16 text into pieces that a rich-edit control takes one after another and
// ends up holding exactly what it holds after taking the whole text at once.
#pragma once

#include <cstddef>
#include <string_view>

namespace vorn {

// The control reads a line break from "\r\n" and a soft break from "\r\r\n" only when all of it
// arrives together, so no cut may fall inside either; nor between the halves of a surrogate pair.
template <class Char>
bool SafeToCutAt(std::basic_string_view<Char> text, std::size_t cut) {
  if (cut == 0 || cut >= text.size()) return true;
  Char before = text[cut - 1];
  if (before >= 0xD800 && before <= 0xDBFF) return false;
  if (before != Char('\r')) return true;
  bool lineFeedNext = text[cut] == Char('\n');
  bool crLfNext = text[cut] == Char('\r') && cut + 1 < text.size() && text[cut + 1] == Char('\n');
  return !lineFeedNext && !crLfNext;
}

// The end of the piece that starts at `start`. A piece holds at most `limit` units and at most
// `maxBreaks` CRs and LFs (the control's time for one piece grows faster than its number of
// lines), cut back to the nearest safe place; only where there is none does it run further.
template <class Char>
std::size_t NextPieceEnd(std::basic_string_view<Char> text, std::size_t start, std::size_t limit,
                         std::size_t maxBreaks) {
  if (start >= text.size()) return text.size();
  std::size_t stop = limit < text.size() - start ? start + limit : text.size();
  std::size_t end = start, breaks = 0;
  while (end < stop) {
    Char c = text[end++];
    if ((c == Char('\r') || c == Char('\n')) && ++breaks >= maxBreaks) break;
  }
  if (end >= text.size()) return text.size();
  for (std::size_t cut = end; cut > start; --cut) {
    if (SafeToCutAt(text, cut)) return cut;
  }
  while (!SafeToCutAt(text, end)) ++end;
  return end;
}

// The start of the piece that ends at `end`, for taking text out of the control from its end:
// the same limits, counted backwards.
template <class Char>
std::size_t PreviousPieceStart(std::basic_string_view<Char> text, std::size_t end,
                               std::size_t limit, std::size_t maxBreaks) {
  if (end > text.size()) end = text.size();
  std::size_t stop = end > limit ? end - limit : 0;
  std::size_t start = end, breaks = 0;
  while (start > stop) {
    Char c = text[--start];
    if ((c == Char('\r') || c == Char('\n')) && ++breaks >= maxBreaks) break;
  }
  if (start == 0) return 0;
  for (std::size_t cut = start; cut < end; ++cut) {
    if (SafeToCutAt(text, cut)) return cut;
  }
  while (start > 0 && !SafeToCutAt(text, start)) --start;
  return start;
}

}  // namespace vorn
