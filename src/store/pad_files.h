// Pad files: named after the pad, written so that a crash, a kill or a power cut at any moment
// leaves either the old or the new text, never a truncated file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/pad_text.h"

namespace vorn {

// The file operations the safe save needs; the Win32 build implements them, the unit tests
// keep files in memory and can fail any step.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole content, or nothing when the file does not exist; throws PlatformError.
  virtual std::optional<std::string> Read(const std::string& path) = 0;
  // Creates or overwrites `path` with `bytes`, flushed to the disk; throws PlatformError.
  virtual void WriteNew(const std::string& path, std::string_view bytes) = 0;
  // Renames `from` to `to` in one step, replacing `to`; throws PlatformError.
  virtual void Rename(const std::string& from, const std::string& to) = 0;
  // Puts `replacement` in the place of `target` in one step; `target` need not exist.
  virtual void Replace(const std::string& replacement, const std::string& target) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Removes the file if it exists; never throws.
  virtual void Remove(const std::string& path) = 0;
};

// "~tmp3.tmp" in the folder `location` (which ends in a backslash).
std::string PadFilePath(std::string_view location, std::int16_t index);

// The new text goes to path + ".new" and is flushed; renamed to path + ".ok" it is complete;
// then it replaces the file. On failure the leftovers are removed and the error rethrown.
void SaveFileSafely(FileSystem& fs, const std::string& path, std::string_view bytes);

// Finishes what an interrupted save left: a complete ".ok" file replaces the pad file, a
// ".new" file (possibly cut short) is removed, so leftovers never pile up.
void RecoverFile(FileSystem& fs, const std::string& path);

// Loads the text of a pad file after recovering it; throws PlatformError when it is missing
// or unreadable.
std::string LoadPadFile(FileSystem& fs, const std::string& path, const LegacyDecoder& legacy);
void SavePadFile(FileSystem& fs, const std::string& path, std::string_view utf8Text);

}  // namespace vorn
