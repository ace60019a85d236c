// The notes model's side that looks after the pads' text: loading, storing every change,
// trying again what failed, switching the store, and the history.
#include "core/notes_model.h"

#include <algorithm>
#include <cctype>

namespace vorn {

namespace {

constexpr std::string_view kFailureTitle = "Ooops...";
constexpr std::string_view kTwoPlacesTitle = "Changed in two places";

std::string DocName(int pad) { return "Doc #" + std::to_string(pad); }

// The same folder, spelled with or without a last backslash, in any case.
bool SameFolder(std::string_view a, std::string_view b) {
  auto trimmed = [](std::string_view f) {
    while (f.size() > 3 && f.back() == '\\') f.remove_suffix(1);
    return f;
  };
  a = trimmed(a);
  b = trimmed(b);
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

const char* StoreName(Storage storage) {
  return storage == Storage::SettingsStore ? "the registry" : "the pad files";
}

}  // namespace

void NotesModel::LoadPad(int pad) {
  // A pad that cannot be read starts empty and is read again later; its store stays as it is.
  std::optional<std::string> text = s_.pads.Load(pad);
  if (text || starting_) w_.notes.SetPadText(pad, text.value_or(""));
  // A pad too large to edit takes no typing; its store is left as it is.
  w_.notes.SetPadEditable(pad, s_.pads.Status(pad) != PadStatus::TooLarge);
  if (s_.pads.TakeWrittenHereReplaced(pad)) {
    w_.messages.Notify(DocName(pad) +
                           " was changed elsewhere while Vorn Notes was not running, and the text "
                           "last written here was replaced. It is in the pad's history (Ctrl+H).",
                       kTwoPlacesTitle);
  } else if (s_.pads.TakeWrittenHereMerged(pad)) {
    w_.messages.Notify(DocName(pad) +
                           " was changed elsewhere while Vorn Notes was not running: the changes "
                           "made here are merged in, and Ctrl+H has the text as it was here.",
                       kTwoPlacesTitle);
  }
  if (s_.pads.TakeVirtualCopyTaken(pad)) virtualCopies_.push_back(pad);
  if (!starting_) TellVirtualCopies();  // the start tells all at once
}

void NotesModel::TellVirtualCopies() {
  if (virtualCopies_.empty()) return;
  std::string names;
  for (int pad : virtualCopies_) names += (names.empty() ? "" : ", ") + DocName(pad);
  w_.messages.Notify(names + (virtualCopies_.size() == 1 ? " shows" : " show") +
                         " the text an earlier version of Vorn Notes saved last. Windows kept it "
                         "for that version in " + s_.pads.VirtualStore() +
                         ", as the program's folder is one only an administrator may change. What "
                         "the program's folder held is in the history (Ctrl+H); the copy Windows "
                         "kept is left as it is.",
                     "Vorn Notes");
  virtualCopies_.clear();
}

void NotesModel::ReadAgainIfUnread(int pad) {
  if (s_.pads.Status(pad) == PadStatus::Unread) LoadPad(pad);
}

void NotesModel::PadChanged(int pad) {
  if (starting_ || takingIn_) return;
  s_.pads.MarkChanged(pad);
  if (!w_.loop.InputWaiting()) StoreChanges();
}

void NotesModel::StoreChanges() {
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (!s_.pads.TakeChange(pad)) continue;
    std::optional<ShownEdit> shown = w_.notes.TakePadEdit(pad);
    AfterWrite(pad,
               shown ? s_.pads.StoreEdit(pad, *shown) : s_.pads.StoreEdit(pad, w_.notes.PadText(pad)),
               true);
  }
}

void NotesModel::AfterWrite(int pad, PadKeeper::WriteResult result, bool typing) {
  switch (result.is) {
    case PadKeeper::Written::Stored:
    case PadKeeper::Written::Failed: AfterSave(pad, result.is == PadKeeper::Written::Stored); break;
    // A store written elsewhere since is never replaced unseen: its text is merged in first.
    case PadKeeper::Written::ChangedElsewhere:
      TakeIn(pad, result.incoming, std::move(result.stamp), typing);
      break;
    // Its writer may not be done: stored at the next try, once the store has held still.
    case PadKeeper::Written::NotYet: s_.pads.MarkChanged(pad); break;
  }
}

void NotesModel::Idle() { CheckPads(false); }

// A safety net under the pads' copies of their text: where a copy is found to differ from what
// its pad shows, the pad is stored as shown and the copy's text kept in the history; then every
// change is stored. `onlyPad` checks that pad alone.
void NotesModel::CheckPads(bool whole, int onlyPad) {
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (onlyPad && pad != onlyPad) continue;
    std::optional<std::string> copy = w_.notes.CheckPadCopy(pad, whole);
    if (!copy) continue;
    if (!starting_) s_.pads.MarkChanged(pad);
    if (s_.pads.AddVersion(pad, *copy) == PadKeeper::KeptIn::Nowhere) TellHistoryProblem();
  }
  StoreChanges();
}

// A failed save is told once until saving works again, without taking the keyboard: the user
// goes on typing, and the pad is saved again at its next change and every few seconds.
void NotesModel::AfterSave(int pad, bool saved) {
  if (!saved && !failureTold_) {
    failureTold_ = true;
    w_.messages.Notify(DocName(pad) + ", " + s_.pads.Problem(pad), kFailureTitle);
  }
  if (!s_.pads.AnyUnsaved()) failureTold_ = false;
  if (saved && s_.pads.TakeUnreadContentKept(pad)) {
    countText_ = DocName(pad) +
                 ": what its store held when it could not be read is in the "
                 "history (Ctrl+H); the pad keeps what you typed.";
  }
  TellHistoryProblem();
  ShowStatus();
}

// A history that cannot be written is told once, until it works again, and once more when the
// rescue history fails too.
void NotesModel::TellHistoryProblem() {
  int level = s_.pads.HistoryProblem().empty() ? 0 : s_.pads.RescueWorks() ? 1 : 2;
  if (level > historyProblemTold_) w_.messages.Notify(HistoryProblemText(), kFailureTitle);
  historyProblemTold_ = level;
}

std::string NotesModel::HistoryProblemText() const {
  const std::string& problem = s_.pads.HistoryProblem();
  if (problem.empty()) return {};
  std::string text = "The history cannot be written: " + problem;
  if (s_.pads.RescueWorks()) return text + " Versions go to " + s_.pads.RescueFolder() + ".";
  return text + " Nor can " + s_.pads.RescueFolder() +
         ": the text an edit replaces is only in the pad's undo (Ctrl+Z).";
}

void NotesModel::Tick() {
  if (watchLetGo_ && s_.pads.FolderReachable()) PadsDriveBack();
  // Explorer still starting, or too busy to answer in time, refuses or drops the icon.
  if (!iconShown_ && !ended_) iconShown_ = w_.tray.Add();
  StoreChanges();
  LookElsewhere(true);
  if (zoomTicks_ > 0 && --zoomTicks_ == 0) ShowStatus();
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (s_.pads.Status(pad) == PadStatus::Unsaved) {
      AfterWrite(pad, s_.pads.Save(pad, w_.notes.PadText(pad)), false);
    } else if (s_.pads.Status(pad) == PadStatus::Unread) {
      LoadPad(pad);
      ShowStatus();
    }
  }
  s_.pads.RecordWrittenTexts();
  // A change that has waited a while for its store is told, and so is its end.
  bool lagging = false;
  for (int pad = 1; pad <= kPadCount; ++pad) lagging = lagging || s_.pads.SaveLagging(pad);
  if (lagging || lagging != laggingTold_) ShowStatus();
  laggingTold_ = lagging;
}

void NotesModel::StoreChangedElsewhere() { LookElsewhere(false); }

void NotesModel::LookElsewhere(bool poll) {
  if (starting_ || ended_) return;
  s_.watch.Resume();
  PadStore::Listing listing = s_.pads.ListFolder();
  for (int pad = 1; pad <= kPadCount; ++pad) {
    const std::optional<std::string>& listed = listing.stamps[static_cast<std::size_t>(pad - 1)];
    PadKeeper::Look look = s_.pads.LookAtStore(pad, poll ? listed : std::nullopt);
    if (look.is == PadKeeper::Look::Is::Changed) {
      TakeIn(pad, look.text, std::move(look.stamp), false);
    } else if (look.is == PadKeeper::Look::Is::Unreadable &&
               s_.pads.Status(pad) == PadStatus::TooLarge) {
      LoadPad(pad);  // written anew elsewhere: perhaps short enough to edit now
      ShowStatus();
    }
  }
  TakeInFolderFinds(listing.found);
}

void NotesModel::PadsDriveLeaving() {
  if (watchLetGo_ || s_.pads.StoreInUse() != Storage::PadFiles) return;
  StoreChanges();
  s_.pads.RecordWrittenTexts();
  s_.watch.LetGo();
  watchLetGo_ = true;
}

void NotesModel::PadsDriveBack() {
  if (!watchLetGo_ || !s_.pads.FolderReachable()) return;
  watchLetGo_ = false;
  s_.watch.Watch(s_.pads.StoreInUse(), s_.pads.PadFolder());
  StoreChangedElsewhere();
}

// The files a sync service left beside the pads: copies of pads changed on two computers at
// once are kept in the history, merged where they merge, and gone from the folder; what may be
// a copy or the user's own file, and what another computer's interrupted save left, stay where
// they are. One notice says what happened.
void NotesModel::TakeInFolderFinds(const std::vector<PadStore::Found>& found) {
  PadSync::FolderFinds finds =
      s_.pads.TakeInFolderFinds(found, [this](int pad) { return w_.notes.PadText(pad); });
  auto names = [](const std::vector<std::string>& list) {
    std::string text;
    for (const std::string& name : list) text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
  };
  if (!finds.leftAlone.empty()) {
    w_.messages.Notify(
        names(finds.leftAlone) + " in the pads folder may be " +
            (finds.leftAlone.size() > 1 ? "copies" : "a copy") +
            " that a sync service left of a pad changed on two computers at once, or a file of "
            "yours: Vorn Notes leaves it as it is. Open it to see what it holds.",
        kTwoPlacesTitle);
  }
  if (!finds.othersSaves.empty()) {
    w_.messages.Notify("A save on another computer was cut short and left " +
                           names(finds.othersSaves) +
                           " in the pads folder. Its text is in the pad's history (Ctrl+H); the "
                           "file is left as it is.",
                       kTwoPlacesTitle);
  }
  std::vector<PadSync::CopyTakenIn>& copies = finds.copies;
  if (copies.empty()) return;
  std::string merged, kept;
  for (const PadSync::CopyTakenIn& copy : copies) {
    if (copy.text != w_.notes.PadText(copy.pad)) {
      takingIn_ = true;
      w_.notes.TakePadText(copy.pad, copy.text);
      takingIn_ = false;
    }
    std::string& list = copy.how == PadSync::Taken::Conflict ? kept : merged;
    if (list.find(DocName(copy.pad)) == std::string::npos) {
      list += (list.empty() ? "" : ", ") + DocName(copy.pad);
    }
  }
  std::string text = "A sync service left copies of pads changed on two computers at once. ";
  if (!merged.empty()) text += "Merged into " + merged + ". ";
  if (!kept.empty()) {
    text += "Changed in the same lines as " + kept + ", which keep" +
            (kept.find(',') == std::string::npos ? "s" : "") + " their text. ";
  }
  text += "Every copy is in its pad's history (Ctrl+H), and the files are gone from the folder.";
  w_.messages.Notify(text, kTwoPlacesTitle);
  ShowStatus();
}

void NotesModel::TakeIn(int pad, const std::string& incoming, std::string stamp, bool typing) {
  std::string shown = w_.notes.PadText(pad);
  PadKeeper::TakenIn taken = s_.pads.TakeIn(pad, incoming, std::move(stamp), shown, typing);
  if (taken.text != shown) {
    takingIn_ = true;
    w_.notes.TakePadText(pad, taken.text);
    takingIn_ = false;
  }
  if (taken.how == PadKeeper::Taken::TooLarge) w_.notes.SetPadEditable(pad, false);
  switch (taken.how) {
    case PadKeeper::Taken::Replaced:
      takenInText_ = DocName(pad) + " was changed elsewhere; Ctrl+H has the text before.";
      break;
    case PadKeeper::Taken::Merged:
      takenInText_ = DocName(pad) +
                     " was changed elsewhere too; both changes are in it, and Ctrl+H has the text "
                     "before.";
      break;
    case PadKeeper::Taken::Conflict: {
      // Said as it happened: which text the pad shows now.
      bool kept = taken.text == shown;
      takenInText_ = DocName(pad) + " was changed here and elsewhere in the same lines; " +
                     (kept ? "the other text" : "the text typed here") + " is in its history.";
      w_.messages.Notify(DocName(pad) +
                             " was changed here and elsewhere in the same lines. It shows " +
                             (kept ? "the text typed here" : "the text from elsewhere") +
                             "; both texts are in its history (Ctrl+H).",
                         kTwoPlacesTitle);
      break;
    }
    case PadKeeper::Taken::TooLarge:
    case PadKeeper::Taken::Kept:
    case PadKeeper::Taken::Nothing: break;
  }
  AfterSave(pad, s_.pads.Status(pad) != PadStatus::Unsaved);
}

std::string NotesModel::PadProblem(int pad) const {
  const std::string& problem = s_.pads.Problem(pad);
  switch (s_.pads.Status(pad)) {
    case PadStatus::Stored:
      if (!s_.pads.SaveLagging(pad)) return {};
      return DocName(pad) +
             " is not saved yet: another program or computer keeps changing its store. It is "
             "saved as soon as that stops.";
    case PadStatus::Unread: return DocName(pad) + " could not be read: " + problem;
    case PadStatus::TooLarge: return DocName(pad) + " is read-only: " + problem;
    case PadStatus::Unsaved: return DocName(pad) + " is not saved: " + problem;
  }
  return {};
}

// The status bar tells of the shown pad's trouble first, then of any other pad's, and otherwise
// shows the length taken at the last tab click.
void NotesModel::ShowStatus() {
  std::string text = PadProblem(shownPad_);
  for (int pad = 1; pad <= kPadCount && text.empty(); ++pad) text = PadProblem(pad);
  if (text.empty()) text = HistoryProblemText();
  if (text.empty()) text = takenInText_;
  if (text.empty()) text = hotKeyText_;
  w_.notes.SetStatusText(text.empty() ? countText_ : text);
}

void NotesModel::StoreInRegistryClicked() {
  StoreChanges();
  // A click ticks an unticked or greyed box and clears a ticked one.
  CheckState next =
      storeInRegistry_ == CheckState::Ticked ? CheckState::Unticked : CheckState::Ticked;
  const char* stay = StoreName(s_.pads.StoreInUse());
  // A pad whose store could not be read, or is too large to edit, cannot move without losing it.
  for (int pad = 1; pad <= kPadCount; ++pad) {
    PadStatus status = s_.pads.Status(pad);
    if (status != PadStatus::Unread && status != PadStatus::TooLarge) continue;
    w_.messages.Show(
        PadProblem(pad) + "\r\n\r\nThe pads stay in " + stay + " until it can be read.",
        kFailureTitle);
    return;
  }
  // Every pad goes to the new store at once, so that the next start shows the same text.
  Storage to = StorageChosenBy(next);
  if (auto failure = s_.pads.CopyAllTo(to, [this](int pad) { return w_.notes.PadText(pad); })) {
    w_.messages.Show(
        DocName(failure->pad) + ", " + failure->problem + "\r\n\r\nThe pads stay in " + stay + ".",
        kFailureTitle);
    ShowStatus();
    return;
  }
  try {
    SaveStoreChoice(s_.settings, next);
  } catch (const PlatformError& e) {
    w_.messages.Show(std::string("The choice of store could not be kept: ") + e.what() +
                         "\r\n\r\nThe pads stay in " + stay + ".",
                     kFailureTitle);
    return;
  }
  storeInRegistry_ = next;
  s_.pads.UseStore(to);
  s_.watch.Watch(to, s_.pads.PadFolder());
  w_.notes.ShowOptions(topMost_, storeInRegistry_);
  ShowStatus();
}

void NotesModel::PadsFolderClicked() {
  StoreChanges();
  std::optional<std::string> picked =
      w_.folders.ChooseFolder(s_.pads.PadFolder(), s_.pads.ProgramFolder());
  if (!picked) return;
  std::string folder = SameFolder(*picked, s_.pads.ProgramFolder()) ? std::string() : *picked;
  std::string previous = s_.pads.ChosenFolder();
  if (SameFolder(folder, previous)) return;
  bool files = s_.pads.StoreInUse() == Storage::PadFiles;
  // A pad whose file could not be read, or is too large to edit, cannot move without losing it.
  for (int pad = 1; pad <= kPadCount && files; ++pad) {
    PadStatus status = s_.pads.Status(pad);
    if (status != PadStatus::Unread && status != PadStatus::TooLarge) continue;
    w_.messages.Show(PadProblem(pad) + "\r\n\r\nThe pads stay where they are until it can be read.",
                     kFailureTitle);
    return;
  }
  // The pads go to the folder first and the choice is kept after: a program ended at any moment
  // between starts again with every word in the folder it reads.
  PadKeeper::FolderMove move =
      s_.pads.MoveToFolder(folder, [this](int pad) { return w_.notes.PadText(pad); });
  if (move.failure) {
    std::string who = move.failure->pad ? DocName(move.failure->pad) + ", " : std::string();
    w_.messages.Show(who + move.failure->problem + "\r\n\r\nThe pads stay where they are.",
                     kFailureTitle);
    ShowStatus();
    return;
  }
  try {
    SaveFolderChoice(s_.settings, folder);
  } catch (const PlatformError& e) {
    s_.pads.ReturnToFolder(previous);  // the new folder keeps the copy written there
    w_.messages.Show(std::string("The choice of folder could not be kept: ") + e.what() +
                         "\r\n\r\nThe pads stay where they are.",
                     kFailureTitle);
    return;
  }
  std::string place = folder.empty() ? "the program's folder" : folder;
  if (move.joined && files) {
    for (int pad = 1; pad <= kPadCount; ++pad) LoadPad(pad);
    countText_ = "The pads show the notes in " + place +
                 "; what each showed before is in its history (Ctrl+H).";
  } else {
    countText_ = "The pads are kept in " + place +
                 (files ? "." : " when \"Store in Registry\" is unticked.");
  }
  s_.watch.Watch(s_.pads.StoreInUse(), s_.pads.PadFolder());
  ShowStatus();
}

void NotesModel::HistoryRequested() { w_.history.Open(shownPad_); }

std::vector<Version> NotesModel::Versions(int pad) {
  try {
    return s_.history.Versions(pad);
  } catch (const PlatformError&) {
    return {};
  }
}

std::string NotesModel::VersionText(int pad, const Version& version) {
  try {
    return s_.history.Text(pad, version);
  } catch (const PlatformError&) {
    return {};
  }
}

void NotesModel::Restore(int pad, const Version& version) {
  if (s_.pads.Status(pad) == PadStatus::TooLarge) return;
  std::string text;
  try {
    text = s_.history.Text(pad, version);
  } catch (const PlatformError& e) {
    w_.messages.Show(DocName(pad) + ": " + e.what(), kFailureTitle);
    return;
  }
  StoreChanges();
  s_.pads.AddVersion(pad, w_.notes.PadText(pad));
  TellHistoryProblem();
  w_.notes.ReplacePadText(pad, text);  // the pad reports the change, and it is stored
}

}  // namespace vorn
