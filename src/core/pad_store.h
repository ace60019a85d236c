// Where the ten pads are kept: the values "1" to "10" of the settings store's section "Data",
// or pad files, as "Store in Registry" chooses: "~tmp1.tmp" to "~tmp10.tmp" in the program's
// folder, or "Doc 1.txt" to "Doc 10.txt" in a folder the user chose (one a sync service keeps
// alike on several computers; those names every such service carries). Each write replaces a pad's
// whole text. Failures are PlatformErrors whose text names the place and the reason: "file
// C:\Notes\~tmp3.tmp: Access is denied."
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "core/pad_record.h"
#include "core/pad_text.h"
#include "core/settings_store.h"

namespace vorn {

// What a store holds for a pad, byte for byte: a file's bytes, or a value's data. `kind` says
// which, for reading the bytes back: "file", or "value-N" for a value of type N.
struct StoredBytes {
  std::string bytes;
  std::string kind;
};

// The pad whose file `name` is a copy of: its name with anything added before ".txt" that
// does not make it another pad's ("Doc 10.txt" is no copy of Doc 1); 0 for any other name.
int PadOfConflictCopy(std::string_view name);

class PadStore {
 public:
  // One registry value holds 1 MB: 524,287 UTF-16 characters and the terminating NUL.
  static constexpr std::size_t kMaxValueCharacters = 524287;

  // `programFolder` is the folder the program runs from, with or without a trailing backslash.
  PadStore(SettingsStore& settings, FileSystem& files, std::string_view programFolder,
           LegacyDecoder legacy);

  // The stored text of pad 1..10, nothing when none is stored. A pad file is recovered first
  // from a save that was interrupted, and a symbolic link is followed to its file.
  std::optional<std::string> Read(Storage storage, int pad);
  std::optional<StoredBytes> ReadBytes(Storage storage, int pad);
  // Replaces the pad's whole text. A read-only pad file is not replaced, and a text too long
  // for one registry value is refused, each with a reason in plain words.
  void Write(Storage storage, int pad, std::string_view text);
  // The same text in two forms, as the pad's control holds it (UTF-16, a line break one CR)
  // and as stored (UTF-8, a line break CR LF): a value is written from the first, a file from
  // the second, so that neither is converted.
  void Write(Storage storage, int pad, std::u16string_view shown, std::string_view utf8);

  // What changes whenever anyone writes the pad's store, cheap to get: see FileSystem::Stamp
  // and SettingsStore::Stamp. Never throws.
  std::string Stamp(Storage storage, int pad);

  // "file C:\Notes\~tmp3.tmp" or "registry value HKEY_CURRENT_USER\...\Data\3".
  std::string Where(Storage storage, int pad) const;
  std::string FilePath(int pad) const;

  // The folder the user chose for the pad files, "" for the program's own.
  void UseFolder(std::string_view folder);
  const std::string& ChosenFolder() const { return chosen_; }
  const std::string& ProgramFolder() const { return folder_; }
  // The folder the pad files are in, with a trailing backslash.
  const std::string& Folder() const { return chosen_.empty() ? folder_ : chosenWithSlash_; }
  // Throws PlatformError, naming the folder, when no pad file could be written there.
  void CheckFolderWritable();

  // A copy of a pad file that a sync service left in the chosen folder when two computers
  // changed the pad at once: "Doc 3.sync-conflict-20261209-101010-ABC1234.txt", "Doc 3
  // (Laptop's conflicted copy 2026-12-09).txt", "Doc 3-LAPTOP.txt".
  struct ConflictCopy {
    int pad = 0;
    std::string path;
    std::string text;   // read as pad files are
    StoredBytes bytes;  // as it is, for the history
  };
  // The copies in the chosen folder; none without one. A copy that cannot be read is left
  // for the next look.
  std::vector<ConflictCopy> ConflictCopies();
  void RemoveConflictCopy(const ConflictCopy& copy) { files_.Remove(copy.path); }

 private:
  std::string ReadyFile(int pad);
  std::string WritableFile(int pad);

  SettingsStore& settings_;
  FileSystem& files_;
  std::string folder_;  // ends in exactly one backslash
  std::string chosen_, chosenWithSlash_;
  LegacyDecoder legacy_;
  std::u16string value_;  // a value's text as written, in memory each write uses again
};

}  // namespace vorn
