// Text between the program's UTF-8 and the system's UTF-16 and code pages, and the system's
// descriptions of its errors.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vorn::win {

// Bytes in `codePage` to UTF-16 and back, by the system's converter.
std::wstring ToUtf16(std::string_view bytes, UINT codePage);
std::string FromUtf16(std::wstring_view text, UINT codePage);

// UTF-8 and UTF-16 by the program's own converter: several times faster than the system's
// under Wine, and a pad's whole text passes through it at every change.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Bytes in the system's code page as UTF-8: pad files of earlier builds.
std::string FromSystemCodePage(std::string_view bytes);

// The system's own description of an error code, without the trailing line break.
std::string ErrorText(DWORD code);

}  // namespace vorn::win
