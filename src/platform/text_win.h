// Text between the program's UTF-8 and the system's UTF-16 and code pages, and the system's
// descriptions of its errors.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vorn::win {

// The one converter: bytes in `codePage` to UTF-16 and back.
std::wstring ToUtf16(std::string_view bytes, UINT codePage);
std::string FromUtf16(std::wstring_view text, UINT codePage);

inline std::wstring Widen(std::string_view utf8) { return ToUtf16(utf8, CP_UTF8); }
inline std::string Narrow(std::wstring_view utf16) { return FromUtf16(utf16, CP_UTF8); }

// Bytes in the system's code page as UTF-8: pad files of earlier builds.
std::string FromSystemCodePage(std::string_view bytes);

// The system's own description of an error code, without the trailing line break.
std::string ErrorText(DWORD code);

}  // namespace vorn::win
