#include "platform/start_up_win.h"

#include <windows.h>

#include <string>

#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace vorn::win {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr wchar_t kValueName[] = L"Vorn Notes";

[[noreturn]] void Fail(LSTATUS rc) { throw PlatformError(ErrorText(static_cast<DWORD>(rc))); }

// The value's type and bytes; nothing when the key or the value is not there.
std::optional<std::pair<DWORD, std::vector<BYTE>>> ReadValue(const wchar_t* keyName) {
  HKEY raw = nullptr;
  LSTATUS rc = RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE, &raw);
  if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (rc != ERROR_SUCCESS) Fail(rc);
  Key key(raw);
  DWORD type = 0, bytes = 0;
  rc = RegQueryValueExW(key.Get(), kValueName, nullptr, &type, nullptr, &bytes);
  std::vector<BYTE> data(bytes);
  if (rc == ERROR_SUCCESS) {
    rc = RegQueryValueExW(key.Get(), kValueName, nullptr, &type, data.data(), &bytes);
  }
  if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (rc != ERROR_SUCCESS) Fail(rc);
  data.resize(bytes);
  return std::make_pair(type, std::move(data));
}

void RemoveValue(const wchar_t* keyName) {
  HKEY raw = nullptr;
  LSTATUS rc = RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_SET_VALUE, &raw);
  if (rc == ERROR_FILE_NOT_FOUND) return;
  if (rc != ERROR_SUCCESS) Fail(rc);
  Key key(raw);
  rc = RegDeleteValueW(key.Get(), kValueName);
  if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) Fail(rc);
}

}  // namespace

std::optional<std::string> LogOnEntriesInRegistry::RunCommand() {
  auto value = ReadValue(kRunKey);
  if (!value || (value->first != REG_SZ && value->first != REG_EXPAND_SZ)) return std::nullopt;
  std::wstring text(reinterpret_cast<const wchar_t*>(value->second.data()),
                    value->second.size() / sizeof(wchar_t));
  text = text.c_str();  // up to its end mark
  return Narrow(text);
}

void LogOnEntriesInRegistry::SetRunCommand(const std::optional<std::string>& command) {
  if (!command) {
    RemoveValue(kRunKey);
    return;
  }
  HKEY raw = nullptr;
  LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                               &raw, nullptr);
  if (rc != ERROR_SUCCESS) Fail(rc);
  Key key(raw);
  std::wstring text = Widen(*command);
  rc = RegSetValueExW(key.Get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (rc != ERROR_SUCCESS) Fail(rc);
}

std::optional<std::vector<unsigned char>> LogOnEntriesInRegistry::Approval() {
  auto value = ReadValue(kApprovedKey);
  if (!value) return std::nullopt;
  return std::vector<unsigned char>(value->second.begin(), value->second.end());
}

void LogOnEntriesInRegistry::RemoveApproval() { RemoveValue(kApprovedKey); }

void AskToBeRestartedAfterUpdates() {
  std::wstring argument = Widen(kRestartArgument);
  RegisterApplicationRestart(argument.c_str(), RESTART_NO_CRASH | RESTART_NO_HANG);
}

}  // namespace vorn::win
