#include "core/pad_keeper.h"

#include <algorithm>

#include "core/line_merge.h"
#include "core/utf.h"

namespace vorn {

namespace {

std::size_t Index(Storage storage) { return storage == Storage::SettingsStore ? 0 : 1; }

}  // namespace

std::optional<std::string> PadKeeper::Load(int pad) {
  PadRecord& r = At(pad);
  const Storage storage = StoreInUse();
  if (storage == Storage::PadFiles) FinishInterruptedSave(pad);
  std::string text;
  r.base.reset();
  r.keyPlace.reset();
  r.stampUnsure = false;
  r.stamp = store_.Stamp(storage, pad);
  try {
    text = store_.Read(storage, pad).value_or("");
  } catch (const PlatformError& e) {
    r.status = PadStatus::Unread;
    r.problem = e.what();
    r.settled.Replacing(r.stored);
    r.stored.reset();
    return std::nullopt;
  }
  std::optional<std::string> merged;
  if (storage == Storage::PadFiles) merged = TakeInWrittenHere(pad, text);
  if (storage == Storage::PadFiles && !merged) merged = TakeInVirtualCopy(pad, text);
  if (std::size_t length = Utf16Length(text); length > kMaxCharacters) {
    r.status = PadStatus::TooLarge;
    r.problem = TooLargeToEdit(store_.Where(storage, pad), length);
    r.settled.Replacing(r.stored);
    r.stored.reset();
    return std::string(FirstUnits(text, kMaxCharacters));
  }
  r.status = PadStatus::Stored;
  r.problem.clear();
  r.settled.Replacing(r.stored);
  r.stored = text;
  r.base = std::move(text);
  if (!merged) return r.stored;
  writer_.MarkChanged(pad);  // stored once the program runs
  return merged;
}

// A save of this computer's that was cut short is finished; what it replaces goes to the
// history first (a sync service may have brought it since).
void PadKeeper::FinishInterruptedSave(int pad) {
  store_.FinishInterruptedSave(pad, [&](const std::string& replaced) {
    std::string problem = versions_.AddStoredBytes(pad, {replaced, "file"});
    if (!problem.empty()) throw PlatformError(problem);
  });
}

// An earlier version without a manifest, run from Program Files, wrote its pads where Windows
// put them for it: the user's VirtualStore. Where the copy there is newer than the program's
// folder's, the pad takes it, once what the program's folder held is in the history (else at
// a later start); neither file is touched here.
std::optional<std::string> PadKeeper::TakeInVirtualCopy(int pad, const std::string& text) {
  std::optional<std::string> copy;
  try {
    copy = store_.ReadNewerVirtualCopy(pad);
  } catch (const PlatformError&) {
    return std::nullopt;  // held by another program: at the next start
  }
  if (!copy || *copy == text || Utf16Length(*copy) > kMaxCharacters) return std::nullopt;
  if (!text.empty() && versions_.AddText(pad, text) == VersionKeeper::KeptIn::Nowhere) {
    return std::nullopt;
  }
  At(pad).virtualCopyTaken = true;
  return copy;
}

// The text this computer last wrote to the pad's file, where the file now holds other text
// without all of its lines (a sync service chose another computer's while the program was not
// running), is merged with it by lines from the text both had, where the two merge; either way
// it goes to the history: whatever the service keeps, no text written here is only in the
// synced file. The merged text, for the pad to show, where there is one.
std::optional<std::string> PadKeeper::TakeInWrittenHere(int pad, const std::string& text) {
  History& history = versions_.Main();
  std::optional<History::Written> written = history.LastWritten(pad);
  std::string place = store_.Where(Storage::PadFiles, pad);
  if (!written || written->place != place) return std::nullopt;
  std::string here = DecodePadFile(written->bytes, store_.Legacy());
  std::optional<std::string> merged;
  if (here != text && !HoldsLinesOf(text, here) &&
      versions_.AddText(pad, here) != KeptIn::Nowhere) {
    if (written->base) {
      merged = MergeLines(DecodePadFile(*written->base, store_.Legacy()), here, text);
    }
    if (merged == text) merged.reset();
    (merged ? At(pad).writtenHereMerged : At(pad).writtenHereReplaced) = true;
  }
  try {
    std::string bytes(EncodePadFile(text));
    history.KeepWritten(pad, History::Written{place, bytes, bytes});
  } catch (const PlatformError&) {
    // Found again at the next read; the history keeps it once.
  }
  return merged;
}

void PadKeeper::RecordWrittenTexts() {
  if (StoreInUse() != Storage::PadFiles) return;
  for (int pad = 1; pad <= kPadCount; ++pad) {
    PadRecord& r = At(pad);
    if (!r.writtenSinceRecord || !r.stored) continue;
    History::Written written{store_.Where(Storage::PadFiles, pad), std::string(EncodePadFile(*r.stored)),
                             r.base ? std::optional<std::string>(EncodePadFile(*r.base)) : std::nullopt};
    try {
      versions_.Main().KeepWritten(pad, written);
      r.writtenSinceRecord = false;
    } catch (const PlatformError&) {
      // Tried again at the next tick.
    }
  }
}

void PadKeeper::UseStore(Storage storage) {
  writer_.UseStore(storage);
  for (PadRecord& r : pads_) r.base = r.stored;
}

PadKeeper::WriteResult PadKeeper::StoreEdit(int pad, const ShownEdit& shown) {
  return writer_.Write(pad, StoreInUse(), NewText::Shown(shown));
}

PadKeeper::WriteResult PadKeeper::StoreEdit(int pad, std::string_view text) {
  return writer_.Write(pad, StoreInUse(), NewText::Stored(text, true));
}

PadKeeper::WriteResult PadKeeper::Save(int pad, std::string_view text) {
  return writer_.Write(pad, StoreInUse(), NewText::Stored(text, false));
}

std::optional<PadKeeper::Failure> PadKeeper::CopyAllTo(
    Storage to, const std::function<std::string(int pad)>& padText) {
  for (int pad = 1; pad <= kPadCount; ++pad) {
    std::string text = padText(pad);
    if (text.empty() && writer_.HoldsNothing(to, pad)) continue;  // no empty files to tidy
    PadRecord& r = At(pad);
    PadStatus status = r.status;
    std::string problem = r.problem;
    if (writer_.Write(pad, to, NewText::Stored(text, false)).is != Written::Stored) {
      Failure failure{pad, r.problem};
      // The pads stay where they were, as saved there as they were.
      r.status = status;
      r.problem = std::move(problem);
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
  const bool filesInUse = StoreInUse() == Storage::PadFiles;
  // The program's own folder is no shared one: the pads go back there as they are, and what
  // was left there goes to the history when it is replaced.
  for (int pad = 1; pad <= kPadCount && !move.joined && !folder.empty(); ++pad) {
    move.joined = !writer_.HoldsNothing(Storage::PadFiles, pad);
  }
  // Where the pads were is left as it is, a copy of the notes as they were.
  for (PadRecord& r : pads_) r.storeContentKept[Index(Storage::PadFiles)] = false;
  if (!filesInUse) return move;  // used when "Store in Registry" is unticked
  writer_.UseStore(Storage::PadFiles);  // the stamps of the files there
  for (int pad = 1; pad <= kPadCount; ++pad) {
    std::string text = padText(pad);
    if (move.joined) {
      if (!text.empty()) AddVersion(pad, text);
    } else if (!text.empty() || At(pad).status == PadStatus::Unsaved) {
      if (writer_.Write(pad, Storage::PadFiles, NewText::Stored(text, false)).is !=
          Written::Stored) {
        move.failure = Failure{pad, At(pad).problem};
        store_.UseFolder(previous);
        writer_.UseStore(Storage::PadFiles);
        return move;
      }
    }
  }
  UseStore(StoreInUse());  // the texts there are the ones both sides have
  return move;
}

void PadKeeper::MarkChanged(int pad) { writer_.MarkChanged(pad); }

bool PadKeeper::SaveLagging(int pad) const {
  const PadRecord& r = At(pad);
  return r.status == PadStatus::Stored && r.waitingSince &&
         clock_.NowUtcMillis() - r.waitingSince > kLagging;
}

void PadKeeper::ReturnToFolder(std::string_view folder) {
  store_.UseFolder(folder);
  UseStore(StoreInUse());
}

bool PadKeeper::AnyUnsaved() const {
  return std::any_of(pads_.begin(), pads_.end(),
                     [](const PadRecord& r) { return r.status == PadStatus::Unsaved; });
}

}  // namespace vorn
