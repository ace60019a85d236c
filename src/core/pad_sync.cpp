#include "core/pad_sync.h"

#include <algorithm>

#include "core/line_merge.h"
#include "core/utf.h"

namespace vorn {

PadSync::TakenIn PadSync::TakeIn(int pad, const std::string& incoming, std::string stamp,
                                 std::string_view shown, bool typing) {
  PadRecord& r = At(pad);
  TakenIn taken{Taken::Nothing, std::string(shown)};
  if (!r.stored || incoming == *r.stored) return taken;

  // Too long to edit: the pad shows its start read-only, as at a start, and what it showed
  // (typed here, perhaps) is kept.
  if (std::size_t length = Utf16Length(incoming); length > kMaxPadCharacters) {
    if (versions_.AddText(pad, shown) == VersionKeeper::KeptIn::Nowhere && !shown.empty()) {
      writer_.Fail(pad, store_.Where(writer_.StoreInUse(), pad) + " was given " +
                            std::to_string(length) +
                            " characters elsewhere, more than a pad edits, and the history "
                            "cannot keep what the pad shows: it is not replaced.");
      return taken;  // looked at again, and the pad keeps its text
    }
    r.status = PadStatus::TooLarge;
    r.problem = TooLargeToEdit(store_.Where(writer_.StoreInUse(), pad), length);
    r.settled.Replacing(r.stored);
    r.stored.reset();
    r.base.reset();
    r.keyPlace.reset();
    r.stamp = std::move(stamp);
    r.changePending = false;
    return {Taken::TooLarge, std::string(FirstUnits(incoming, kMaxPadCharacters))};
  }

  std::string_view base = MergeBase(r, incoming);
  // A pad not edited here since it last took text in takes the new text, whatever base a merge
  // would start from; what it showed is then no text of the user's.
  const bool untouched = shown == (r.base ? *r.base : *r.stored);
  const Worth shownWorth = untouched ? Worth::Outside : Worth::Kept;
  if (untouched || shown == base || HoldsLinesOf(incoming, shown)) {
    taken = {Taken::Replaced, incoming};
  } else if (HoldsLinesOf(shown, incoming)) {
    taken.how = Taken::Kept;
  } else if (std::optional<std::string> merged = MergeLines(base, shown, incoming)) {
    taken = {*merged == incoming ? Taken::Replaced : Taken::Merged, std::move(*merged)};
  } else {
    // Both texts are kept. With a key typed now the pad keeps its text and stores it; otherwise
    // it shows the other one, which its store holds: were each side to store its own text again
    // at once, the two would go on replacing each other's, and the pads and their files would
    // never agree.
    taken = {Taken::Conflict, typing ? std::string(shown) : incoming};
  }
  bool conflict = taken.how == Taken::Conflict;
  if (taken.text != shown || conflict) {
    versions_.AddText(pad, shown, conflict ? Worth::Kept : shownWorth);
  }
  if (conflict) versions_.AddText(pad, incoming);
  // The store holds the new text, which both sides now had.
  writer_.TookIn(pad, incoming, std::move(stamp));
  r.base = incoming;
  if (taken.text != incoming) writer_.MarkChanged(pad);
  return taken;
}

PadSync::FolderFinds PadSync::TakeInFolderFinds(
    const std::vector<PadStore::Found>& all, const std::function<std::string(int pad)>& shown) {
  FolderFinds finds;
  for (const PadStore::Found& found : all) {
    std::string once = found.name + ":" + std::to_string(found.size);
    switch (found.kind) {
      case PadStore::Found::Kind::SyncCopy:
        if (std::optional<CopyTakenIn> copy = TakeInCopy(found, shown(found.pad))) {
          finds.copies.push_back(std::move(*copy));
        }
        break;
      case PadStore::Found::Kind::PerhapsSyncCopy:
        if (FirstTime(once)) finds.leftAlone.push_back(found.name);
        break;
      case PadStore::Found::Kind::OtherComputersSave:
        if (std::find(told_.begin(), told_.end(), once) != told_.end()) break;
        try {
          if (!versions_.AddStoredBytes(found.pad, store_.ReadFound(found)).empty()) break;
        } catch (const PlatformError&) {
          break;  // looked at again later
        }
        FirstTime(once);
        finds.othersSaves.push_back(found.name);
        break;
    }
  }
  return finds;
}

bool PadSync::FirstTime(const std::string& found) {
  if (std::find(told_.begin(), told_.end(), found) != told_.end()) return false;
  told_.push_back(found);
  return true;
}

std::optional<PadSync::CopyTakenIn> PadSync::TakeInCopy(const PadStore::Found& found,
                                                        std::string shown) {
  PadRecord& r = At(found.pad);
  StoredBytes bytes;
  try {
    bytes = store_.ReadFound(found);
  } catch (const PlatformError&) {
    return std::nullopt;  // looked at again later
  }
  // Never removed before its text is kept.
  if (!versions_.AddStoredBytes(found.pad, bytes).empty()) return std::nullopt;
  std::string text = DecodePadFile(bytes.bytes, store_.Legacy());
  CopyTakenIn result{found.pad, Taken::Conflict, std::move(shown)};
  if (r.stored && r.status != PadStatus::TooLarge) {
    std::string_view base = r.base ? std::string_view(*r.base) : std::string_view(*r.stored);
    if (HoldsLinesOf(result.text, text)) {
      result.how = Taken::Kept;
    } else if (HoldsLinesOf(text, result.text)) {
      result.how = Taken::Replaced;
      result.text = std::move(text);
    } else if (result.text == base) {
      // Nothing changed here to merge with: the file the service kept is the one it chose, the
      // copy stays in the history only.
    } else if (std::optional<std::string> merged = MergeLines(base, result.text, text)) {
      result.how = Taken::Merged;
      result.text = std::move(*merged);
    }
  }
  if (result.how == Taken::Replaced || result.how == Taken::Merged) {
    versions_.AddText(found.pad, shown);
    writer_.MarkChanged(found.pad);  // the pad's store takes what it shows now
  }
  store_.RemoveFound(found);
  return result;
}

// The text the one who wrote `incoming` started from, as far as this computer can tell: the
// one it last took in, which both sides had; or, where `incoming` lies nearer to it, one it
// wrote, which the other side had then seen (as when the other computer, in reach, took in
// what was typed here and changed it): the last one that stayed in the store a while, or the
// last one. Where two lie as near, the older; an empty one only where nothing else is known.
std::string_view PadSync::MergeBase(PadRecord& r, std::string_view incoming) {
  std::string_view best = r.base ? std::string_view(*r.base) : std::string_view(*r.stored);
  std::optional<std::size_t> nearest = LinesChanged(best, incoming);
  const std::optional<std::string>& settled = r.settled.Text(r.stored);
  const std::optional<std::string>& stored = r.stored;
  for (const std::optional<std::string>* written : {&settled, &stored}) {
    if (!*written || **written == best) continue;
    std::optional<std::size_t> distance = LinesChanged(**written, incoming);
    // An empty text is near a short one, but shares nothing with it: a text written here that
    // holds lines is the better start.
    if (distance && (!nearest || *distance < *nearest || (best.empty() && !(*written)->empty()))) {
      best = **written;
      nearest = distance;
    }
  }
  return best;
}

}  // namespace vorn
