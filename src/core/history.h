// The history of every pad: earlier versions of its text, one file each in a folder of its own,
// named by the UTC time they were taken. What the user would miss (text an edit removed, text
// typed here that something else replaced, text from elsewhere the pad never showed) is kept
// apart from the versions nobody asked for (taken every ten minutes, or of a pad no one typed
// in when another program rewrote it): each kind keeps its newest 100 versions and at most
// 20 MB per pad, so the second never pushes out the first; among the second, the outside
// rewrites go first. Within a kind the oldest go first. A clock set back would name a new version before older ones: it is
// then named a millisecond after the newest, so the names keep the order the versions were
// taken in, and the version just taken is never the one dropped. A version is text, or the
// bytes a store held exactly as it held them (a pad file's bytes, a registry value's data), so
// that nothing the program could not show faithfully is lost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/file_system.h"
#include "core/pad_store.h"
#include "core/pad_text.h"

namespace vorn {

// Why a version was taken, which decides what may push it out of the history.
enum class Worth {
  Kept,     // the user would miss it: kept against its own kind only
  Routine,  // taken on a schedule: every ten minutes, before a store is first replaced
  Outside,  // what a pad no one typed in showed before another program's text replaced it
};

struct Version {
  std::string file;  // its name in the pad's folder
  std::int64_t utcMillis = 0;
  std::uint64_t size = 0;
  Worth worth = Worth::Routine;
};

class History {
 public:
  static constexpr std::size_t kMaxVersions = 100;
  static constexpr std::uint64_t kMaxBytes = 20u * 1024 * 1024;

  // `folder` holds one folder per pad, "1" to "10".
  History(FileSystem& files, std::string folder, Clock& clock, LegacyDecoder legacy);

  // Adds a version; nothing is written when it equals the newest one. Throws PlatformError.
  void AddText(int pad, std::string_view text, Worth worth = Worth::Kept);
  void AddStoredBytes(int pad, const StoredBytes& stored, Worth worth = Worth::Kept);

  // What this computer last wrote to a pad's store, and where (a file's path), with the text it
  // and the store's other writers both had then (the base of their edits, where known): noted
  // beside the pad's versions, to be compared with the store at the next read.
  struct Written {
    std::string place, bytes;
    std::optional<std::string> base;
  };
  void KeepWritten(int pad, const Written& written);  // throws
  std::optional<Written> LastWritten(int pad);  // nothing when none, or it cannot be read

  // The pad's versions, newest first.
  std::vector<Version> Versions(int pad);
  // The best text that can be read from a version; throws PlatformError.
  std::string Text(int pad, const Version& version);

  std::string Folder(int pad) const;
  const std::string& Root() const { return folder_; }

 private:
  void Add(int pad, std::string_view bytes, std::string_view kind, Worth worth);
  void DropOldest(int pad, std::string_view newest);

  FileSystem& files_;
  std::string folder_;
  Clock& clock_;
  LegacyDecoder legacy_;
};

// "20261209-031522-123" for 2026-12-09 03:15:22.123 UTC, and back; -1 when the name is not one.
std::string VersionName(std::int64_t utcMillis);
std::int64_t VersionTime(std::string_view name);

}  // namespace vorn
