#include "platform/registry_win.h"

#include <windows.h>

#include "core/pad_text.h"
#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace vorn::win {

namespace {

constexpr wchar_t kProgramKey[] = L"Software\\VB and VBA Program Settings\\Vorn Notes\\";

[[noreturn]] void Fail(LSTATUS rc) { throw PlatformError(ErrorText(static_cast<DWORD>(rc))); }

}  // namespace

std::wstring RegistrySettings::SectionKey(std::string_view section) {
  return kProgramKey + Widen(section);
}

std::optional<StoredValue> RegistrySettings::ReadBytes(std::string_view section,
                                                       std::string_view key) {
  HKEY raw = nullptr;
  LSTATUS rc =
      RegOpenKeyExW(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, KEY_QUERY_VALUE, &raw);
  if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (rc != ERROR_SUCCESS) Fail(rc);
  Key owned(raw);
  std::wstring name = Widen(key);
  // The value may grow between asking its size and reading it: ask again then.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0, bytes = 0;
    rc = RegQueryValueExW(owned.Get(), name.c_str(), nullptr, &type, nullptr, &bytes);
    if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (rc != ERROR_SUCCESS) Fail(rc);
    StoredValue value{std::string(bytes, '\0'), type};
    rc = RegQueryValueExW(owned.Get(), name.c_str(), nullptr, &type,
                          reinterpret_cast<BYTE*>(value.bytes.data()), &bytes);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) Fail(rc);
    value.bytes.resize(bytes);
    value.type = type;
    return value;
  }
  Fail(ERROR_MORE_DATA);
}

std::optional<std::string> RegistrySettings::Read(std::string_view section, std::string_view key) {
  std::optional<StoredValue> value = ReadBytes(section, key);
  if (!value) return std::nullopt;
  if (value->type != REG_SZ && value->type != REG_EXPAND_SZ && value->type != REG_MULTI_SZ) {
    throw PlatformError("the value holds no text.");
  }
  return DecodeValue(value->bytes, value->type == REG_MULTI_SZ);
}

void RegistrySettings::Write(std::string_view section, std::string_view key,
                             std::string_view value) {
  std::wstring text = Widen(value);
  SetText(section, key, text.c_str(), text.size());
}

void RegistrySettings::WriteUtf16(std::string_view section, std::string_view key,
                                  const std::u16string& value) {
  SetText(section, key, reinterpret_cast<const wchar_t*>(value.c_str()), value.size());
}

// `text` ends in a NUL after its `length` characters, as a text value's data does.
void RegistrySettings::SetText(std::string_view section, std::string_view key, const wchar_t* text,
                               std::size_t length) {
  // Refuse rather than let a long pad be cut short or lost.
  if (length + 1 > kMaxValueBytes / sizeof(wchar_t)) {
    throw PlatformError("the text is longer than one value holds.");
  }
  std::wstring name = Widen(key);
  LSTATUS rc = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 2; ++attempt) {
    HKEY handle = SectionHandle(section, true, rc);
    if (!handle) break;
    rc = RegSetValueExW(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>((length + 1) * sizeof(wchar_t)));
    if (rc != ERROR_KEY_DELETED) break;
    open_.Reset();  // someone deleted the key: it is made again
  }
  if (rc != ERROR_SUCCESS) Fail(rc);
}

// The section's key, kept open from one call to the next: a keystroke writes a value and looks
// at the key's stamp, and opening and closing the key each time doubled the registry calls.
// Nothing when it cannot be opened (or, with `create`, made), with the reason in `rc`.
HKEY RegistrySettings::SectionHandle(std::string_view section, bool create, LSTATUS& rc) {
  if (open_ && openSection_ == section) return open_.Get();
  open_.Reset();
  HKEY raw = nullptr;
  REGSAM access = KEY_QUERY_VALUE | KEY_SET_VALUE;
  std::wstring path = SectionKey(section);
  rc = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, access, nullptr,
                                &raw, nullptr)
              : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &raw);
  if (rc != ERROR_SUCCESS) return nullptr;
  open_.Reset(raw);
  openSection_ = section;
  return raw;
}

std::string RegistrySettings::Stamp(std::string_view section, std::string_view) {
  // Values keep no time of their own; their key's last write covers them all, so all the
  // section's values share one stamp.
  FILETIME written{};
  LSTATUS rc = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 2; ++attempt) {
    HKEY handle = SectionHandle(section, false, rc);
    Key readOnly;
    if (!handle && rc == ERROR_ACCESS_DENIED) {  // a key this user may read but not write
      HKEY raw = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, KEY_QUERY_VALUE, &raw) ==
          ERROR_SUCCESS) {
        readOnly.Reset(raw);
        handle = raw;
      }
    }
    if (!handle) return {};
    rc = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, &written);
    if (rc != ERROR_KEY_DELETED) break;
    open_.Reset();  // deleted since: looked for again
  }
  if (rc != ERROR_SUCCESS) return {};
  return std::to_string((static_cast<unsigned long long>(written.dwHighDateTime) << 32) |
                        written.dwLowDateTime);
}

std::string RegistrySettings::Where(std::string_view section, std::string_view key) const {
  return "registry value HKEY_CURRENT_USER\\" + Narrow(SectionKey(section)) + "\\" +
         std::string(key);
}

}  // namespace vorn::win
