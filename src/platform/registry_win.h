// The settings store in the registry: HKEY_CURRENT_USER\Software\VB and VBA Program
// Settings\Vorn Notes\<section>, one REG_SZ value per key. Earlier builds kept their settings
// and notes there, so they stay where they were.
#pragma once

#include <string>

#include "core/settings_store.h"
#include "platform/handles_win.h"

namespace vorn::win {

class RegistrySettings : public SettingsStore {
 public:
  // One value holds at most this much, its terminating NUL included.
  static constexpr std::size_t kMaxValueBytes = 1024 * 1024;

  std::optional<std::string> Read(std::string_view section, std::string_view key) override;
  std::optional<StoredValue> ReadBytes(std::string_view section, std::string_view key) override;
  void Write(std::string_view section, std::string_view key, std::string_view value) override;
  void WriteUtf16(std::string_view section, std::string_view key,
                  const std::u16string& value) override;
  std::string Stamp(std::string_view section, std::string_view key) override;
  std::string Where(std::string_view section, std::string_view key) const override;
  // The key of a section, under HKEY_CURRENT_USER.
  static std::wstring SectionKey(std::string_view section);

 private:
  void SetText(std::string_view section, std::string_view key, const wchar_t* text,
               std::size_t length);
  HKEY SectionHandle(std::string_view section, bool create, LSTATUS& rc);

  std::string openSection_;
  Key open_;
};

}  // namespace vorn::win
