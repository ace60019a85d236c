// The text of a stored pad. Pads are written as UTF-8 without a byte order mark. Reading keeps
// every character it can: it takes UTF-8 with or without a mark, UTF-16 with a mark or
// recognised without one, and, for files of earlier builds that are not UTF-8, the system's
// code page. A NUL does not cut the text short: it shows as U+FFFD, as does each byte of a
// UTF-8 text that is not UTF-8.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vorn {

// Turns bytes in the system's code page into UTF-8 (always well-formed).
using LegacyDecoder = std::function<std::string(std::string_view bytes)>;

std::string_view EncodePadFile(std::string_view utf8Text);
std::string DecodePadFile(std::string_view bytes, const LegacyDecoder& legacy);

// The text of a registry value from its data (UTF-16, little-endian): the trailing NULs go;
// between the strings of a multi-string value a NUL is a line break, in any other value U+FFFD.
std::string DecodeValue(std::string_view utf16le, bool multiString);

}  // namespace vorn
