// The one way a pad's store is written. Before it writes, it makes sure the store holds what the
// program last saw there (another program or computer may have written it since); before a
// store is first replaced in a run, what it held goes to the history, byte for byte; it keeps the
// text an edit removes or replaces in large part, and a version every ten minutes of editing;
// then it writes, takes the store's new stamp, and on a failure leaves the pad's record as the
// store still is. Everything else that writes a store (a key, a retry, a merge, a switch of
// store, a move of folder) goes through Write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/pad_mirror.h"
#include "core/pad_record.h"
#include "core/pad_store.h"
#include "core/version_keeper.h"

namespace vorn {

// A pad's new text for its store: as stored (UTF-8, a line break CR LF), or as the pad's control
// holds it (UTF-16, a line break one CR) with, where the pad knows it, the one edit made since
// the text was last stored: the store's text then follows that edit, and a keystroke costs no
// conversion of the whole text.
struct NewText {
  std::string_view stored;
  std::optional<std::u16string_view> shown;
  std::optional<PadEdit> edit;
  // The user's edit (typed, cut, pasted, restored): the history's rules for edits apply, and
  // the texts before the large removals the pad saw since its last store are kept.
  bool edited = false;
  const std::vector<std::u16string>* beforeLargeRemovals = nullptr;

  static NewText Stored(std::string_view text, bool edited) {
    return {text, {}, {}, edited, nullptr};
  }
  static NewText Shown(const ShownEdit& shown) {
    return {{}, shown.text, shown.edit, true, &shown.beforeLargeRemovals};
  }
};

class PadWriter {
 public:
  // How long a store another program or computer just made shorter is left alone before it is
  // written here, and an empty one seen for a moment before it is taken for the new text.
  static constexpr std::int64_t kHold = 1000;

  PadWriter(PadStore& store, VersionKeeper& versions, Clock& clock, PadRecords& records)
      : store_(store), versions_(versions), clock_(clock), pads_(records) {}

  Storage StoreInUse() const { return storage_; }
  // The store every pad is read from and written to from now on; its stamps are taken anew.
  void UseStore(Storage storage);

  // What the store in use holds for a pad, against what the program last saw there.
  struct Look {
    enum class Is {
      Same,        // what the program last saw
      Changed,     // another text, written elsewhere: `text`, with its `stamp`
      Settling,    // emptied elsewhere a moment ago: looked at again before it counts
      Unreadable,  // changed, but not readable as text (another program holds it, no text)
    };
    Is is = Is::Same;
    std::string text, stamp;
  };
  // Costs no read while the store's stamp is as the program left it and can be trusted.
  // `stamp`, where given, is the store's from a look at its folder.
  Look LookAtStore(int pad, const std::optional<std::string>& stamp = std::nullopt);

  enum class Written {
    Stored,
    Failed,            // the store does not hold the text; the pad is unsaved and says why
    ChangedElsewhere,  // written elsewhere since last seen: `incoming` is to be taken in first
    NotYet,            // another program or computer is writing the store: tried again shortly
  };
  struct Result {
    explicit Result(Written w, std::string text = {}, std::string textStamp = {})
        : is(w), incoming(std::move(text)), stamp(std::move(textStamp)) {}
    Written is;
    std::string incoming, stamp;
  };
  // Writes the pad's text to `storage`: the store in use once it holds what was last seen, or
  // another one (a switch of store, a move of folder) whose content the history then keeps.
  Result Write(int pad, Storage storage, const NewText& text);

  // The store's content, changed elsewhere, read or not, goes to the history; false when it
  // could not be kept there (the pad is then unsaved and says why).
  bool KeepUnseenContent(int pad);

  // Notes what the program knows of the pad's store after it took text in from elsewhere: the
  // store holds `text` with `stamp`. A text shorter than the one it replaced may be a writer's
  // work half done (an editor empties a file, then writes it anew): the store is then left
  // alone for a moment. (A sync service puts whole files in place; holding every take-in back
  // would keep two computers typing at once from ever storing their own keys.)
  void TookIn(int pad, const std::string& text, std::string stamp);

  // The pad shows text its store is to take: written at the model's next store of changes.
  void MarkChanged(int pad);

  // True when the store certainly holds nothing for the pad.
  bool HoldsNothing(Storage storage, int pad);
  bool Fail(int pad, std::string problem);

 private:
  PadRecord& At(int pad) { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  bool WriteText(int pad, Storage storage, const NewText& text);
  void KeepTextBefore(int pad, std::size_t removed);
  bool CopyStoreToHistoryOnce(Storage storage, int pad);
  void KeepSettled(PadRecord& r);
  void NoteWritten(int pad, Storage storage);

  // How long a text stays in the store before a sync service has likely carried it off.
  static constexpr std::int64_t kSettled = 1000;

  PadStore& store_;
  VersionKeeper& versions_;
  Clock& clock_;
  PadRecords& pads_;
  Storage storage_ = Storage::SettingsStore;
  std::string converted_;  // a pad's text as stored, in memory that each conversion uses again
};

}  // namespace vorn
