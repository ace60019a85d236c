// The file operations the pads and their history need. The Win32 build implements them; the
// unit tests keep files in memory and can fail or cut short any step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform_error.h"

namespace vorn {

enum class PathKind { Missing, File, ReadOnlyFile, Folder };

struct FolderEntry {
  std::string name;
  std::uint64_t size = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole content, or nothing when the file does not exist; throws PlatformError.
  virtual std::optional<std::string> Read(const std::string& path) = 0;
  // Creates or overwrites `path` with `bytes`, flushed to the disk; throws PlatformError.
  virtual void WriteNew(const std::string& path, std::string_view bytes) = 0;
  // Renames `from` to `to` in one step, replacing `to`; throws PlatformError.
  virtual void Rename(const std::string& from, const std::string& to) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Removes the file if it exists; never throws.
  virtual void Remove(const std::string& path) = 0;

  virtual PathKind Kind(const std::string& path) = 0;
  // The file a symbolic link leads to, or `path` itself.
  virtual std::string Resolve(const std::string& path) = 0;
  // The files in a folder (none when it does not exist); throws PlatformError.
  virtual std::vector<FolderEntry> List(const std::string& folder) = 0;
  // Creates the folder and those above it that are missing; throws PlatformError.
  virtual void CreateFolders(const std::string& folder) = 0;
  // The file's size and last-write time as text, "" when it is missing: what changes whenever
  // anyone writes the file, and costs no read of it. Never throws.
  virtual std::string Stamp(const std::string& path) = 0;
};

// The new bytes go to path + ".new" and are flushed; renamed to path + ".ok" they are complete;
// then they are renamed over the file in one step. So a crash, a kill or a power cut at any
// moment leaves the old or the new content. On failure the leftovers go and the error is thrown.
void SaveFileSafely(FileSystem& fs, const std::string& path, std::string_view bytes);

// Finishes what an interrupted save left: a complete ".ok" file replaces the file, a ".new" one
// (possibly cut short) is removed, so leftovers never pile up.
void RecoverFile(FileSystem& fs, const std::string& path);

}  // namespace vorn
