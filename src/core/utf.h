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

// The same into `out`, whose memory is used again: a pad converted at each keystroke costs
// no fresh pages.
void Utf8FromUtf16Into(std::string& out, std::u16string_view utf16, bool crAsCrLf);

// A place in text as the program keeps it (UTF-8, a line break CR LF): `units` as a text
// control counts them (UTF-16 units, a line break one), `bytes` into the UTF-8.
struct TextPlace {
  std::size_t units = 0;
  std::size_t bytes = 0;
};

// The place `units` into `text`, counted from `from`, a place in the same text: a place near
// the last one found costs only the distance between them. Past the end, the end.
TextPlace PlaceOfUnits(std::string_view text, std::size_t units, TextPlace from = {});

// The text as a rich-edit control keeps it: each line break (CR LF, LF or CR) one CR.
template <class Unit = char16_t>
std::basic_string<Unit> ControlForm(std::string_view utf8);

void AppendUtf8(std::string& out, std::uint32_t codePoint);

// The length of the well-formed UTF-8 sequence at `i` and the code point it carries; 0 when
// there is none there (a stray byte, an overlong form, a surrogate, a value past U+10FFFF).
std::size_t Utf8SequenceAt(std::string_view utf8, std::size_t i, std::uint32_t& codePoint);
bool IsValidUtf8(std::string_view bytes);

// The length of UTF-8 text in UTF-16 code units, as the text controls count characters.
std::size_t Utf16Length(std::string_view utf8);

}  // namespace vorn
