#include "core/pad_keeper.h"

#include <algorithm>
#include <functional>

#include "core/line_merge.h"
#include "core/number_text.h"
#include "core/utf.h"

namespace vorn {

namespace {

// The first `units` UTF-16 units of `utf8`, cut between characters.
std::string_view FirstUnits(std::string_view utf8, std::size_t units) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    if ((c & 0xC0) == 0x80) continue;
    std::size_t width = c >= 0xF0 ? 2 : 1;  // four bytes make a surrogate pair
    if (n + width > units) return utf8.substr(0, i);
    n += width;
  }
  return utf8;
}

std::size_t Index(Storage storage) { return storage == Storage::SettingsStore ? 0 : 1; }

}  // namespace

std::optional<std::string> PadKeeper::Load(int pad) {
  PadRecord& r = At(pad);
  std::string text;
  r.base.reset();
  r.keyPlace.reset();
  r.stamp = store_.Stamp(storage_, pad);
  try {
    text = store_.Read(storage_, pad).value_or("");
  } catch (const PlatformError& e) {
    r.status = PadStatus::Unread;
    r.problem = e.what();
    r.stored.reset();
    return std::nullopt;
  }
  if (std::size_t length = Utf16Length(text); length > kMaxCharacters) {
    r.status = PadStatus::TooLarge;
    r.problem = store_.Where(storage_, pad) + " holds " + WithThousands(length) +
                " characters, and a pad edits at most " + WithThousands(kMaxCharacters) +
                ": it shows the first of them and leaves the store as it is.";
    r.stored.reset();
    return std::string(FirstUnits(text, kMaxCharacters));
  }
  r.status = PadStatus::Stored;
  r.problem.clear();
  r.stored = text;
  r.base = std::move(text);
  return r.stored;
}

void PadKeeper::UseStore(Storage storage) {
  storage_ = storage;
  for (PadRecord& r : pads_) {
    r.base = r.stored;
    r.keyPlace.reset();
  }
}

bool PadKeeper::ChangedElsewhere(int pad) {
  PadRecord& r = At(pad);
  // An unread or too large pad's store is read again or left alone; it is never replaced.
  if (!r.stored) return false;
  std::string stamp = store_.Stamp(storage_, pad);
  if (stamp == r.stamp) return false;
  std::optional<std::string> now;
  try {
    now = store_.Read(storage_, pad);
  } catch (const PlatformError&) {
    return false;  // looked at again at the next change
  }
  if (now.value_or("") != *r.stored) return true;
  r.stamp = std::move(stamp);  // written again with the same text, or touched
  return false;
}

PadKeeper::TakenIn PadKeeper::TakeIn(int pad, std::string_view shown, bool typing) {
  PadRecord& r = At(pad);
  TakenIn taken{Taken::Nothing, std::string(shown)};
  if (!r.stored) return taken;
  std::string stamp = store_.Stamp(storage_, pad);
  std::string incoming;
  try {
    incoming = store_.Read(storage_, pad).value_or("");
  } catch (const PlatformError&) {
    return taken;
  }
  // A text too long to edit is not taken in; the store is not replaced while it holds one.
  if (Utf16Length(incoming) > kMaxCharacters) return taken;
  r.stamp = std::move(stamp);
  if (incoming == *r.stored) return taken;

  std::string_view base = MergeBase(r, incoming);
  if (shown == base || HoldsLinesOf(incoming, shown)) {
    taken = {Taken::Replaced, incoming};
  } else if (HoldsLinesOf(shown, incoming)) {
    taken.how = Taken::Kept;
  } else if (std::optional<std::string> merged = MergeLines(base, shown, incoming)) {
    taken = {*merged == incoming ? Taken::Replaced : Taken::Merged, std::move(*merged)};
  } else {
    taken.how = Taken::Conflict;
  }
  // In a conflict both texts are kept. The store takes the pad's text with a key typed now;
  // otherwise it keeps the other one until the next edit here: were each side to store its
  // own text again at once, the two would go on replacing each other's.
  bool conflict = taken.how == Taken::Conflict;
  if (taken.text != shown || conflict) AddVersion(pad, shown);
  if (conflict) AddVersion(pad, incoming);
  // The store holds the new text, which both sides now had.
  r.stored = incoming;
  r.keyPlace.reset();
  r.base = std::move(incoming);
  if ((!conflict || typing) && taken.text != *r.stored) Write(storage_, pad, taken.text);
  return taken;
}

PadKeeper::EditStored PadKeeper::StoreEdit(int pad, std::string_view text) {
  PadRecord& r = At(pad);
  if (r.status == PadStatus::TooLarge) return EditStored::Failed;
  if (ChangedElsewhere(pad)) return EditStored::ChangedElsewhere;
  KeepTextBefore(pad, RemovedLength(r.stored ? std::string_view(*r.stored) : "", text));
  return WriteSeen(storage_, pad, text) ? EditStored::Stored : EditStored::Failed;
}

PadKeeper::EditStored PadKeeper::StoreEdit(int pad, const ShownEdit& shown) {
  PadRecord& r = At(pad);
  // The store's text can follow the edit where it is the text the pad held before it.
  std::optional<TextPlace> place = r.stored && shown.edit ? r.keyPlace : std::nullopt;
  r.keyPlace.reset();  // set again where the store takes this text
  if (r.status == PadStatus::TooLarge) return EditStored::Failed;
  if (ChangedElsewhere(pad)) return EditStored::ChangedElsewhere;
  bool stored = place ? StoreFollowingEdit(pad, *shown.edit, *place, shown.text)
                      : StoreWholeText(pad, shown.text);
  return stored ? EditStored::Stored : EditStored::Failed;
}

// The store's text follows the edit, which costs what the edit changed and not the whole text;
// the store is written from the form it keeps (a value the pad's UTF-16, a file the UTF-8).
bool PadKeeper::StoreFollowingEdit(int pad, const PadEdit& edit, TextPlace near,
                                   std::u16string_view shown) {
  PadRecord& r = At(pad);
  KeepTextBefore(pad, edit.removed);
  if (!CopyStoreToHistoryOnce(storage_, pad)) return false;
  KeepSettled(r);
  std::string& text = *r.stored;
  TextPlace at = PlaceOfUnits(text, edit.at, near);
  TextPlace end = PlaceOfUnits(text, edit.at + edit.removed, at);
  std::string removed = text.substr(at.bytes, end.bytes - at.bytes);
  std::string inserted = Utf8FromUtf16(shown.substr(edit.at, edit.inserted), true);
  text.replace(at.bytes, removed.size(), inserted);
  if (!Replace(storage_, pad, [&] { store_.Write(storage_, pad, shown, text); })) {
    text.replace(at.bytes, inserted.size(), removed);  // the store holds what it held
    return false;
  }
  r.keyPlace = TextPlace{at.units + edit.inserted, at.bytes + inserted.size()};
  return true;
}

// The whole text converted once, into memory used again; the store's text from then on follows
// each edit the pad knows.
bool PadKeeper::StoreWholeText(int pad, std::u16string_view shown) {
  PadRecord& r = At(pad);
  Utf8FromUtf16Into(converted_, shown, true);
  KeepTextBefore(pad, RemovedLength(r.stored ? std::string_view(*r.stored) : "", converted_));
  if (!CopyStoreToHistoryOnce(storage_, pad)) return false;
  KeepSettled(r);
  if (!Replace(storage_, pad, [&] { store_.Write(storage_, pad, shown, converted_); })) {
    return false;
  }
  if (!r.stored) r.stored.emplace();
  r.stored->swap(converted_);
  r.keyPlace = TextPlace{};
  return true;
}

// Where the edit removed much, or a while has passed, the text before it goes to the history.
// Until the store's content is in the history (at the first save of a run), that copy is the
// version before; an unread pad's earlier text is known only that way.
void PadKeeper::KeepTextBefore(int pad, std::size_t removed) {
  PadRecord& r = At(pad);
  std::int64_t now = clock_.NowUtcMillis();
  if (r.versions.WantsTextBefore(removed, now) && r.stored && r.storeContentKept[Index(storage_)] &&
      AddVersion(pad, *r.stored) != KeptIn::Nowhere) {
    r.versions.VersionTaken(now);
  }
}

std::vector<PadKeeper::CopyTakenIn> PadKeeper::TakeInConflictCopies(
    const std::function<std::string(int pad)>& shown) {
  std::vector<CopyTakenIn> taken;
  if (storage_ != Storage::PadFiles) return taken;
  for (PadStore::ConflictCopy& copy : store_.ConflictCopies()) {
    PadRecord& r = At(copy.pad);
    if (!AddToHistoryOrRescue([&](History& h) {
           h.AddStoredBytes(copy.pad, copy.bytes);
         }).empty()) {
      continue;  // never removed before its text is kept
    }
    CopyTakenIn result{copy.pad, Taken::Conflict, shown(copy.pad)};
    if (r.stored && r.status != PadStatus::TooLarge) {
      std::string_view base = r.base ? std::string_view(*r.base) : std::string_view(*r.stored);
      if (HoldsLinesOf(result.text, copy.text)) {
        result.how = Taken::Kept;
      } else if (HoldsLinesOf(copy.text, result.text)) {
        result = {copy.pad, Taken::Replaced, copy.text};
      } else if (result.text == base) {
        // Nothing changed here to merge with: the file the service kept is the one it chose,
        // the copy stays in the history only.
      } else if (std::optional<std::string> merged = MergeLines(base, result.text, copy.text)) {
        result = {copy.pad, Taken::Merged, std::move(*merged)};
      }
    }
    if (result.how == Taken::Replaced || result.how == Taken::Merged) {
      AddVersion(copy.pad, shown(copy.pad));
      Write(storage_, copy.pad, result.text);
    }
    store_.RemoveConflictCopy(copy);
    taken.push_back(std::move(result));
  }
  return taken;
}

// The text the one who wrote `incoming` started from, as far as this computer can tell: the
// one it last took in, which both sides had; or, where `incoming` lies nearer to it, one it
// wrote, which the other side had then seen (as when the other computer, in reach, took in
// what was typed here and changed it): the last one that stayed in the store a while, or the
// last one. Where two lie as near, the older.
std::string_view PadKeeper::MergeBase(const PadRecord& r, std::string_view incoming) {
  std::string_view best = r.base ? std::string_view(*r.base) : std::string_view(*r.stored);
  std::optional<std::size_t> nearest = LinesChanged(best, incoming);
  for (const std::optional<std::string>* written : {&r.settled, &r.stored}) {
    if (!*written || **written == best) continue;
    std::optional<std::size_t> distance = LinesChanged(**written, incoming);
    if (distance && (!nearest || *distance < *nearest)) {
      best = **written;
      nearest = distance;
    }
  }
  return best;
}

bool PadKeeper::Save(int pad, std::string_view text) { return Write(storage_, pad, text); }

std::optional<PadKeeper::Failure> PadKeeper::CopyAllTo(
    Storage to, const std::function<std::string(int pad)>& padText) {
  for (int pad = 1; pad <= kPadCount; ++pad) {
    std::string text = padText(pad);
    if (text.empty() && !HoldsAnything(to, pad)) continue;  // no empty files to tidy
    if (!Write(to, pad, text)) {
      Failure failure{pad, At(pad).problem};
      Write(storage_, pad, text);
      return failure;
    }
  }
  return std::nullopt;
}

PadKeeper::FolderMove PadKeeper::MoveToFolder(std::string_view folder,
                                              const std::function<std::string(int pad)>& padText) {
  FolderMove move;
  std::string previous = store_.ChosenFolder();
  store_.UseFolder(folder);
  try {
    store_.CheckFolderWritable();
  } catch (const PlatformError& e) {
    store_.UseFolder(previous);
    move.failure = Failure{0, e.what()};
    return move;
  }
  bool filesInUse = storage_ == Storage::PadFiles;
  // The program's own folder is no shared one: the pads go back there as they are, and what
  // was left there goes to the history when it is replaced.
  for (int pad = 1; pad <= kPadCount && !move.joined && !folder.empty(); ++pad) {
    move.joined = HoldsAnything(Storage::PadFiles, pad);
  }
  // Where the pads were is left as it is, a copy of the notes as they were.
  for (PadRecord& r : pads_) r.storeContentKept[Index(Storage::PadFiles)] = false;
  if (!filesInUse) return move;  // used when "Store in Registry" is unticked
  for (int pad = 1; pad <= kPadCount; ++pad) {
    std::string text = padText(pad);
    if (move.joined) {
      if (!text.empty()) AddVersion(pad, text);
    } else if (!text.empty() || At(pad).status == PadStatus::Unsaved) {
      At(pad).stamp = store_.Stamp(storage_, pad);  // nothing there yet
      if (!Write(storage_, pad, text)) {
        move.failure = Failure{pad, At(pad).problem};
        store_.UseFolder(previous);
        for (int back = 1; back <= pad; ++back) At(back).stamp = store_.Stamp(storage_, back);
        return move;
      }
    }
  }
  UseStore(storage_);  // the texts there are the ones both sides have
  return move;
}

bool PadKeeper::AnyUnsaved() const {
  return std::any_of(pads_.begin(), pads_.end(),
                     [](const PadRecord& r) { return r.status == PadStatus::Unsaved; });
}

bool PadKeeper::Write(Storage storage, int pad, std::string_view text) {
  if (At(pad).status == PadStatus::TooLarge) return false;  // its store is never replaced
  if (storage == storage_ && !KeepUnseenContent(pad)) return false;
  return WriteSeen(storage, pad, text);
}

// Writes a store that holds what the program last saw there, or whose content is kept.
bool PadKeeper::WriteSeen(Storage storage, int pad, std::string_view text) {
  PadRecord& r = At(pad);
  if (!CopyStoreToHistoryOnce(storage, pad)) return false;
  KeepSettled(r);
  if (!Replace(storage, pad, [&] { store_.Write(storage, pad, text); })) return false;
  // Into the string it had: a new one per write would cost a large pad fresh pages each time.
  if (r.stored) {
    r.stored->assign(text);
  } else {
    r.stored.emplace(text);
  }
  r.keyPlace.reset();
  return true;
}

// The first write after a pause keeps the text that sat in the store through it.
void PadKeeper::KeepSettled(PadRecord& r) {
  if (r.stored && clock_.NowUtcMillis() - r.writtenAt >= kSettled) r.settled = r.stored;
}

// Replaces the store's content by `write`, and notes what the program knows of the store now.
bool PadKeeper::Replace(Storage storage, int pad, const std::function<void()>& write) {
  PadRecord& r = At(pad);
  // The store in use was just found as last seen, or its content kept.
  std::string before = storage == storage_ ? r.stamp : store_.Stamp(storage, pad);
  try {
    write();
  } catch (const PlatformError& e) {
    return Fail(pad, e.what());
  }
  // Pads whose store was as they saw it are still: where stores share a stamp (the registry
  // values' key), this write changed theirs too.
  std::string after = store_.Stamp(storage, pad);
  for (PadRecord& other : pads_) {
    if (&other != &r && other.stamp == before) other.stamp = after;
  }
  r.stamp = std::move(after);
  r.status = PadStatus::Stored;
  r.problem.clear();
  r.writtenAt = clock_.NowUtcMillis();
  return true;
}

// Before a store is first replaced in a run, what it holds goes to the history as it is.
bool PadKeeper::CopyStoreToHistoryOnce(Storage storage, int pad) {
  PadRecord& r = At(pad);
  bool& kept = r.storeContentKept[Index(storage)];
  if (kept) return true;
  std::optional<StoredBytes> content;
  try {
    content = store_.ReadBytes(storage, pad);
  } catch (const PlatformError& e) {
    // What cannot be read is not replaced: it may hold the only copy of someone's text.
    return Fail(pad, e.what());
  }
  if (content) {
    std::string problem =
        AddToHistoryOrRescue([&](History& h) { h.AddStoredBytes(pad, *content); });
    // A pad that was read shows what its store held; one that was not must be kept first.
    if (!problem.empty() && !r.stored) {
      return Fail(pad, store_.Where(storage, pad) +
                           ": what it holds could not be read and could not be kept in the "
                           "history (" +
                           problem + "), so it was not replaced.");
    }
    r.unreadContentKept = !r.stored && !content->bytes.empty();
  }
  kept = true;
  r.versions.VersionTaken(clock_.NowUtcMillis());
  return true;
}

// A store's content that the program has not seen goes to the history before it is replaced;
// false when it could not be kept there.
bool PadKeeper::KeepUnseenContent(int pad) {
  if (!ChangedElsewhere(pad)) return true;
  // Other pads' stores that share this stamp may have changed too: they keep the one they saw.
  At(pad).stamp = store_.Stamp(storage_, pad);
  std::optional<StoredBytes> content;
  try {
    content = store_.ReadBytes(storage_, pad);
  } catch (const PlatformError& e) {
    return Fail(pad, e.what());
  }
  if (!content) return true;
  std::string problem = AddToHistoryOrRescue([&](History& h) { h.AddStoredBytes(pad, *content); });
  if (problem.empty()) return true;
  return Fail(pad, store_.Where(storage_, pad) +
                       " was changed by another program, and what it holds could not be kept in "
                       "the history (" +
                       problem + "), so it was not replaced.");
}

// False only when the store certainly holds nothing for the pad.
bool PadKeeper::HoldsAnything(Storage storage, int pad) {
  try {
    return store_.ReadBytes(storage, pad).has_value();
  } catch (const PlatformError&) {
    return true;
  }
}

PadKeeper::KeptIn PadKeeper::AddVersion(int pad, std::string_view text) {
  std::string problem = AddToHistoryOrRescue([&](History& h) { h.AddText(pad, text); });
  if (!problem.empty()) return KeptIn::Nowhere;
  return historyProblem_.empty() ? KeptIn::History : KeptIn::Rescue;
}

// Adds a version with `add` to the history, or to the rescue history where the history cannot
// be written; the last reason when neither could, "" when one did.
std::string PadKeeper::AddToHistoryOrRescue(const std::function<void(History&)>& add) {
  try {
    add(history_);
    historyProblem_.clear();
    rescueWorks_ = true;
    return {};
  } catch (const PlatformError& e) {
    historyProblem_ = e.what();
  }
  try {
    add(rescue_);
    rescueWorks_ = true;
    return {};
  } catch (const PlatformError& e) {
    rescueWorks_ = false;
    return e.what();
  }
}

bool PadKeeper::Fail(int pad, std::string problem) {
  PadRecord& r = At(pad);
  r.status = PadStatus::Unsaved;
  r.problem = std::move(problem);
  return false;
}

}  // namespace vorn
