// The history of every pad: earlier versions of its text, one file each in a folder of its own,
// named by the UTC time they were taken. The newest 100 versions and at most 20 MB per pad are
// kept; the oldest go first. A clock set back would name a new version before older ones: it is
// then named a millisecond after the newest, so the names keep the order the versions were
// taken in, and the version just taken is never the one dropped. A version is text, or the
// bytes a store held exactly as it held them (a pad file's bytes, a registry value's data), so
// that nothing the program could not show faithfully is lost.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/file_system.h"
#include "core/pad_store.h"
#include "core/pad_text.h"

namespace vorn {

struct Version {
  std::string file;  // its name in the pad's folder
  std::int64_t utcMillis = 0;
  std::uint64_t size = 0;
};

class History {
 public:
  static constexpr std::size_t kMaxVersions = 100;
  static constexpr std::uint64_t kMaxBytes = 20u * 1024 * 1024;

  // `folder` holds one folder per pad, "1" to "10".
  History(FileSystem& files, std::string folder, Clock& clock, LegacyDecoder legacy);

  // Keeps a version; nothing is written when it equals the newest one. Throws PlatformError.
  void KeepText(int pad, std::string_view text);
  void KeepStored(int pad, const StoredBytes& stored);

  // The pad's versions, newest first.
  std::vector<Version> Versions(int pad);
  // The best text that can be read from a version; throws PlatformError.
  std::string Text(int pad, const Version& version);

  std::string Folder(int pad) const;
  const std::string& Root() const { return folder_; }

 private:
  void Keep(int pad, std::string_view bytes, std::string_view kind);
  void DropOldest(int pad, std::string_view newest);

  FileSystem& files_;
  std::string folder_;
  Clock& clock_;
  LegacyDecoder legacy_;
};

// When an edit's text goes to the history besides the stored content: before it removes or
// replaces 32 characters or more, and otherwise at most once every 10 minutes while a pad is
// edited.
class VersionPolicy {
 public:
  static constexpr std::size_t kLargeRemoval = 32;
  static constexpr std::int64_t kEditInterval = 10 * 60 * 1000;

  // An edit turns `before` into `after` at `now`: true when `before` is to be kept.
  bool KeepBefore(int pad, std::string_view before, std::string_view after, std::int64_t now);
  // A version of the pad was taken at `now`.
  void Kept(int pad, std::int64_t now);

 private:
  std::int64_t lastKept_[kPadCount] = {};
  bool edited_[kPadCount] = {};
};

// How many characters (UTF-16 units) of `before` are gone from `after`, where the two differ in
// one stretch, as after an edit: what the edit removed or replaced.
std::size_t RemovedLength(std::string_view before, std::string_view after);

// "20261209-031522-123" for 2026-12-09 03:15:22.123 UTC, and back; -1 when the name is not one.
std::string VersionName(std::int64_t utcMillis);
std::int64_t VersionTime(std::string_view name);

}  // namespace vorn
