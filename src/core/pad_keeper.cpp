#include "core/pad_keeper.h"

#include <algorithm>
#include <functional>

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

}  // namespace

std::optional<std::string> PadKeeper::Load(Storage storage, int pad) {
  PadState& s = At(pad);
  std::string text;
  try {
    text = store_.Read(storage, pad).value_or("");
  } catch (const PlatformError& e) {
    s.loaded = false;
    s.problem = e.what();
    return std::nullopt;
  }
  s.tooLarge = false;
  s.problem.clear();
  if (std::size_t length = Utf16Length(text); length > kMaxCharacters) {
    s.loaded = false;
    s.tooLarge = true;
    s.problem = store_.Where(storage, pad) + " holds " + WithThousands(length) +
                " characters, and a pad edits at most " + WithThousands(kMaxCharacters) +
                ": it shows the first of them and leaves the store as it is.";
    return std::string(FirstUnits(text, kMaxCharacters));
  }
  s.text = std::move(text);
  s.loaded = true;
  return s.text;
}

bool PadKeeper::Changed(Storage storage, int pad, std::string_view text) {
  PadState& s = At(pad);
  s.changedByUser = true;
  std::int64_t now = clock_.NowUtcMillis();
  bool keepBefore = policy_.KeepBefore(pad, s.text, text, now);
  // Before the first save of a run the stored content is kept as it is; an unread pad's earlier
  // text is known only that way.
  bool storedKept = s.storedKept[storage == Storage::SettingsStore ? 0 : 1];
  if (keepBefore && s.loaded && storedKept && Keep(pad, s.text) != KeptIn::Nowhere) {
    policy_.Kept(pad, now);
  }
  return Save(storage, pad, text);
}

bool PadKeeper::Save(Storage storage, int pad, std::string_view text) {
  if (At(pad).tooLarge) return false;  // its store is never replaced
  if (!KeepStored(storage, pad)) return false;
  try {
    store_.Write(storage, pad, text);
  } catch (const PlatformError& e) {
    return Fail(pad, e.what());
  }
  PadState& s = At(pad);
  s.text = text;
  s.loaded = true;
  s.unsaved = false;
  s.problem.clear();
  return true;
}

// Before a store is first replaced in a run, what it holds goes to the history as it is.
bool PadKeeper::KeepStored(Storage storage, int pad) {
  PadState& s = At(pad);
  bool& kept = s.storedKept[storage == Storage::SettingsStore ? 0 : 1];
  if (kept) return true;
  std::optional<StoredBytes> stored;
  try {
    stored = store_.ReadBytes(storage, pad);
  } catch (const PlatformError& e) {
    // What cannot be read is not replaced: it may hold the only copy of someone's text.
    return Fail(pad, e.what());
  }
  if (stored) {
    std::string problem = KeepVersion([&](History& h) { h.KeepStored(pad, *stored); });
    // A pad that was read shows what its store held; one that was not must be kept first.
    if (!problem.empty() && !s.loaded) {
      return Fail(pad, store_.Where(storage, pad) +
                           ": what it holds could not be read and could not be kept in the "
                           "history (" +
                           problem + "), so it was not replaced.");
    }
    s.storedKeptUnread = !s.loaded && !stored->bytes.empty();
  }
  kept = true;
  policy_.Kept(pad, clock_.NowUtcMillis());
  return true;
}

PadKeeper::KeptIn PadKeeper::Keep(int pad, std::string_view text) {
  std::string problem = KeepVersion([&](History& h) { h.KeepText(pad, text); });
  if (!problem.empty()) return KeptIn::Nowhere;
  return historyProblem_.empty() ? KeptIn::History : KeptIn::Rescue;
}

// Keeps a version with `keep` in the history, or in the rescue history where the history
// cannot be written; the last reason when neither could, "" when one did.
std::string PadKeeper::KeepVersion(const std::function<void(History&)>& keep) {
  try {
    keep(history_);
    historyProblem_.clear();
    rescueWorks_ = true;
    return {};
  } catch (const PlatformError& e) {
    historyProblem_ = e.what();
  }
  try {
    keep(rescue_);
    rescueWorks_ = true;
    return {};
  } catch (const PlatformError& e) {
    rescueWorks_ = false;
    return e.what();
  }
}

bool PadKeeper::Fail(int pad, std::string problem) {
  PadState& s = At(pad);
  s.unsaved = true;
  s.problem = std::move(problem);
  return false;
}

}  // namespace vorn
