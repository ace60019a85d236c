// linkrec: a stand-in mail program and web browser for the end-to-end tests. Registered as the
// handler of "mailto:", "http" and "https" links, it appends the link it was given, one a line,
// to links.txt beside itself.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file(path, n);
  file = file.substr(0, file.find_last_of(L'\\') + 1) + L"links.txt";
  std::wstring link = argc > 1 ? argv[1] : L"";
  int bytes = WideCharToMultiByte(CP_UTF8, 0, link.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string line(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, link.c_str(), -1, line.data(), bytes, nullptr, nullptr);
  line.back() = '\n';
  HANDLE h = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0,
                         nullptr);
  DWORD put = 0;
  WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &put, nullptr);
  CloseHandle(h);
  return 0;
}
