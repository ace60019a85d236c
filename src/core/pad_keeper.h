// Keeps each pad's text safe between the window and its store. It reads the pads; before a
// store is first replaced in a run it takes what the store held, byte for byte, into the
// history; it keeps the text an edit removes or replaces in large part, and a version every
// ten minutes of editing; and it remembers what could not be read or saved, to be tried again.
// The rule it keeps: stored text survives, in the store or in the history.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/history.h"
#include "core/pad_store.h"

namespace vorn {

class PadKeeper {
 public:
  // The most a pad's control is given to edit. Past these, typing in the rich-edit control
  // under Wine takes more than a tenth of a second per key (its time per key grows with the
  // square of a line's length: 75 ms at 3,000 characters, 0.2 s at 5,000), and filling it takes
  // seconds and some 150 bytes per character.
  static constexpr std::size_t kMaxCharacters = 2'000'000;
  static constexpr std::size_t kMaxLineCharacters = 3'000;

  // `rescue` is a second history elsewhere, for the text of a pad that cannot be saved when the
  // program ends and the first history cannot be written either.
  PadKeeper(PadStore& store, History& history, History& rescue, Clock& clock)
      : store_(store), history_(history), rescue_(rescue), clock_(clock) {}

  // Reads the pad from `storage`. Nothing when it cannot be read: the pad is then unread, and
  // its store is not replaced before its content has been read or kept in the history. Nor
  // when it is too large to edit: the pad is then too large, and its store is left alone.
  std::optional<std::string> Load(Storage storage, int pad);
  // The user changed the pad to `text`: the versions the rules ask for, then the store. False
  // when the store does not hold the text; the pad is then unsaved.
  bool Changed(Storage storage, int pad, std::string_view text);
  // Writes the pad's text to `storage`, keeping what the store held first; false when it failed.
  bool Save(Storage storage, int pad, std::string_view text);
  // Keeps the pad's text in the history (before a restore replaces it); false when it failed.
  bool Keep(int pad, std::string_view text);
  // Keeps the text of a pad that could not be saved wherever it can; false when nowhere.
  bool Rescue(int pad, std::string_view text);

  bool Unread(int pad) const { return !At(pad).loaded; }
  bool Unsaved(int pad) const { return At(pad).unsaved; }
  bool ChangedByUser(int pad) const { return At(pad).changedByUser; }
  bool TooLarge(int pad) const { return At(pad).tooLarge; }
  // Why the pad could not be read, or why it is not saved: "file C:\...: Access is denied."
  const std::string& Problem(int pad) const { return At(pad).problem; }

 private:
  struct PadState {
    std::string text;  // what the store held or was given last: what the next edit changes
    bool loaded = true;
    bool unsaved = false;
    bool changedByUser = false;
    bool tooLarge = false;
    std::string problem;
    std::array<bool, 2> storedKept{};  // per store: its content as found was kept this run
  };
  PadState& At(int pad) { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  const PadState& At(int pad) const { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  bool KeepStored(Storage storage, int pad);
  bool Fail(int pad, std::string problem);

  PadStore& store_;
  History& history_;
  History& rescue_;
  Clock& clock_;
  VersionPolicy policy_;
  std::array<PadState, kPadCount> pads_;
};

}  // namespace vorn
