// UTF-8 and UTF-16 in both directions, in one pass each: a pad's whole text is converted at
// every change, so this runs on each keystroke. Ill-formed input becomes U+FFFD, as the
// system's own converter makes it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

// `Unit` is char16_t, or wchar_t where that is a UTF-16 unit (on Windows).
template <class Unit = char16_t>
std::basic_string<Unit> Utf16FromUtf8(std::string_view utf8);

// `crAsCrLf`: the text is as a rich-edit control keeps it, a line break as CR alone; each CR
// becomes CR LF, as the control gives its text out.
template <class Unit>
std::string Utf8FromUtf16(std::basic_string_view<Unit> utf16, bool crAsCrLf = false);
inline std::string Utf8FromUtf16(std::u16string_view utf16, bool crAsCrLf = false) {
  return Utf8FromUtf16<char16_t>(utf16, crAsCrLf);
}

void AppendUtf8(std::string& out, std::uint32_t codePoint);

}  // namespace vorn
