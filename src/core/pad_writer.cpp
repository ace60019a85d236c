#include "core/pad_writer.h"

#include <algorithm>

#include "core/utf.h"

namespace vorn {

namespace {

std::size_t Index(Storage storage) { return storage == Storage::SettingsStore ? 0 : 1; }

// The system's clock moves in steps of some 16 ms, and a file's time with it: a stamp taken
// within that long of a change may be the same after another one.
constexpr std::int64_t kClockStep = 100;

}  // namespace

void PadWriter::UseStore(Storage storage) {
  storage_ = storage;
  for (int pad = 1; pad <= kPadCount; ++pad) {
    PadRecord& r = At(pad);
    r.stamp = store_.Stamp(storage, pad);
    r.stampUnsure = false;
    r.holdUntil = r.emptySince = 0;
    r.keyPlace.reset();
  }
}

PadWriter::Look PadWriter::LookAtStore(int pad, const std::optional<std::string>& stamp) {
  PadRecord& r = At(pad);
  Look look;
  look.stamp = stamp ? *stamp : store_.Stamp(storage_, pad);
  bool sameStamp = look.stamp == r.stamp;
  // A store whose content is unknown (it could not be read, or is too large to edit) is never
  // compared; a new stamp says it holds something the history has not got.
  if (!r.stored) {
    if (!sameStamp) look.is = Look::Is::Unreadable;
    return look;
  }
  if (sameStamp && !r.stampUnsure) return look;
  std::int64_t now = clock_.NowUtcMillis();
  try {
    look.text = store_.Read(storage_, pad).value_or("");
  } catch (const PlatformError&) {
    if (!sameStamp) look.is = Look::Is::Unreadable;
    return look;
  }
  if (look.text == *r.stored) {
    r.stamp = std::move(look.stamp);  // written again with the same text, or touched
    r.emptySince = 0;
    if (now - r.changedAt > std::max(store_.StampTimeStep(storage_), kClockStep)) {
      r.stampUnsure = false;
    }
    look.stamp = r.stamp;
    return look;
  }
  // A store emptied (a file truncated before it is written anew, or deleted) is not the last
  // word until it has stayed so a moment.
  if (look.text.empty()) {
    if (!r.emptySince) r.emptySince = now;
    if (now - r.emptySince < kHold) {
      look.is = Look::Is::Settling;
      return look;
    }
  }
  r.emptySince = 0;
  look.is = Look::Is::Changed;
  return look;
}

PadWriter::Result PadWriter::Write(int pad, Storage storage, const NewText& text) {
  PadRecord& r = At(pad);
  if (r.status == PadStatus::TooLarge) return Result(Written::Failed);  // never replaced
  if (storage == storage_) {
    // An edit not written now is not the one edit between the store and the next text: that
    // write takes the whole text.
    auto unwritten = [&r](Result result) {
      r.keyPlace.reset();
      return result;
    };
    if (clock_.NowUtcMillis() < r.holdUntil) return unwritten(Result(Written::NotYet));
    Look look = LookAtStore(pad);
    switch (look.is) {
      case Look::Is::Same: break;
      case Look::Is::Changed:
        return unwritten(
            Result(Written::ChangedElsewhere, std::move(look.text), std::move(look.stamp)));
      case Look::Is::Settling: return unwritten(Result(Written::NotYet));
      case Look::Is::Unreadable:
        if (!KeepUnseenContent(pad)) return unwritten(Result(Written::Failed));
        break;
    }
  }
  return Result(WriteText(pad, storage, text) ? Written::Stored : Written::Failed);
}

bool PadWriter::WriteText(int pad, Storage storage, const NewText& text) {
  PadRecord& r = At(pad);
  const bool inUse = storage == storage_;
  // The store's text can follow the edit where it is the text the pad held before it.
  std::optional<TextPlace> place =
      inUse && r.stored && text.shown && text.edit ? r.keyPlace : std::nullopt;
  r.keyPlace.reset();  // set again where the store takes this text
  std::string_view stored = text.stored;
  if (text.shown && !place) {
    Utf8FromUtf16Into(converted_, *text.shown, true);
    stored = converted_;
  }
  if (text.edited) {
    KeepTextBefore(pad, place ? text.edit->removed
                              : RemovedLength(r.stored ? std::string_view(*r.stored) : "", stored));
    // Texts made and removed between two stores; the stored one is kept as above, or as the
    // store's content.
    for (const std::u16string& before : text.beforeLargeRemovals ? *text.beforeLargeRemovals
                                                                    : std::vector<std::u16string>{}) {
      std::string utf8 = Utf8FromUtf16(before, true);
      if (!r.stored || utf8 != *r.stored) versions_.AddText(pad, utf8);
    }
  }
  if (!CopyStoreToHistoryOnce(storage, pad)) return false;
  KeepSettled(r);
  if (place) {
    // Costs what the edit changed, not the whole text; the record goes back to what the store
    // holds where the write fails.
    std::string& t = *r.stored;
    TextPlace at = PlaceOfUnits(t, text.edit->at, *place);
    TextPlace end = PlaceOfUnits(t, text.edit->at + text.edit->removed, at);
    std::string removed = t.substr(at.bytes, end.bytes - at.bytes);
    std::string inserted =
        Utf8FromUtf16(text.shown->substr(text.edit->at, text.edit->inserted), true);
    t.replace(at.bytes, removed.size(), inserted);
    try {
      store_.Write(storage, pad, *text.shown, t, text.edit);
    } catch (const PlatformError& e) {
      t.replace(at.bytes, inserted.size(), removed);
      return Fail(pad, e.what());
    }
    r.settled.Edited(r.stored, at.bytes, std::move(removed), inserted.size());
    r.keyPlace = TextPlace{at.units + text.edit->inserted, at.bytes + inserted.size()};
  } else {
    try {
      if (text.shown) {
        store_.Write(storage, pad, *text.shown, stored);
      } else {
        store_.Write(storage, pad, stored);
      }
    } catch (const PlatformError& e) {
      return Fail(pad, e.what());
    }
    // Into the string it had: a new one per write would cost a large pad fresh pages each time.
    // (Written to another store, for a switch, the text is the one both stores now hold.)
    r.settled.Replacing(r.stored);
    if (!r.stored) r.stored.emplace();
    if (stored.data() == converted_.data()) {
      r.stored->swap(converted_);
    } else {
      r.stored->assign(stored);
    }
    if (text.shown) r.keyPlace = TextPlace{};
  }
  NoteWritten(pad, storage);
  return true;
}

// What the program knows of the store after its write.
void PadWriter::NoteWritten(int pad, Storage storage) {
  PadRecord& r = At(pad);
  std::int64_t now = clock_.NowUtcMillis();
  if (storage == storage_) {
    std::string before = std::move(r.stamp), after = store_.Stamp(storage, pad);
    // The registry's values share their key's stamp, so this write changed the others' too:
    // those that were as they saw them are still. (A pad whose store changed unseen keeps the
    // stamp it had, and its change is found.)
    if (storage == Storage::SettingsStore) {
      for (PadRecord& other : pads_) {
        if (&other != &r && other.stamp == before) other.stamp = after;
      }
    }
    r.stamp = std::move(after);
    // Where the times are coarse, a write by someone else right after this one may leave the
    // stamp as it is: until the step has passed, the content tells.
    r.stampUnsure = store_.StampTimeStep(storage) > 0;
    r.changedAt = now;
    r.writtenSinceRecord = storage == Storage::PadFiles;
  }
  r.status = PadStatus::Stored;
  r.problem.clear();
  r.writtenAt = now;
  if (storage == storage_) r.waitingSince = 0;
}

void PadWriter::TookIn(int pad, const std::string& text, std::string stamp) {
  PadRecord& r = At(pad);
  std::int64_t now = clock_.NowUtcMillis();
  bool shorter = r.stored && text.size() < r.stored->size();
  r.settled.Replacing(r.stored);
  if (r.stored) {
    r.stored->assign(text);
  } else {
    r.stored.emplace(text);
  }
  r.keyPlace.reset();
  r.stamp = std::move(stamp);
  // Another write may follow within the time step and leave the stamp as it is (a burst of
  // saves): the content tells, the next time the store is looked at.
  r.stampUnsure = true;
  r.changedAt = now;
  r.holdUntil = shorter ? now + kHold : 0;
  r.emptySince = 0;
}

// Where the edit removed much, or a while has passed, the text before it goes to the history.
// Until the store's content is in the history (at the first save of a run), that copy is the
// version before; an unread pad's earlier text is known only that way.
void PadWriter::KeepTextBefore(int pad, std::size_t removed) {
  PadRecord& r = At(pad);
  std::int64_t now = clock_.NowUtcMillis();
  // What a large removal took is the user's; a version every ten minutes nobody asked for.
  Worth worth = removed >= VersionTiming::kLargeRemoval ? Worth::Kept : Worth::Routine;
  if (r.versions.WantsTextBefore(removed, now) && r.stored && r.storeContentKept[Index(storage_)] &&
      versions_.AddText(pad, *r.stored, worth) != VersionKeeper::KeptIn::Nowhere) {
    r.versions.VersionTaken(now);
  }
}

// The first write after a pause keeps the text that sat in the store through it.
void PadWriter::KeepSettled(PadRecord& r) {
  if (r.stored && clock_.NowUtcMillis() - r.writtenAt >= kSettled) r.settled.Settle();
}

// Before a store is first replaced in a run, what it holds goes to the history as it is.
bool PadWriter::CopyStoreToHistoryOnce(Storage storage, int pad) {
  PadRecord& r = At(pad);
  bool& kept = r.storeContentKept[Index(storage)];
  if (kept) return true;
  std::string stamp = store_.Stamp(storage, pad);
  std::optional<StoredBytes> content;
  try {
    content = store_.ReadBytes(storage, pad);
  } catch (const PlatformError& e) {
    // What cannot be read is not replaced: it may hold the only copy of someone's text.
    return Fail(pad, e.what());
  }
  if (content) {
    // A pad that was read shows what its store held; one that was not must be kept first.
    std::string problem =
        versions_.AddStoredBytes(pad, *content, r.stored ? Worth::Routine : Worth::Kept);
    if (!problem.empty() && !r.stored) {
      return Fail(pad, store_.Where(storage, pad) +
                           ": what it holds could not be read and could not be kept in the "
                           "history (" +
                           problem + "), so it was not replaced.");
    }
    if (!r.stored && !content->bytes.empty()) r.unreadContentKept = true;
  }
  if (!r.stored && storage == storage_) r.stamp = std::move(stamp);  // what was kept
  kept = true;
  r.versions.VersionTaken(clock_.NowUtcMillis());
  return true;
}

bool PadWriter::KeepUnseenContent(int pad) {
  PadRecord& r = At(pad);
  // Taken first: a write after it shows as another change.
  std::string stamp = store_.Stamp(storage_, pad);
  std::optional<StoredBytes> content;
  try {
    content = store_.ReadBytes(storage_, pad);
  } catch (const PlatformError& e) {
    return Fail(pad, e.what());
  }
  if (content) {
    std::string problem = versions_.AddStoredBytes(pad, *content);
    if (!problem.empty()) {
      return Fail(pad, store_.Where(storage_, pad) +
                           " was changed by another program, and what it holds could not be kept "
                           "in the history (" +
                           problem + "), so it was not replaced.");
    }
    if (!content->bytes.empty()) r.unreadContentKept = true;
  }
  r.stamp = std::move(stamp);
  return true;
}

void PadWriter::MarkChanged(int pad) {
  PadRecord& r = At(pad);
  r.changePending = true;
  if (!r.waitingSince) r.waitingSince = clock_.NowUtcMillis();
}

bool PadWriter::HoldsNothing(Storage storage, int pad) {
  try {
    return !store_.ReadBytes(storage, pad).has_value();
  } catch (const PlatformError&) {
    return false;
  }
}

bool PadWriter::Fail(int pad, std::string problem) {
  PadRecord& r = At(pad);
  r.status = PadStatus::Unsaved;
  r.problem = std::move(problem);
  return false;
}

}  // namespace vorn
