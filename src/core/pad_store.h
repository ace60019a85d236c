// Where the ten pads are kept: the values "1" to "10" of the settings store's section "Data",
// or the files "~tmp1.tmp" to "~tmp10.tmp" in the program's folder, as "Store in Registry"
// chooses. Each write replaces a pad's whole text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/file_system.h"
#include "core/pad_text.h"
#include "core/settings_store.h"

namespace vorn {

inline constexpr int kPadCount = 10;

enum class Storage { SettingsStore, PadFiles };

class PadStore {
 public:
  // `programFolder` is the folder the program runs from, with or without a trailing backslash.
  PadStore(SettingsStore& settings, FileSystem& files, std::string_view programFolder,
           LegacyDecoder legacy);

  Storage Mode() const { return mode_; }
  // Later reads and writes go to `mode`; nothing is moved.
  void SetMode(Storage mode) { mode_ = mode; }

  // The stored text of pad 1..10, nothing when none is stored; throws PlatformError when it
  // cannot be read. A pad file is recovered first from a save that was interrupted.
  std::optional<std::string> Read(int pad);
  // Replaces the pad's whole text; throws PlatformError.
  void Write(int pad, std::string_view text);

  // "C:\Notes\~tmp3.tmp" for pad 3 of a program in C:\Notes.
  std::string FilePath(int pad) const;
  static std::string ValueName(int pad) { return std::to_string(pad); }
  static constexpr std::string_view kSection = "Data";

 private:
  SettingsStore& settings_;
  FileSystem& files_;
  std::string folder_;  // ends in exactly one backslash
  LegacyDecoder legacy_;
  Storage mode_ = Storage::SettingsStore;
};

}  // namespace vorn
