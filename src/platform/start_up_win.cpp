#include "platform/start_up_win.h"

#include <windows.h>

#include <string>

#include "platform/files_win.h"
#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace vorn::win {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Vorn Notes";

// The running exe's path in quotes, as the Run key wants a path with blanks.
std::wstring QuotedExePath() { return L"\"" + ProgramPath() + L"\""; }

[[noreturn]] void Fail(LSTATUS rc) { throw PlatformError(ErrorText(static_cast<DWORD>(rc))); }

}  // namespace

bool RunAtLogOn::WithWindows() {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
    return false;
  }
  Key key(raw);
  wchar_t value[4 * MAX_PATH] = {};
  DWORD type = 0, bytes = sizeof value - sizeof(wchar_t);
  if (RegQueryValueExW(key.Get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(value),
                       &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return false;
  }
  return CompareStringOrdinal(value, -1, QuotedExePath().c_str(), -1, TRUE) == CSTR_EQUAL;
}

void RunAtLogOn::SetWithWindows(bool on) {
  HKEY raw = nullptr;
  LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                               &raw, nullptr);
  if (rc != ERROR_SUCCESS) Fail(rc);
  Key key(raw);
  if (!on) {
    rc = RegDeleteValueW(key.Get(), kValueName);
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) Fail(rc);
    return;
  }
  std::wstring path = QuotedExePath();
  rc = RegSetValueExW(key.Get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                      static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  if (rc != ERROR_SUCCESS) Fail(rc);
}

void AskToBeRestartedAfterUpdates() {
  RegisterApplicationRestart(L"", RESTART_NO_CRASH | RESTART_NO_HANG);
}

}  // namespace vorn::win
