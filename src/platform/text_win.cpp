#include "platform/text_win.h"

#include "core/utf.h"

namespace vorn::win {

std::wstring ToUtf16(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return {};
  int size = static_cast<int>(bytes.size());
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), n);
  return out;
}

std::string FromUtf16(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Widen(std::string_view utf8) { return Utf16FromUtf8<wchar_t>(utf8); }

std::string Narrow(std::wstring_view utf16) { return Utf8FromUtf16(utf16); }

std::string FromSystemCodePage(std::string_view bytes) { return Narrow(ToUtf16(bytes, CP_ACP)); }

std::string ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text =
      n && buffer ? std::wstring(buffer, n) : Widen("Error " + std::to_string(code));
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  return Narrow(text);
}

}  // namespace vorn::win
