// What a pad takes in of what another program or computer wrote: the store's new text shown as
// it is where the pad was not edited here since it last took text in, merged by lines with the
// edits made here otherwise (`line_merge`), and both kept in the history where they could not
// be merged; and the files sync services leave in the pads' folder. It decides; the writer
// writes, once the store has held still a moment.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/pad_record.h"
#include "core/pad_store.h"
#include "core/pad_writer.h"
#include "core/version_keeper.h"

namespace vorn {

class PadSync {
 public:
  PadSync(PadWriter& writer, PadStore& store, VersionKeeper& versions, PadRecords& records)
      : writer_(writer), store_(store), versions_(versions), pads_(records) {}

  // How a pad took in its store's text written elsewhere.
  enum class Taken {
    Nothing,   // the store holds what the program last read or wrote there
    Replaced,  // the pad was not edited here since it last took text in: it shows the new text
    Merged,    // edits made here and elsewhere are both in the pad, and go to the store
    Kept,      // the pad already held every line of the new text: it stays, and is stored
    Conflict,  // both sides changed the same lines: both are kept in the history; the pad
               // keeps its text with a key typed now, else it shows the other
    TooLarge,  // the new text is too long to edit: the pad shows its start read-only, and what
               // it showed is kept in the history
  };
  struct TakenIn {
    Taken how = Taken::Nothing;
    std::string text;  // what the pad is to show
  };
  // Takes `incoming`, which another program or computer wrote to the pad's store (found by a
  // look at the store, with its `stamp`), into the pad, which shows `shown`. What the pad showed
  // before, and the other text where the two could not be merged, go to the history. Where the
  // pad is to show other text than the store's, it is marked changed, to be stored.
  TakenIn TakeIn(int pad, const std::string& incoming, std::string stamp, std::string_view shown,
                 bool typing);

  // A copy a sync service left, taken in: whose it was, and what its pad is to show.
  struct CopyTakenIn {
    int pad = 0;
    Taken how = Taken::Nothing;
    std::string text;
  };
  struct FolderFinds {
    // Kept in the history byte for byte, merged into the pad where the two merge by lines, and
    // removed from the folder (a copy that could not be kept stays).
    std::vector<CopyTakenIn> copies;
    // Names that may be a sync service's copies and may as well be the user's: left as they
    // are, told once in a run.
    std::vector<std::string> leftAlone;
    // What other computers' interrupted saves left: kept in the history once in a run, and
    // left as they are.
    std::vector<std::string> othersSaves;
  };
  // Takes in the files found in the chosen folder that belong with a pad; each pad shows
  // `shown(pad)`.
  FolderFinds TakeInFolderFinds(const std::vector<PadStore::Found>& found,
                                const std::function<std::string(int pad)>& shown);

 private:
  PadRecord& At(int pad) { return pads_.at(static_cast<std::size_t>(pad - 1)); }
  static std::string_view MergeBase(PadRecord& r, std::string_view incoming);
  std::optional<CopyTakenIn> TakeInCopy(const PadStore::Found& found, std::string shown);

  PadWriter& writer_;
  PadStore& store_;
  VersionKeeper& versions_;
  PadRecords& pads_;
  std::vector<std::string> told_;  // found files already told or kept in this run
  bool FirstTime(const std::string& found);
};

}  // namespace vorn
