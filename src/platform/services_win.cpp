#include "platform/services_win.h"

#include <shellapi.h>

#include <algorithm>
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
  // One value of the registry's standard format holds about 1 MB; refuse rather than let a
  // long pad be cut short or lost.
  if ((text.size() + 1) * sizeof(wchar_t) > kMaxValueBytes) {
    throw PlatformError(ErrorText(ERROR_FILE_TOO_LARGE));
  }
  rc = RegSetValueExW(k.Get(), Widen(key).c_str(), 0, REG_SZ,
                      reinterpret_cast<const BYTE*>(text.c_str()),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (rc != ERROR_SUCCESS) throw PlatformError(ErrorText(static_cast<DWORD>(rc)));
}

std::string PadSlots::ReadSlot(std::int16_t index, bool settingsStore) {
  if (settingsStore) return settings_.Read("Vorn Notes", "Data", std::to_string(index), "");
  return LoadPadFile(files_, PadFilePath(location_(), index), FromSystemCodePage);
}

void PadSlots::WriteSlot(std::int16_t index, bool settingsStore, std::string_view text) {
  if (settingsStore) {
    settings_.Write("Vorn Notes", "Data", std::to_string(index), text);
  } else {
    SavePadFile(files_, PadFilePath(location_(), index), text);
  }
}

std::string FromSystemCodePage(std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return Narrow(wide);
}

namespace {

[[noreturn]] void ThrowLastError() { throw PlatformError(ErrorText(GetLastError())); }

// Another program (a virus scanner, a backup tool) may hold the file for a moment.
bool Transient(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

template <class F>
void Retry(F&& attempt) {
  for (int tries = 0;; ++tries) {
    if (attempt()) return;
    DWORD error = GetLastError();
    if (!Transient(error) || tries == 10) throw PlatformError(ErrorText(error));
    Sleep(20);
  }
}

}  // namespace

std::optional<std::string> WinFileSystem::Read(const std::string& path) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw PlatformError(ErrorText(error));
  }
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31)) {
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  char chunk[65536];
  DWORD got = 0;
  BOOL ok;
  while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0) bytes.append(chunk, got);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok) throw PlatformError(ErrorText(error));
  return bytes;
}

void WinFileSystem::WriteNew(const std::string& path, std::string_view bytes) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) ThrowLastError();
  std::size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    DWORD put = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    ok = WriteFile(file, bytes.data() + done, chunk, &put, nullptr) && put > 0;
    done += put;
  }
  ok = ok && FlushFileBuffers(file);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok) throw PlatformError(ErrorText(error));
}

void WinFileSystem::Rename(const std::string& from, const std::string& to) {
  std::wstring f = Widen(from), t = Widen(to);
  Retry([&] { return MoveFileExW(f.c_str(), t.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH); });
}

void WinFileSystem::Replace(const std::string& replacement, const std::string& target) {
  std::wstring r = Widen(replacement), t = Widen(target);
  Retry([&] {
    if (GetFileAttributesW(t.c_str()) != INVALID_FILE_ATTRIBUTES &&
        ReplaceFileW(t.c_str(), r.c_str(), nullptr,
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                     nullptr)) {
      return true;
    }
    // No old file, or a file system without ReplaceFile: a rename over it is one step too.
    return MoveFileExW(r.c_str(), t.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  });
}

bool WinFileSystem::Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WinFileSystem::Remove(const std::string& path) { DeleteFileW(Widen(path).c_str()); }

void WindowMessageBox::Show(std::string_view text, std::string_view title) {
  MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_OK);
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
