// Keeps each pad's text safe between the window and its store, and owns the pads' records. It
// reads the pads; before a store is first replaced in a run it copies what the store held, byte
// for byte, into the history; it keeps the text an edit removes or replaces in large part, and a
// version every ten minutes of editing; and it remembers what could not be read or saved, to be
// tried again. It takes in what another program or computer writes to a pad's store, merged
// with what the user typed here, and never replaces a store's content it has not seen. The rule
// it keeps: stored text survives, in the store or in the history.
#pragma once

#include <array>
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

namespace vorn {

class PadKeeper {
 public:
  // The most a pad edits: 16 MB of UTF-16 in the control, its copy and the store's text stays
  // well within a 32-bit process. A longer pad shows its first kMaxCharacters read-only, and
  // its store is never replaced.
  static constexpr std::size_t kMaxCharacters = 16 * 1024 * 1024;

  // Where a version of a pad's text went.
  enum class KeptIn { History, Rescue, Nowhere };

  // How a pad took in its store's text written elsewhere.
  enum class Taken {
    Nothing,   // the store holds what the program last read or wrote there
    Replaced,  // the pad was not edited here since it last took text in: it shows the new text
    Merged,    // edits made here and elsewhere are both in the pad, and in the store
    Kept,      // the pad already held every line of the new text: it stays, and is stored
    Conflict,  // both sides changed the same lines: the pad keeps its text, both are kept in
               // the history; the store keeps the other until the pad's next edit
  };
  struct TakenIn {
    Taken how = Taken::Nothing;
    std::string text;  // what the pad is to show
  };

  // A pad that could not be written, and why.
  struct Failure {
    int pad = 0;
    std::string problem;
  };

  // `rescue` is a second history elsewhere, for the text of a pad that cannot be saved when the
  // program ends and the first history cannot be written either.
  PadKeeper(PadStore& store, History& history, History& rescue, Clock& clock)
      : store_(store), history_(history), rescue_(rescue), clock_(clock) {}

  // The store every pad is read from and written to.
  Storage StoreInUse() const { return storage_; }
  // After a switch, the text each pad wrote there is the one both sides had.
  void UseStore(Storage storage);
  // The folder chosen for the pad files, as stored at the start; "" for the program's own.
  void UseFolder(std::string_view folder) { store_.UseFolder(folder); }

  // Reads the pad. Nothing when it cannot be read: the pad is then unread, and its store is not
  // replaced before its content has been read or kept in the history. A pad too large to edit
  // gives its first kMaxCharacters to show; its store is left alone.
  std::optional<std::string> Load(int pad);

  // True when the pad's store holds text the program neither read nor wrote there: another
  // program or computer changed it. Costs no read while the store's stamp is unchanged.
  bool ChangedElsewhere(int pad);
  // Takes the text another program or computer wrote to the pad's store into the pad, which
  // shows `shown`: as it is where the pad was not edited here since it last took text in,
  // merged by lines with the edits made here otherwise. What the pad showed before, and the
  // other text where the two could not be merged, go to the history; a merged text is stored,
  // and with a key `typing` now, the pad's text where the two could not be merged.
  TakenIn TakeIn(int pad, std::string_view shown, bool typing);

  // A conflict copy a sync service left, taken in: whose it was, and what its pad is to show.
  struct CopyTakenIn {
    int pad = 0;
    Taken how = Taken::Nothing;
    std::string text;
  };
  // Keeps each conflict copy in the pads' folder in its pad's history, byte for byte; merges it
  // into the pad (which shows `shown(pad)`) where the two merge by lines, and stores the
  // result; then removes the copy. A copy that could not be kept in the history stays where it
  // is. Only while the pad files are in use, in a folder the user chose.
  std::vector<CopyTakenIn> TakeInConflictCopies(const std::function<std::string(int pad)>& shown);

  // The user changed the pad; the change waits to be stored.
  void MarkChanged(int pad) { At(pad).changePending = true; }
  // True once for a change waiting to be stored.
  bool TakeChange(int pad) { return std::exchange(At(pad).changePending, false); }
  // Stores the user's edit that made the pad `text`: first the versions the history's rules
  // ask for, then the store. A store written elsewhere since the program last saw it is left
  // for TakeIn. Failed: the store does not hold the text; the pad is unsaved.
  enum class EditStored { Stored, Failed, ChangedElsewhere };
  EditStored StoreEdit(int pad, std::string_view text);
  // The same from the text as the pad's control holds it and, where the pad knows it, the one
  // edit since its text was last stored: the store's text then follows the edit, and the
  // registry is written from the pad's own UTF-16, so that a keystroke costs no conversion of
  // the whole text.
  EditStored StoreEdit(int pad, const ShownEdit& shown);
  // Writes the pad's text, keeping what the store held first; false when it failed.
  bool Save(int pad, std::string_view text);
  // Writes every pad's text to `to`, for a switch of store; a pad that is empty where `to` holds
  // nothing is left out. The first pad that cannot be written stops it and stays as saved as
  // it was in the store in use.
  std::optional<Failure> CopyAllTo(Storage to, const std::function<std::string(int pad)>& padText);
  // Moves the pad files to `folder` ("" the program's own), the user's choice. A folder that
  // holds no pads yet takes every pad's text (`padText`) at once. One that holds pads already
  // (a second computer joining a synced folder) has the shared notes: each pad's text goes to
  // its history, for the pads to be read from there (`joined`); the program's own folder is
  // never joined, the pads go back there as they are. A folder
  // that cannot be written, or a pad that cannot be, changes nothing and comes back as a
  // failure (pad 0 for the folder itself).
  struct FolderMove {
    bool joined = false;
    std::optional<Failure> failure;
  };
  FolderMove MoveToFolder(std::string_view folder,
                          const std::function<std::string(int pad)>& padText);
  const std::string& ChosenFolder() const { return store_.ChosenFolder(); }
  const std::string& PadFolder() const { return store_.Folder(); }
  const std::string& ProgramFolder() const { return store_.ProgramFolder(); }

  // Adds a version of the pad's text to the history or, where that cannot be written, to the
  // rescue history; a failure is remembered in HistoryProblem until the history works again.
  KeptIn AddVersion(int pad, std::string_view text);

  PadStatus Status(int pad) const { return At(pad).status; }
  bool AnyUnsaved() const;
  // Why the pad is unread, too large or unsaved: "file C:\...: Access is denied."
  const std::string& Problem(int pad) const { return At(pad).problem; }
  // True once after the content of a store that could not be read went to the history before
  // the user's text replaced it.
  bool TakeUnreadContentKept(int pad) { return std::exchange(At(pad).unreadContentKept, false); }

  // Why the history cannot be written, and whether the rescue history took the versions
  // instead; "" while the history works.
  const std::string& HistoryProblem() const { return historyProblem_; }
  bool RescueWorks() const { return rescueWorks_; }
  std::string RescueFolder() const { return rescue_.Root(); }

 private:
  PadRecord& At(int pad) { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  const PadRecord& At(int pad) const { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  bool Write(Storage storage, int pad, std::string_view text);
  bool WriteSeen(Storage storage, int pad, std::string_view text);
  bool Replace(Storage storage, int pad, const std::function<void()>& write);
  bool StoreFollowingEdit(int pad, const PadEdit& edit, TextPlace near, std::u16string_view shown);
  bool StoreWholeText(int pad, std::u16string_view shown);
  void KeepTextBefore(int pad, std::size_t removed);
  void KeepSettled(PadRecord& r);
  bool CopyStoreToHistoryOnce(Storage storage, int pad);
  bool HoldsAnything(Storage storage, int pad);
  bool KeepUnseenContent(int pad);
  static std::string_view MergeBase(const PadRecord& r, std::string_view incoming);
  // How long a text stays in the store before a sync service has likely carried it off.
  static constexpr std::int64_t kSettled = 1000;
  std::string AddToHistoryOrRescue(const std::function<void(History&)>& add);
  bool Fail(int pad, std::string problem);

  PadStore& store_;
  History& history_;
  History& rescue_;
  Clock& clock_;
  Storage storage_ = Storage::SettingsStore;
  std::array<PadRecord, kPadCount> pads_;
  std::string historyProblem_;
  bool rescueWorks_ = true;
  std::string converted_;  // a pad's text as stored, in memory that each conversion uses again
};

}  // namespace vorn
