// The per-user settings store: text values by section and key. The program keeps the window and
// its options in the section "Setting" and, by default, the pads in the section "Data".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/platform_error.h"
#include "core/utf.h"

namespace vorn {

// A value's data as stored, and its type as the store numbers them (1 is text).
struct StoredValue {
  std::string bytes;
  unsigned type = 0;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text; nothing when there is no such value. Throws PlatformError when the value
  // exists but cannot be read as text (another type of value, or a read that fails).
  virtual std::optional<std::string> Read(std::string_view section, std::string_view key) = 0;
  // The value's data byte for byte, whatever its type; nothing when there is no such value.
  // Throws PlatformError when it cannot be read.
  virtual std::optional<StoredValue> ReadBytes(std::string_view section, std::string_view key) = 0;
  // Creates what is missing and replaces the value; throws PlatformError when it is refused.
  virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
  // The same from UTF-16, for a store that keeps it so: written as it is, not converted.
  virtual void WriteUtf16(std::string_view section, std::string_view key,
                          const std::u16string& value) {
    Write(section, key, Utf8FromUtf16(value));
  }
  // What changes whenever anyone writes the value, and costs no read of it (a store may give
  // all values of a section one stamp, the time the section was last written); "" when it
  // cannot be had. Never throws.
  virtual std::string Stamp(std::string_view section, std::string_view key) = 0;
  // Where the value lives, in words for a message: "registry value HKEY_CURRENT_USER\...".
  virtual std::string Where(std::string_view section, std::string_view key) const = 0;
};

}  // namespace vorn
