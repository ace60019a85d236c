// The bytes of a pad file. Pads are written as UTF-8 without a byte order mark; reading also
// takes UTF-8 with a mark, UTF-16 with a mark, and, for files of earlier builds that are not
// valid UTF-8, the system's code page.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vorn {

// Turns bytes in the system's code page into UTF-8 (always well-formed).
using LegacyDecoder = std::function<std::string(std::string_view bytes)>;

std::string EncodePadFile(std::string_view utf8Text);
std::string DecodePadFile(std::string_view bytes, const LegacyDecoder& legacy);

bool IsValidUtf8(std::string_view bytes);

// The length of UTF-8 text in UTF-16 code units, as the text controls count characters.
std::size_t Utf16Length(std::string_view utf8);

}  // namespace vorn
