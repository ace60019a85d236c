// The file operations the pads and their history need. The Win32 build implements them; the
// unit tests keep files in memory and can fail or cut short any step.
#pragma once

#include <cstdint>
#include <functional>
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
  std::string stamp;  // as Stamp gives it for the file, from the same look at the folder
  bool link = false;  // a symbolic link (or another reparse point): its stamp is the link's
};

// How far a file's stamp (its size and last-write time, by its path) tells of a change.
struct StampTrust {
  // A network share: the system answers a path's stamp from what it last heard of the file
  // (Windows keeps that some 10 seconds), so another computer's write may not show in it yet.
  bool pathStampsLag = false;
  // The smallest step of the folder's file times, in milliseconds: FAT's are two seconds apart,
  // so a write in the same two seconds as the last one may leave the stamp as it was.
  std::int64_t timeStep = 0;
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
  // The files in a folder (none when it does not exist), in one look; throws PlatformError.
  virtual std::vector<FolderEntry> List(const std::string& folder) = 0;
  // Creates the folder and those above it that are missing; throws PlatformError.
  virtual void CreateFolders(const std::string& folder) = 0;
  // The file's size and last-write time as text, "" when it is missing: what changes whenever
  // anyone writes the file, and costs no read of it. Never throws.
  virtual std::string Stamp(const std::string& path) = 0;
  // The same, asked of the file itself (it is opened for no access): a network share answers
  // it from what its server holds now. Never throws.
  virtual std::string FreshStamp(const std::string& path) = 0;
  // The file's last-write time in milliseconds of the system's clock; nothing when it is
  // missing. Never throws.
  virtual std::optional<std::int64_t> LastWritten(const std::string& path) = 0;
  // What the stamps of files in `folder` can be trusted with. Never throws.
  virtual StampTrust TrustOfStamps(const std::string& folder) = 0;
};

// The names a save of `path` goes through: the new bytes go to the first and are flushed,
// renamed to the second they are complete. `computer` names the computer that saves ("" for
// none): a sync service carries what one computer's interrupted save left to the others, and
// each computer finishes only its own.
struct SaveSteps {
  std::string fresh, ready;
};
SaveSteps StepsOfSave(const std::string& path, std::string_view computer);

// The bytes go to the fresh file, are flushed, renamed to the ready one and then over the file
// in one step. So a crash, a kill or a power cut at any moment leaves the old or the new
// content. On failure the leftovers go and the error is thrown.
void SaveFileSafely(FileSystem& fs, const std::string& path, std::string_view bytes,
                    std::string_view computer = {});

// Finishes what an interrupted save of `computer`'s left: a complete ready file replaces the
// file, and a fresh one (possibly cut short) is removed, so leftovers never pile up. Where the
// file holds other bytes than the ready one, `keep` has them first (it throws when it cannot,
// and the ready file then stays for the next try).
void RecoverFile(FileSystem& fs, const std::string& path, std::string_view computer,
                 const std::function<void(const std::string& replaced)>& keep = {});

}  // namespace vorn
