#include "platform/files_win.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace vorn::win {

namespace {

File Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = CreateFileW(Widen(path).c_str(), access, share, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  return File(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// A sync client or an editor holding the file lets others read it, not replace it: Windows
// then refuses the rename over it as "Access is denied.". Asked for what a save needs (to
// replace it, or to write it), the file tells which.
bool HeldByAnotherProgram(const std::string& path) {
  for (DWORD access : {DELETE, GENERIC_WRITE}) {
    File file = Open(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     OPEN_EXISTING);
    if (!file && GetLastError() == ERROR_SHARING_VIOLATION) return true;
  }
  return false;
}

// Why an operation on `path` failed, in words a user can act on; the system's own text where
// it says enough. "Access is denied." alone covers a folder in the way, a file another program
// holds and a folder that cannot be written to.
[[noreturn]] void Fail(DWORD error, const std::string& path) {
  std::string why;
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: why = "another program has the file open."; break;
    case ERROR_WRITE_PROTECT: why = "the disk is write-protected."; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: why = "the disk is full."; break;
    case ERROR_PATH_NOT_FOUND: why = "the folder " + FolderOf(path) + " does not exist."; break;
    case ERROR_ACCESS_DENIED: {
      DWORD attributes = GetFileAttributesW(Widen(path).c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        why = "a folder has that name.";
      } else if (attributes != INVALID_FILE_ATTRIBUTES && HeldByAnotherProgram(path)) {
        why = "another program has the file open.";
      } else if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        why = "the file is read-only.";
      } else {
        why = "the folder " + FolderOf(path) + " cannot be written to (" + ErrorText(error) + ")";
      }
      break;
    }
    default: why = ErrorText(error);
  }
  throw PlatformError(why);
}

// A file's stamp: its size and last-write time.
std::string StampText(DWORD sizeHigh, DWORD sizeLow, const FILETIME& written) {
  auto wide = [](DWORD high, DWORD low) {
    return std::to_string((static_cast<unsigned long long>(high) << 32) | low);
  };
  return wide(sizeHigh, sizeLow) + ":" + wide(written.dwHighDateTime, written.dwLowDateTime);
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
    Fail(error, path);
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
  Fail(GetLastError(), path);
}

void WinFileSystem::WriteNew(const std::string& path, std::string_view bytes) {
  File file = Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (!file) Fail(GetLastError(), path);
  for (std::size_t done = 0; done < bytes.size();) {
    DWORD put = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!WriteFile(file.Get(), bytes.data() + done, chunk, &put, nullptr) || put == 0) {
      Fail(GetLastError(), path);
    }
    done += put;
  }
  if (!FlushFileBuffers(file.Get())) Fail(GetLastError(), path);
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
    if (!Transient(error) || tries == 10) Fail(error, to);
    Sleep(20);
  }
}

bool WinFileSystem::Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WinFileSystem::Remove(const std::string& path) { DeleteFileW(Widen(path).c_str()); }

std::string WinFileSystem::Stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return {};
  return StampText(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
}

std::optional<std::int64_t> WinFileSystem::LastWritten(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  ULARGE_INTEGER ticks{{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
  return static_cast<std::int64_t>(ticks.QuadPart / 10000);  // from 100 ns steps
}

std::string WinFileSystem::FreshStamp(const std::string& path) {
  // Opening the file asks its server; a query by path is answered from the client's cache of
  // what it last heard of the file (FileInfoCacheLifetime, 10 s by default).
  File file = Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                   OPEN_EXISTING);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !GetFileInformationByHandle(file.Get(), &info)) return {};
  return StampText(info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime);
}

StampTrust WinFileSystem::TrustOfStamps(const std::string& folder) {
  StampTrust trust;
  std::wstring wide = Widen(folder);
  wchar_t root[MAX_PATH + 1] = {};
  if (!GetVolumePathNameW(wide.c_str(), root, MAX_PATH)) {
    // A folder not reached now (a drive not plugged in): its path tells whether it is a share.
    trust.pathStampsLag = folder.rfind("\\\\", 0) == 0;
    return trust;
  }
  trust.pathStampsLag = GetDriveTypeW(root) == DRIVE_REMOTE;
  wchar_t system[MAX_PATH + 1] = {};
  if (GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, system, MAX_PATH) &&
      (lstrcmpiW(system, L"FAT") == 0 || lstrcmpiW(system, L"FAT32") == 0)) {
    trust.timeStep = 2000;  // FAT keeps a file's last write in steps of two seconds
  }
  return trust;
}

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &length) ? Narrow(std::wstring_view(name, length)) : std::string();
}

PathKind WinFileSystem::Kind(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
  return (attributes & FILE_ATTRIBUTE_READONLY) ? PathKind::ReadOnlyFile : PathKind::File;
}

std::string WinFileSystem::Resolve(const std::string& path) {
  File file = Open(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (!file) return path;
  wchar_t final[32768];
  DWORD n = GetFinalPathNameByHandleW(file.Get(), final, 32768, FILE_NAME_NORMALIZED);
  if (n == 0 || n >= 32768) return path;
  std::wstring resolved(final, n);
  if (resolved.rfind(L"\\\\?\\UNC\\", 0) == 0) {
    resolved = L"\\\\" + resolved.substr(8);
  } else if (resolved.rfind(L"\\\\?\\", 0) == 0) {
    resolved = resolved.substr(4);
  }
  // Only a link is followed: the same file under another spelling stays as the user named it.
  return CompareStringOrdinal(resolved.c_str(), -1, Widen(path).c_str(), -1, TRUE) == CSTR_EQUAL
             ? path
             : Narrow(resolved);
}

std::vector<FolderEntry> WinFileSystem::List(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW found{};
  HANDLE first = FindFirstFileW(Widen(folder + "\\*").c_str(), &found);
  FileSearch search(first == INVALID_HANDLE_VALUE ? nullptr : first);
  if (!search) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return entries;
    Fail(error, folder);
  }
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    entries.push_back(
        {Narrow(found.cFileName),
         (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
         StampText(found.nFileSizeHigh, found.nFileSizeLow, found.ftLastWriteTime),
         (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileW(search.Get(), &found));
  return entries;
}

void WinFileSystem::CreateFolders(const std::string& folder) {
  // Each folder on the way down; those that exist, or cannot be made but are there, pass.
  for (std::size_t at = folder.find('\\'); at != std::string::npos;
       at = folder.find('\\', at + 1)) {
    CreateDirectoryW(Widen(folder.substr(0, at)).c_str(), nullptr);
  }
  if (CreateDirectoryW(Widen(folder).c_str(), nullptr)) return;
  DWORD error = GetLastError();
  if (Kind(folder) != PathKind::Folder) Fail(error, folder);
}

std::wstring ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string ProgramFolder() {
  std::wstring path = ProgramPath();
  std::size_t slash = path.find_last_of(L'\\');
  std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return Narrow(folder);
}

std::string LocalAppDataFolder() {
  // SHGetFolderPathW rather than SHGetKnownFolderPath: the folder's GUID would bring a library
  // of them all into the executable.
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return {};
  }
  return Narrow(path);
}

std::vector<std::string> VirtualizedFolders() {
  std::vector<std::string> folders;
  for (int id : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_WINDOWS, CSIDL_COMMON_APPDATA}) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) {
      folders.push_back(Narrow(path));
    }
  }
  // A 32-bit program is told "Program Files (x86)" for both; the other is named here.
  wchar_t wide[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(L"ProgramW6432", wide, MAX_PATH);
  if (n > 0 && n < MAX_PATH) folders.push_back(Narrow(wide));
  return folders;
}

std::string TempFolder() {
  wchar_t path[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, path);
  std::string folder = n > 0 && n <= MAX_PATH ? Narrow(std::wstring_view(path, n)) : "";
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace vorn::win
