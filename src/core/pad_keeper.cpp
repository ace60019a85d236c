#include "core/pad_keeper.h"

#include <algorithm>

namespace vorn {

namespace {

// Why a text is too large to edit; "" when it is not.
std::string TooLargeToEdit(std::string_view utf8) {
  std::size_t length = Utf16Length(utf8);
  if (length > PadKeeper::kMaxCharacters) {
    return "it holds " + WithThousands(length) + " characters, and a pad shows at most " +
           WithThousands(PadKeeper::kMaxCharacters) + ".";
  }
  std::size_t line = 0, longest = 0;
  for (unsigned char c : utf8) {
    if (c == '\r' || c == '\n') {
      line = 0;
    } else if ((c & 0xC0) != 0x80) {
      longest = std::max(longest, ++line);
    }
  }
  if (longest > PadKeeper::kMaxLineCharacters) {
    return "a line of it holds " + WithThousands(longest) +
           " characters, and a pad shows lines of at most " +
           WithThousands(PadKeeper::kMaxLineCharacters) + ".";
  }
  return {};
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
  if (std::string why = TooLargeToEdit(text); !why.empty()) {
    s.loaded = false;
    s.tooLarge = true;
    s.problem = store_.Where(storage, pad) + ": " + why + " It is left as it is.";
    return std::nullopt;
  }
  s.text = std::move(text);
  s.tooLarge = false;
  s.loaded = true;
  s.problem.clear();
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
  if (keepBefore && s.loaded && storedKept && Keep(pad, s.text)) policy_.Kept(pad, now);
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
    try {
      history_.KeepStored(pad, *stored);
    } catch (const PlatformError& e) {
      // A pad that was read shows what its store held; one that was not must be kept first.
      if (!s.loaded) {
        return Fail(pad, store_.Where(storage, pad) +
                             ": what it holds could not be read and could not be kept in the "
                             "history (" +
                             e.what() + "), so it was not replaced.");
      }
    }
  }
  kept = true;
  policy_.Kept(pad, clock_.NowUtcMillis());
  return true;
}

bool PadKeeper::Keep(int pad, std::string_view text) {
  try {
    history_.KeepText(pad, text);
    return true;
  } catch (const PlatformError&) {
    return false;
  }
}

bool PadKeeper::Rescue(int pad, std::string_view text) {
  if (Keep(pad, text)) return true;
  try {
    rescue_.KeepText(pad, text);
    return true;
  } catch (const PlatformError&) {
    return false;
  }
}

bool PadKeeper::Fail(int pad, std::string problem) {
  PadState& s = At(pad);
  s.unsaved = true;
  s.problem = std::move(problem);
  return false;
}

}  // namespace vorn
