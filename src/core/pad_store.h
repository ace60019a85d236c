// Where the ten pads are kept: the values "1" to "10" of the settings store's section "Data",
// or pad files, as "Store in Registry" chooses: "~tmp1.tmp" to "~tmp10.tmp" in the program's
// folder, or "Doc 1.txt" to "Doc 10.txt" in a folder the user chose (one a sync service keeps
// alike on several computers; those names every such service carries). Each write replaces a pad's
// whole text. Failures are PlatformErrors whose text names the place and the reason: "file
// C:\Notes\~tmp3.tmp: Access is denied."
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "core/pad_record.h"
#include "core/pad_text.h"
#include "core/settings_store.h"
#include "core/value_text.h"

namespace vorn {

// What a store holds for a pad, byte for byte: a file's bytes, or a value's data. `kind` says
// which, for reading the bytes back: "file", or "value-N" for a value of type N.
struct StoredBytes {
  std::string bytes;
  std::string kind;
};

class PadStore {
 public:
  // One registry value holds 1 MB: 524,287 UTF-16 characters and the terminating NUL.
  static constexpr std::size_t kMaxValueCharacters = 524287;

  // `programFolder` is the folder the program runs from, with or without a trailing backslash;
  // `computer` is this computer's name, which the names of its saves' steps carry.
  PadStore(SettingsStore& settings, FileSystem& files, std::string_view programFolder,
           LegacyDecoder legacy, std::string_view computer = {});

  // The stored text of pad 1..10, nothing when none is stored. A symbolic link is followed to
  // its file. Unreadable content (another program holds the file, a value is no text) throws.
  std::optional<std::string> Read(Storage storage, int pad);
  std::optional<StoredBytes> ReadBytes(Storage storage, int pad);
  // Replaces the pad's whole text. A read-only pad file is not replaced, and a text too long
  // for one registry value is refused, each with a reason in plain words.
  void Write(Storage storage, int pad, std::string_view text);
  // The same text in two forms, as the pad's control holds it (UTF-16, a line break one CR)
  // and as stored (UTF-8, a line break CR LF): a value is written from the first, a file from
  // the second, so that neither is converted. `edit`, where given, is the one edit since the
  // pad's text last written here, which its store still holds.
  void Write(Storage storage, int pad, std::u16string_view shown, std::string_view utf8,
             const std::optional<PadEdit>& edit = std::nullopt);

  // Finishes a save of the pad's file that this computer began and could not end (the program
  // was killed, the power went): its text replaces the file's, which `keep` has first where the
  // two differ. Leftovers of other computers' saves are never touched.
  void FinishInterruptedSave(int pad, const std::function<void(const std::string&)>& keep);

  // What changes whenever anyone writes the pad's store, cheap to get: see FileSystem::Stamp
  // and SettingsStore::Stamp. In a folder where a path's stamp may lag behind the file (a
  // network share), it is asked of the file itself. Never throws.
  std::string Stamp(Storage storage, int pad);
  // The smallest step of the store's times: a write within it after the last may leave the
  // stamp as it was (two seconds on FAT; 0 where the times are finer than any two writes).
  std::int64_t StampTimeStep(Storage storage);

  // "file C:\Notes\~tmp3.tmp" or "registry value HKEY_CURRENT_USER\...\Data\3".
  std::string Where(Storage storage, int pad) const;
  std::string FilePath(int pad) const;

  // Where Windows kept the files an earlier version wrote to the program's folder, when that
  // lies where only administrators may write (Program Files) and the version ran without a
  // manifest: the folder in the user's VirtualStore; "" when there is none.
  void UseVirtualStore(std::string folder) { virtualStore_ = std::move(folder); }
  // The text of the pad's file in that folder, where it is newer than the file in the program's
  // own, or that one is missing; the program's folder only. Throws PlatformError.
  std::optional<std::string> ReadNewerVirtualCopy(int pad);
  const std::string& VirtualStore() const { return virtualStore_; }

  // The folder the user chose for the pad files, "" for the program's own.
  void UseFolder(std::string_view folder);
  const std::string& ChosenFolder() const { return chosen_; }
  const std::string& ProgramFolder() const { return folder_; }
  // The folder the pad files are in, with a trailing backslash.
  const std::string& Folder() const { return chosen_.empty() ? folder_ : chosenWithSlash_; }
  bool FolderReachable();
  // Throws PlatformError, naming the folder, when no pad file could be written there.
  void CheckFolderWritable();

  // A file in the chosen folder that belongs with a pad without being its file.
  struct Found {
    enum class Kind {
      SyncCopy,            // a copy a sync service left when two computers changed the pad
      PerhapsSyncCopy,     // a name of a sync service's form that a user could give too
      OtherComputersSave,  // what another computer's interrupted save of the pad left
    };
    Kind kind = Kind::SyncCopy;
    int pad = 0;
    std::string name, path;
    std::uint64_t size = 0;
  };
  // One look at the pad files' folder: each pad file's stamp as the listing gives it (nothing
  // for a pad whose file is a link, or where a stamp by path may lag: its own look decides), and
  // the files in the chosen folder that belong with a pad. Nothing listed where the folder
  // cannot be listed.
  struct Listing {
    bool listed = false;
    std::array<std::optional<std::string>, kPadCount> stamps;
    std::vector<Found> found;
  };
  Listing ListFolder();
  // A found file's bytes, and its text read as pad files are; throws PlatformError.
  StoredBytes ReadFound(const Found& found);
  void RemoveFound(const Found& found) { files_.Remove(found.path); }
  const LegacyDecoder& Legacy() const { return legacy_; }

 private:
  std::string ReadyFile(int pad);
  std::string WritableFile(int pad);
  std::string FileOf(int pad);
  const StampTrust& Trust();
  // Adds `entry` to `found` where it belongs with a pad.
  void FindAbout(const FolderEntry& entry, std::vector<Found>& found);

  SettingsStore& settings_;
  FileSystem& files_;
  std::string folder_;  // ends in exactly one backslash
  std::string chosen_, chosenWithSlash_;
  LegacyDecoder legacy_;
  std::string computer_;
  std::string virtualStore_;  // ends in a backslash; "" for none
  std::optional<StampTrust> trust_;  // of the pad files' folder, asked once
  ValueText value_;  // the value last written from a pad's shown text
  // Where each pad's file was last found to lead (see FileOf).
  struct FoundFile {
    std::string name, path;
    std::string seen;  // the stamp of `name` then
  };
  std::array<FoundFile, kPadCount> found_;
};

// The folder in `localAppData`'s VirtualStore where Windows puts what a program without a
// manifest writes into `folder`, when that lies in one of the `virtualized` folders (Program
// Files, Program Files (x86), Windows, ProgramData): "C:\Program Files\Vorn Notes" gives
// "<localAppData>\VirtualStore\Program Files\Vorn Notes\". "" for a folder of any other place.
std::string VirtualStoreFolder(std::string_view folder, const std::vector<std::string>& virtualized,
                               std::string_view localAppData);

// This computer's name as the names of its saves carry it: letters, digits, "-" and "_".
std::string ComputerTag(std::string_view computerName);

}  // namespace vorn
