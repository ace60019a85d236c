#include "core/pad_text.h"

#include <cstdint>

#include "core/utf.h"

namespace vorn {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// UTF-16 without its byte order mark; an unpaired surrogate becomes U+FFFD rather than being
// lost silently, a NUL becomes `nul`, and an odd last byte is dropped.
std::string FromUtf16(std::string_view bytes, bool bigEndian, std::string_view nul = kReplacement) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](std::size_t i) {
    auto b0 = static_cast<unsigned char>(bytes[i]), b1 = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<std::uint32_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0));
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      std::uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (u == 0)
      out += nul;
    else
      AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
  }
  return out;
}

// Text written as UTF-16 without a mark: an even number of bytes, and in most pairs one byte is
// zero (the high byte of a Latin character), on the same side throughout. Binary data has few
// zeros, and on both sides.
bool LooksLikeUtf16(std::string_view bytes, bool bigEndian) {
  if (bytes.size() < 4 || bytes.size() % 2 != 0) return false;
  std::size_t pairs = 0, zeroHigh = 0, zeroLow = 0;
  for (std::size_t i = 0; i + 1 < bytes.size() && pairs < 4096; i += 2, ++pairs) {
    bool first = bytes[i] == 0, second = bytes[i + 1] == 0;
    bool high = bigEndian ? first : second, low = bigEndian ? second : first;
    if (high && !low) ++zeroHigh;
    if (low && !high) ++zeroLow;
  }
  return pairs > 0 && zeroHigh * 5 >= pairs * 2 && zeroLow * 10 <= zeroHigh;
}

// Bytes that are UTF-8 but for a few stray bytes: each stray byte becomes U+FFFD. Bytes with no
// multi-byte character at all came from an earlier build's code page.
std::string Utf8OrLegacy(std::string_view bytes, const LegacyDecoder& legacy) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::size_t characters = 0, stray = 0;
  std::uint32_t cp;
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t n = Utf8SequenceAt(bytes, i, cp);
    if (n == 0) ++stray;
    if (n > 1) ++characters;
    i += n ? n : 1;
  }
  if (characters <= stray) return legacy(bytes);
  std::string out;
  out.reserve(bytes.size() + 2 * stray);
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t n = Utf8SequenceAt(bytes, i, cp);
    if (n == 0) {
      out += kReplacement;
      ++i;
    } else {
      out.append(bytes.substr(i, n));
      i += n;
    }
  }
  return out;
}

// A NUL in a text would end it for the controls and the system calls: it shows as U+FFFD.
std::string VisibleNuls(std::string text) {
  if (text.find('\0') == std::string::npos) return text;
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\0')
      out += kReplacement;
    else
      out += c;
  }
  return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string_view EncodePadFile(std::string_view utf8Text) { return utf8Text; }

std::string DecodePadFile(std::string_view bytes, const LegacyDecoder& legacy) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return VisibleNuls(Utf8OrLegacy(bytes.substr(3), legacy));
  if (StartsWith(bytes, "\xFF\xFE")) return FromUtf16(bytes.substr(2), false);
  if (StartsWith(bytes, "\xFE\xFF")) return FromUtf16(bytes.substr(2), true);
  if (LooksLikeUtf16(bytes, false)) return FromUtf16(bytes, false);
  if (LooksLikeUtf16(bytes, true)) return FromUtf16(bytes, true);
  return VisibleNuls(Utf8OrLegacy(bytes, legacy));
}

std::string DecodeValue(std::string_view utf16le, bool multiString) {
  if (utf16le.size() % 2) utf16le.remove_suffix(1);
  while (utf16le.size() >= 2 && utf16le[utf16le.size() - 1] == 0 &&
         utf16le[utf16le.size() - 2] == 0) {
    utf16le.remove_suffix(2);
  }
  return FromUtf16(utf16le, false, multiString ? "\r\n" : kReplacement);
}

}  // namespace vorn
