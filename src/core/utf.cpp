#include "core/utf.h"

#include <algorithm>

namespace vorn {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

template <class Unit>
bool IsLowSurrogate(Unit u) {
  return static_cast<std::uint32_t>(u) >= 0xDC00 && static_cast<std::uint32_t>(u) <= 0xDFFF;
}

}  // namespace

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++n;  // one unit per lead byte
    if ((c & 0xF8) == 0xF0) ++n;  // and a second for characters past U+FFFF
  }
  return n;
}

std::size_t Utf8SequenceAt(std::string_view s, std::size_t i, std::uint32_t& codePoint) {
  auto c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) {
    codePoint = c;
    return 1;
  }
  // The sequence's length and the smallest code point it may carry (no overlong forms).
  std::size_t length = c >= 0xC2 && c <= 0xDF   ? 2
                       : c >= 0xE0 && c <= 0xEF ? 3
                       : c >= 0xF0 && c <= 0xF4 ? 4
                                                : 0;
  if (length == 0 || i + length > s.size()) return 0;
  std::uint32_t cp = length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
  for (std::size_t k = 1; k < length; ++k) {
    auto next = static_cast<unsigned char>(s[i + k]);
    if (!IsContinuation(next)) return 0;
    cp = (cp << 6) | (next & 0x3F);
  }
  if ((length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
      (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
    return 0;
  }
  codePoint = cp;
  return length;
}

bool IsValidUtf8(std::string_view s) {
  std::uint32_t cp;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = Utf8SequenceAt(s, i, cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

template <class Unit>
std::basic_string<Unit> Utf16FromUtf8(std::string_view s) {
  // Never more units than bytes: written in place, then cut to length.
  std::basic_string<Unit> out(s.size(), Unit());
  Unit* o = out.data();
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n;) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      *o++ = static_cast<Unit>(c);
      ++i;
      continue;
    }
    std::uint32_t cp = 0;
    std::size_t length = Utf8SequenceAt(s, i, cp);
    if (length == 0) {
      *o++ = static_cast<Unit>(kReplacement);  // one for the bad byte; what follows is read afresh
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      *o++ = static_cast<Unit>(0xD800 + (cp >> 10));
      *o++ = static_cast<Unit>(0xDC00 + (cp & 0x3FF));
    } else {
      *o++ = static_cast<Unit>(cp);
    }
    i += length;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

template <class Unit>
std::basic_string<Unit> ControlForm(std::string_view utf8) {
  std::basic_string<Unit> text = Utf16FromUtf8<Unit>(utf8);
  std::size_t kept = 0;
  Unit before = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    Unit c = text[i];
    if (!(c == Unit('\n') && before == Unit('\r'))) {
      text[kept++] = c == Unit('\n') ? Unit('\r') : c;  // CR LF: one
    }
    before = c;
  }
  text.resize(kept);
  return text;
}

namespace {

template <class Unit>
void AppendUtf8From(std::string& out, std::basic_string_view<Unit> s, bool crAsCrLf) {
  // Measured first, so that the text takes its size and no more: a pad of millions of
  // characters keeps no spare megabytes.
  const std::size_t n = s.size();
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t u = static_cast<std::uint32_t>(s[i]);
    if (u < 0x80) {
      bytes += u == u'\r' && crAsCrLf ? 2 : 1;
    } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && IsLowSurrogate(s[i + 1])) {
      bytes += 4;
      ++i;
    } else {
      bytes += u < 0x800 ? 2 : 3;
    }
  }
  const std::size_t start = out.size();
  out.resize(start + bytes);
  char* o = out.data() + start;
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t u = static_cast<std::uint32_t>(s[i]);
    if (u < 0x80) {
      *o++ = static_cast<char>(u);
      if (u == u'\r' && crAsCrLf) *o++ = '\n';
      continue;
    }
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && IsLowSurrogate(s[i + 1])) {
      u = 0x10000 + ((u - 0xD800) << 10) + (static_cast<std::uint32_t>(s[i + 1]) - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = kReplacement;
    }
    if (u < 0x800) {
      *o++ = static_cast<char>(0xC0 | (u >> 6));
    } else if (u < 0x10000) {
      *o++ = static_cast<char>(0xE0 | (u >> 12));
      *o++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    } else {
      *o++ = static_cast<char>(0xF0 | (u >> 18));
      *o++ = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
      *o++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    }
    *o++ = static_cast<char>(0x80 | (u & 0x3F));
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
}

}  // namespace

template <class Unit>
std::string Utf8FromUtf16(std::basic_string_view<Unit> s, bool crAsCrLf) {
  std::string out;
  AppendUtf8From(out, s, crAsCrLf);
  return out;
}

void Utf8FromUtf16Into(std::string& out, std::u16string_view utf16, bool crAsCrLf) {
  out.clear();
  AppendUtf8From(out, utf16, crAsCrLf);
}

TextPlace PlaceOfUnits(std::string_view text, std::size_t units, TextPlace from) {
  if (from.bytes > text.size() || units < from.units / 2) from = {};  // nearer the start
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  std::size_t i = from.bytes, n = from.units;
  while (n > units && i > 0) {
    std::size_t start = i - 1;
    while (start > 0 && (byte(start) & 0xC0) == 0x80) --start;
    if (byte(start) == '\n' && start > 0 && byte(start - 1) == '\r') --start;
    n -= byte(start) >= 0xF0 ? 2 : 1;  // four bytes are a surrogate pair
    i = start;
  }
  while (n < units && i < text.size()) {
    unsigned char c = byte(i);
    std::size_t width = 1;
    if (c == '\r' && i + 1 < text.size() && byte(i + 1) == '\n') {
      width = 2;
    } else if (c >= 0xC0) {
      width = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    }
    n += c >= 0xF0 ? 2 : 1;
    i = std::min(text.size(), i + width);
  }
  return {n, i};
}

template std::u16string Utf16FromUtf8<char16_t>(std::string_view);
template std::u16string ControlForm<char16_t>(std::string_view);
template std::wstring ControlForm<wchar_t>(std::string_view);
template std::wstring Utf16FromUtf8<wchar_t>(std::string_view);
template std::string Utf8FromUtf16<char16_t>(std::u16string_view, bool);
template std::string Utf8FromUtf16<wchar_t>(std::wstring_view, bool);

}  // namespace vorn
