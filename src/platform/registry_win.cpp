#include "platform/registry_win.h"

#include <vector>

#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace vorn::win {

namespace {

std::wstring SectionKey(std::string_view section) {
  return L"Software\\VB and VBA Program Settings\\Vorn Notes\\" + Widen(section);
}

}  // namespace

std::optional<std::string> RegistrySettings::Read(std::string_view section, std::string_view key) {
  std::wstring subkey = SectionKey(section), name = Widen(key);
  const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD bytes = 0;
    LSTATUS rc = RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), flags, nullptr,
                              nullptr, &bytes);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2);
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    rc = RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), flags, nullptr,
                      buffer.data(), &bytes);
    if (rc == ERROR_MORE_DATA) continue;  // it grew between the two calls
    if (rc != ERROR_SUCCESS) return std::nullopt;
    return Narrow(std::wstring_view(buffer.data()));
  }
  return std::nullopt;
}

void RegistrySettings::Write(std::string_view section, std::string_view key,
                             std::string_view value) {
  std::wstring text = Widen(value);
  DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  // Refuse rather than let a long pad be cut short or lost.
  if (bytes > kMaxValueBytes) throw PlatformError(ErrorText(ERROR_FILE_TOO_LARGE));
  HKEY raw = nullptr;
  LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr, 0,
                               KEY_SET_VALUE, nullptr, &raw, nullptr);
  if (rc != ERROR_SUCCESS) throw PlatformError(ErrorText(static_cast<DWORD>(rc)));
  Key owned(raw);
  rc = RegSetValueExW(owned.Get(), Widen(key).c_str(), 0, REG_SZ,
                      reinterpret_cast<const BYTE*>(text.c_str()), bytes);
  if (rc != ERROR_SUCCESS) throw PlatformError(ErrorText(static_cast<DWORD>(rc)));
}

}  // namespace vorn::win
