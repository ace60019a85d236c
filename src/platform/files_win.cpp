#include "platform/files_win.h"

#include <windows.h>

#include <algorithm>

#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace vorn::win {

namespace {

[[noreturn]] void ThrowError(DWORD error) { throw PlatformError(ErrorText(error)); }

File Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = CreateFileW(Widen(path).c_str(), access, share, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return File(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// Another program (a virus scanner, a backup tool) may hold a file for a moment.
bool Transient(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED;
}

}  // namespace

std::optional<std::string> WinFileSystem::Read(const std::string& path) {
  File file = Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                   OPEN_EXISTING);
  if (!file) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    ThrowError(error);
  }
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31)) {
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) {
    if (got == 0) return bytes;
    bytes.append(chunk, got);
  }
  ThrowError(GetLastError());
}

void WinFileSystem::WriteNew(const std::string& path, std::string_view bytes) {
  File file = Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (!file) ThrowError(GetLastError());
  for (std::size_t done = 0; done < bytes.size();) {
    DWORD put = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!WriteFile(file.Get(), bytes.data() + done, chunk, &put, nullptr) || put == 0) {
      ThrowError(GetLastError());
    }
    done += put;
  }
  if (!FlushFileBuffers(file.Get())) ThrowError(GetLastError());
}

void WinFileSystem::Rename(const std::string& from, const std::string& to) {
  // A rename over the old file is one step on NTFS and under Wine. ReplaceFileW is not used:
  // it may go through a temporary file of its own, which a crash would leave behind.
  std::wstring f = Widen(from), t = Widen(to);
  for (int tries = 0;; ++tries) {
    if (MoveFileExW(f.c_str(), t.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return;
    }
    DWORD error = GetLastError();
    if (!Transient(error) || tries == 10) ThrowError(error);
    Sleep(20);
  }
}

bool WinFileSystem::Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WinFileSystem::Remove(const std::string& path) { DeleteFileW(Widen(path).c_str()); }

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
