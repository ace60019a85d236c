#include "platform/services_win.h"

#include <shellapi.h>

#include <cstddef>
#include <vector>

#include "platform/win.h"

namespace vorn::win {

static_assert(sizeof(TrayRecord) == NOTIFYICONDATAA_V1_SIZE,
              "the icon record is the first NOTIFYICONDATAA layout");
static_assert(offsetof(TrayRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(offsetof(TrayRecord, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(TrayRecord, uCallbackMessage) == offsetof(NOTIFYICONDATAA, uCallbackMessage));

namespace {

std::wstring SectionKey(std::string_view app, std::string_view section) {
  return L"Software\\VB and VBA Program Settings\\" + Widen(app) + L"\\" + Widen(section);
}

}  // namespace

std::string RegistrySettings::Read(std::string_view app, std::string_view section,
                                   std::string_view key, std::string_view fallback) {
  std::wstring subkey = SectionKey(app, section);
  std::wstring name = Widen(key);
  const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD bytes = 0;
    LSTATUS rc = RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), flags, nullptr,
                              nullptr, &bytes);
    if (rc != ERROR_SUCCESS) return std::string(fallback);
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2);
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    rc = RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), flags, nullptr,
                      buffer.data(), &bytes);
    if (rc == ERROR_MORE_DATA) continue;  // it grew between the two calls
    if (rc != ERROR_SUCCESS) return std::string(fallback);
    return Narrow(std::wstring_view(buffer.data()));
  }
  return std::string(fallback);
}

void RegistrySettings::Write(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) {
  HKEY raw = nullptr;
  LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, SectionKey(app, section).c_str(), 0, nullptr, 0,
                               KEY_SET_VALUE, nullptr, &raw, nullptr);
  if (rc != ERROR_SUCCESS) throw PlatformError(ErrorText(static_cast<DWORD>(rc)));
  Key k(raw);
  std::wstring text = Widen(value);
  rc = RegSetValueExW(k.Get(), Widen(key).c_str(), 0, REG_SZ,
                      reinterpret_cast<const BYTE*>(text.c_str()),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (rc != ERROR_SUCCESS) throw PlatformError(ErrorText(static_cast<DWORD>(rc)));
}

std::wstring PadSlots::FilePath(std::int16_t index) const {
  return Widen(location_() + "~tmp" + std::to_string(index) + ".tmp");
}

std::string PadSlots::ReadSlot(std::int16_t index, bool settingsStore) {
  if (settingsStore) return settings_.Read("Vorn Notes", "Data", std::to_string(index), "");
  HANDLE file = CreateFileW(FilePath(index).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw PlatformError(ErrorText(GetLastError()));
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

void PadSlots::WriteSlot(std::int16_t index, bool settingsStore, std::string_view text) {
  if (settingsStore) {
    settings_.Write("Vorn Notes", "Data", std::to_string(index), text);
    return;
  }
  HANDLE file = CreateFileW(FilePath(index).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw PlatformError(ErrorText(GetLastError()));
  DWORD put = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok) throw PlatformError(ErrorText(error));
}

void WindowZOrder::SetWindowPos(std::intptr_t window, std::intptr_t insertAfter, std::int32_t x,
                                std::int32_t y, std::int32_t cx, std::int32_t cy,
                                std::uint32_t flags) {
  ::SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insertAfter), x, y, cx, cy,
                 flags);
}

void ShellNotifyArea::Notify(std::uint32_t message, const TrayRecord& record) {
  // The record is the leading part of NOTIFYICONDATAA; cbSize tells the shell where it ends.
  Shell_NotifyIconA(message, reinterpret_cast<NOTIFYICONDATAA*>(const_cast<TrayRecord*>(&record)));
}

void ExitingProcess::End() { ExitProcess(0); }

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::size_t slash = path.find_last_of(L'\\');
  std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return Narrow(folder);
}

}  // namespace vorn::win
