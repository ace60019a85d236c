// Keeps each pad's text safe between the window and its store. It reads the pads; before a
// store is first replaced in a run it takes what the store held, byte for byte, into the
// history; it keeps the text an edit removes or replaces in large part, and a version every
// ten minutes of editing; and it remembers what could not be read or saved, to be tried again.
// The rule it keeps: stored text survives, in the store or in the history.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/clock.h"
#include "core/history.h"
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

  // `rescue` is a second history elsewhere, for the text of a pad that cannot be saved when the
  // program ends and the first history cannot be written either.
  PadKeeper(PadStore& store, History& history, History& rescue, Clock& clock)
      : store_(store), history_(history), rescue_(rescue), clock_(clock) {}

  // Reads the pad from `storage`. Nothing when it cannot be read: the pad is then unread, and
  // its store is not replaced before its content has been read or kept in the history. A pad
  // too large to edit gives its first kMaxCharacters to show; its store is left alone.
  std::optional<std::string> Load(Storage storage, int pad);
  // The user changed the pad to `text`: the versions the rules ask for, then the store. False
  // when the store does not hold the text; the pad is then unsaved.
  bool Changed(Storage storage, int pad, std::string_view text);
  // Writes the pad's text to `storage`, keeping what the store held first; false when it failed.
  bool Save(Storage storage, int pad, std::string_view text);
  // Keeps the pad's text in the history or, where that cannot be written, in the rescue
  // history; a failure is remembered in HistoryProblem until the history works again.
  KeptIn Keep(int pad, std::string_view text);

  // Why the history cannot be written, and whether the rescue history took the versions
  // instead; "" while the history works.
  const std::string& HistoryProblem() const { return historyProblem_; }
  bool RescueWorks() const { return rescueWorks_; }
  std::string RescueFolder() const { return rescue_.Root(); }

  bool Unread(int pad) const { return !At(pad).loaded; }
  bool Unsaved(int pad) const { return At(pad).unsaved; }
  bool ChangedByUser(int pad) const { return At(pad).changedByUser; }
  bool TooLarge(int pad) const { return At(pad).tooLarge; }
  // Why the pad could not be read, or why it is not saved: "file C:\...: Access is denied."
  const std::string& Problem(int pad) const { return At(pad).problem; }
  // True once after the store of a pad that could not be read went to the history before the
  // user's text replaced it.
  bool TakeStoredKeptUnread(int pad) { return std::exchange(At(pad).storedKeptUnread, false); }

 private:
  struct PadState {
    std::string text;  // what the store held or was given last: what the next edit changes
    bool loaded = true;
    bool unsaved = false;
    bool changedByUser = false;
    bool tooLarge = false;
    std::string problem;
    bool storedKeptUnread = false;
    std::array<bool, 2> storedKept{};  // per store: its content as found was kept this run
  };
  PadState& At(int pad) { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  const PadState& At(int pad) const { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  bool KeepStored(Storage storage, int pad);
  std::string KeepVersion(const std::function<void(History&)>& keep);
  bool Fail(int pad, std::string problem);

  PadStore& store_;
  History& history_;
  History& rescue_;
  Clock& clock_;
  VersionPolicy policy_;
  std::array<PadState, kPadCount> pads_;
  std::string historyProblem_;
  bool rescueWorks_ = true;
};

}  // namespace vorn
