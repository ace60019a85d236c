// What the program knows of one pad, in one place: the text its store holds, whether the pad is
// stored, unread, too large or unsaved and why, the change waiting to be stored, and when its
// history last took a version. PadKeeper owns the ten records; everything else asks it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/pad_mirror.h"
#include "core/settled_text.h"
#include "core/utf.h"

namespace vorn {

inline constexpr int kPadCount = 10;

// The most a pad edits: 16 MB of UTF-16 in the control, its copy and the store's text stays
// well within a 32-bit process. A longer pad shows its first kMaxPadCharacters read-only, and
// its store is never replaced.
inline constexpr std::size_t kMaxPadCharacters = 16 * 1024 * 1024;

// Where the pads are kept: the values of the settings store's section "Data", or pad files.
enum class Storage { SettingsStore, PadFiles };

enum class PadStatus {
  Stored,    // its store holds what it shows
  Unread,    // its store could not be read: it shows nothing of it, and the store is not replaced
  TooLarge,  // it shows its store's first characters read-only; the store is never replaced
  Unsaved,   // it shows text its store does not hold
};

// When an edit's text goes to the history besides the stored content: before it removes or
// replaces 32 characters or more, and otherwise at most once every 10 minutes while a pad is
// edited.
class VersionTiming {
 public:
  static constexpr std::size_t kLargeRemoval = PadMirror::kLargeRemoval;
  static constexpr std::int64_t kEditInterval = 10 * 60 * 1000;

  // An edit that removed or replaced `removed` characters at `now`: true when the text before it
  // is to be kept.
  bool WantsTextBefore(std::size_t removed, std::int64_t now);
  // A version of the pad was taken at `now`.
  void VersionTaken(std::int64_t now);

 private:
  std::int64_t lastTaken_ = 0;
  bool edited_ = false;
};

struct PadRecord {
  PadStatus status = PadStatus::Stored;
  // Why it is unread, too large or unsaved: "file C:\Notes\~tmp3.tmp: Access is denied."
  std::string problem;
  // The text its store holds, as last read or written: what the next edit changes. Nothing
  // while the store's content is unknown (it could not be read, or it is too large to edit).
  std::optional<std::string> stored;
  // Where `stored` is the text the pad's control held, as stored at its last edit: the place of
  // that edit, near which the next one most likely is. Nothing where `stored` came otherwise.
  std::optional<TextPlace> keyPlace;
  // The user changed it; the change is not yet handed to the store. Since when the pad shows
  // text its store does not hold (0 while it holds what it shows).
  bool changePending = false;
  std::int64_t waitingSince = 0;
  VersionTiming versions;
  // Per store: what it held when first about to be replaced in this run is in the history.
  std::array<bool, 2> storeContentKept{};
  // The content of its store that could not be read went to the history when the user's text
  // replaced it; the user is to be told once.
  bool unreadContentKept = false;
  // The text this computer last wrote to its store was found replaced there at a read, and went
  // to the history; the user is to be told once.
  bool writtenHereReplaced = false;
  bool writtenHereMerged = false;
  // The pad took the newer text Windows had kept in the VirtualStore for an earlier version.
  bool virtualCopyTaken = false;
  // The text this computer and the store's other writers (another program, another computer
  // syncing the store) both had: what was read at the start or last taken in from elsewhere.
  // Edits made on both sides since are merged from it. Nothing while unknown.
  std::optional<std::string> base;
  // The text written here that stayed in the store a while before the next write replaced it
  // (a sync service had time to carry it off), and when the store was last written.
  SettledText settled;
  std::int64_t writtenAt = 0;
  // The store as last read or written here, in a form cheap to get again: a different stamp
  // means someone else may have written it since. An unsure one may also be the same after
  // another write that came within the store's time step; the content then tells, until the
  // step since the last change seen (`changedAt`) has passed.
  std::string stamp;
  bool stampUnsure = false;
  std::int64_t changedAt = 0;
  // A change made elsewhere was just seen: the store is not written before this time, as its
  // writer may not be done (an editor empties a file before it writes it anew).
  std::int64_t holdUntil = 0;
  // When the store was first seen empty after it held text; 0 while it was not.
  std::int64_t emptySince = 0;
  // The store was written here since the text last written here was recorded.
  bool writtenSinceRecord = false;
};

using PadRecords = std::array<PadRecord, kPadCount>;

// Why a store's text of `length` characters shows read-only: "file ... holds 16,777,217
// characters, and a pad edits at most 16,777,216: ...".
std::string TooLargeToEdit(std::string_view where, std::size_t length);

// The first `units` UTF-16 units of `utf8`, cut between characters.
std::string_view FirstUnits(std::string_view utf8, std::size_t units);

// How many characters (UTF-16 units) of `before` are gone from `after`, where the two differ in
// one stretch, as after an edit: what the edit removed or replaced.
std::size_t RemovedLength(std::string_view before, std::string_view after);

}  // namespace vorn
