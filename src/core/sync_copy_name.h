// The copies sync services leave beside a pad file when two computers changed it at once, known
// by their names alone: the forms the services really write, in one place. A name is taken for
// such a copy only where it certainly is one; a name that could as well be the user's own
// ("Doc 3 (2).txt" from Explorer or a browser, "Doc 3 - Copy.txt", "Doc 3 backup.txt") is no copy.
#pragma once

#include <string_view>

namespace vorn {

struct SyncCopyName {
  enum class Kind {
    None,       // not a copy of a pad file
    Certain,    // a form only a sync service writes
    Ambiguous,  // a sync service's form that a user could give a file too: never touched
  };
  Kind kind = Kind::None;
  int pad = 0;
  // The service whose form it is: "syncthing", "Dropbox", "Nextcloud", "OneDrive".
  std::string_view service;
};

// What the file `name` (without a folder) is, for the pad files "Doc 1.txt" to "Doc 10.txt":
// - syncthing:  "Doc 3.sync-conflict-20261209-101010-K3X2R2T.txt" (before 2017 without the
//   device's seven letters);
// - Dropbox:    "Doc 3 (Anna's conflicted copy 2026-12-09).txt", also without the date and
//   with " (1)" after it;
// - Nextcloud and ownCloud: "Doc 3 (conflicted copy 2026-12-09 101010).txt", also with the
//   user's name before the date, and the older "Doc 3_conflict-20261209-101010.txt" and
//   "Doc 3_conflict_anna-20261209-101010.txt";
// - OneDrive:   "Doc 3-LAPTOP.txt", the computer's name appended, also with "-2" after it:
//   ambiguous, as "Doc 3-draft.txt" has the same form.
// Google Drive's "Doc 3 (1).txt" is what Explorer and browsers name a duplicate: no copy.
SyncCopyName ClassifySyncCopy(std::string_view name);

}  // namespace vorn
