// Keeps each pad's text safe between the window and its store, and owns the pads' records. It
// reads the pads (finishing a save of this computer's that was cut short), stores the user's
// edits and tries again what could not be saved, switches the store and moves the pad files to
// another folder; every write goes through the writer (`pad_writer`), and what comes from
// elsewhere through the sync part (`pad_sync`). The rule it keeps: stored text survives, in the
// store or in the history.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/clock.h"
#include "core/history.h"
#include "core/pad_mirror.h"
#include "core/pad_record.h"
#include "core/pad_store.h"
#include "core/pad_sync.h"
#include "core/pad_writer.h"
#include "core/version_keeper.h"

namespace vorn {

class PadKeeper {
 public:
  static constexpr std::size_t kMaxCharacters = kMaxPadCharacters;
  using KeptIn = VersionKeeper::KeptIn;
  using Taken = PadSync::Taken;
  using TakenIn = PadSync::TakenIn;
  using Look = PadWriter::Look;
  using Written = PadWriter::Written;
  using WriteResult = PadWriter::Result;

  // A pad that could not be written, and why.
  struct Failure {
    int pad = 0;
    std::string problem;
  };

  // `rescue` is a second history elsewhere, for the text of a pad that cannot be saved when the
  // program ends and the first history cannot be written either.
  PadKeeper(PadStore& store, History& history, History& rescue, Clock& clock)
      : store_(store),
        clock_(clock),
        versions_(history, rescue),
        writer_(store, versions_, clock, pads_),
        sync_(writer_, store, versions_, pads_) {}

  // The store every pad is read from and written to.
  Storage StoreInUse() const { return writer_.StoreInUse(); }
  // After a switch, the text each pad wrote there is the one both sides had.
  void UseStore(Storage storage);
  // The folder chosen for the pad files, as stored at the start; "" for the program's own.
  void UseFolder(std::string_view folder) { store_.UseFolder(folder); }

  // Reads the pad. Nothing when it cannot be read: the pad is then unread, and its store is not
  // replaced before its content has been read or kept in the history. A pad too large to edit
  // gives its first kMaxCharacters to show; its store is left alone. Where the store holds
  // other text than this computer last wrote there, that text goes to the history, and the pad
  // shows the two merged where they merge by lines (then marked changed, to be stored).
  std::optional<std::string> Load(int pad);
  // True once after the text this computer last wrote to the pad's store was found replaced
  // there at a read, and went to the history; or was merged with what replaced it.
  bool TakeWrittenHereReplaced(int pad) { return std::exchange(At(pad).writtenHereReplaced, false); }
  bool TakeWrittenHereMerged(int pad) { return std::exchange(At(pad).writtenHereMerged, false); }
  bool TakeVirtualCopyTaken(int pad) { return std::exchange(At(pad).virtualCopyTaken, false); }
  // The VirtualStore folder whose pad files are taken when newer (see PadStore).
  void UseVirtualStore(std::string folder) { store_.UseVirtualStore(std::move(folder)); }
  const std::string& VirtualStore() const { return store_.VirtualStore(); }

  // What the pad's store holds against what the program last saw there; `stamp` from a look at
  // the folder, where there is one.
  Look LookAtStore(int pad, const std::optional<std::string>& stamp = std::nullopt) {
    return writer_.LookAtStore(pad, stamp);
  }
  // One look at the pad files' folder (see PadStore::ListFolder); none in the registry.
  PadStore::Listing ListFolder() {
    return StoreInUse() == Storage::PadFiles ? store_.ListFolder() : PadStore::Listing{};
  }
  // Takes in what a look or a write found written elsewhere; see PadSync::TakeIn.
  TakenIn TakeIn(int pad, const std::string& incoming, std::string stamp, std::string_view shown,
                 bool typing) {
    return sync_.TakeIn(pad, incoming, std::move(stamp), shown, typing);
  }
  PadSync::FolderFinds TakeInFolderFinds(const std::vector<PadStore::Found>& found,
                                         const std::function<std::string(int pad)>& shown) {
    return sync_.TakeInFolderFinds(found, shown);
  }

  // The user changed the pad; the change waits to be stored.
  void MarkChanged(int pad);
  // True while a change has waited to be stored for more than a few seconds without a failure
  // (another program or computer keeps writing the store), for the user to see.
  bool SaveLagging(int pad) const;
  // True once for a change waiting to be stored.
  bool TakeChange(int pad) { return std::exchange(At(pad).changePending, false); }
  bool ChangeWaiting(int pad) const { return At(pad).changePending; }
  // Stores the user's edit that made the pad show `shown` (or `text`): first the versions the
  // history's rules ask for, then the store; see PadWriter::Write.
  WriteResult StoreEdit(int pad, const ShownEdit& shown);
  WriteResult StoreEdit(int pad, std::string_view text);
  // Stores the pad's text again after a failure, as the store is not what it shows.
  WriteResult Save(int pad, std::string_view text);
  // Writes every pad's text to `to`, for a switch of store; a pad that is empty where `to` holds
  // nothing is left out. The first pad that cannot be written stops it.
  std::optional<Failure> CopyAllTo(Storage to, const std::function<std::string(int pad)>& padText);
  // Moves the pad files to `folder` ("" the program's own), the user's choice. A folder that
  // holds no pads yet takes every pad's text (`padText`) at once. One that holds pads already
  // (a second computer joining a synced folder) has the shared notes: each pad's text goes to
  // its history, for the pads to be read from there (`joined`); the program's own folder is
  // never joined, the pads go back there as they are. A folder that cannot be written, or a
  // pad that cannot be, changes nothing and comes back as a failure (pad 0 for the folder).
  struct FolderMove {
    bool joined = false;
    std::optional<Failure> failure;
  };
  FolderMove MoveToFolder(std::string_view folder,
                          const std::function<std::string(int pad)>& padText);
  // Back to the folder the pads were in, as they were there, after a move whose choice could
  // not be kept.
  void ReturnToFolder(std::string_view folder);
  const std::string& ChosenFolder() const { return store_.ChosenFolder(); }
  const std::string& PadFolder() const { return store_.Folder(); }
  const std::string& ProgramFolder() const { return store_.ProgramFolder(); }
  // The pads' folder can be reached (a drive that was taken out is back).
  bool FolderReachable() { return store_.FolderReachable(); }

  // Notes, outside the pads' folder, what this computer last wrote to each pad file, so that
  // what a sync service replaces while the program is not running is found at the next start.
  void RecordWrittenTexts();

  // Adds a version of the pad's text to the history or, where that cannot be written, to the
  // rescue history; a failure is remembered in HistoryProblem until the history works again.
  KeptIn AddVersion(int pad, std::string_view text) { return versions_.AddText(pad, text); }

  PadStatus Status(int pad) const { return At(pad).status; }
  bool AnyUnsaved() const;
  // Why the pad is unread, too large or unsaved: "file C:\...: Access is denied."
  const std::string& Problem(int pad) const { return At(pad).problem; }
  // True once after the content of a store that could not be read went to the history before
  // the user's text replaced it.
  bool TakeUnreadContentKept(int pad) { return std::exchange(At(pad).unreadContentKept, false); }

  // Why the history cannot be written, and whether the rescue history took the versions
  // instead; "" while the history works.
  const std::string& HistoryProblem() const { return versions_.HistoryProblem(); }
  bool RescueWorks() const { return versions_.RescueWorks(); }
  std::string RescueFolder() const { return versions_.RescueFolder(); }

 private:
  PadRecord& At(int pad) { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  const PadRecord& At(int pad) const { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  void FinishInterruptedSave(int pad);
  std::optional<std::string> TakeInWrittenHere(int pad, const std::string& text);
  std::optional<std::string> TakeInVirtualCopy(int pad, const std::string& text);

  // How long a change may wait for its store before the user is told.
  static constexpr std::int64_t kLagging = 5000;

  PadStore& store_;
  Clock& clock_;
  PadRecords pads_;
  VersionKeeper versions_;
  PadWriter writer_;
  PadSync sync_;
};

}  // namespace vorn
