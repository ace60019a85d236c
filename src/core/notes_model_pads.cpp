// The notes model's side that looks after the pads' text: loading, storing every change,
// trying again what failed, switching the store, and the history.
#include "core/notes_model.h"

namespace vorn {

namespace {

constexpr std::string_view kFailureTitle = "Ooops...";

std::string DocName(int pad) { return "Doc #" + std::to_string(pad); }

// False only when the store certainly holds nothing for the pad.
bool HoldsAnything(PadStore& pads, Storage storage, int pad) {
  try {
    return pads.ReadBytes(storage, pad).has_value();
  } catch (const PlatformError&) {
    return true;
  }
}

}  // namespace

Storage NotesModel::CurrentStorage() const {
  return storeInRegistry_ == CheckState::Ticked ? Storage::SettingsStore : Storage::PadFiles;
}

void NotesModel::LoadPad(int pad) {
  // A pad that cannot be read starts empty and is read again later; its store stays as it is.
  std::optional<std::string> text = s_.keeper.Load(CurrentStorage(), pad);
  if (text || starting_) w_.notes.SetPadText(pad, text.value_or(""));
  // A pad too large to edit shows nothing and takes no typing; its store is left as it is.
  w_.notes.SetPadEditable(pad, !s_.keeper.TooLarge(pad));
}

void NotesModel::PadChanged(int pad) {
  if (starting_) return;
  changed_.at(static_cast<std::size_t>(pad - 1)) = true;
  if (!w_.loop.InputWaiting()) StoreChanges();
}

void NotesModel::StoreChanges() {
  for (int pad = 1; pad <= kPadCount; ++pad) {
    bool& changed = changed_.at(static_cast<std::size_t>(pad - 1));
    if (!changed) continue;
    changed = false;
    AfterSave(pad, s_.keeper.Changed(CurrentStorage(), pad, w_.notes.PadText(pad)));
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
    if (!starting_) changed_.at(static_cast<std::size_t>(pad - 1)) = true;
    if (s_.keeper.Keep(pad, *copy) == PadKeeper::KeptIn::Nowhere) TellHistoryProblem();
  }
  StoreChanges();
}

// A failed save is told once until saving works again, without taking the keyboard: the user
// goes on typing, and the pad is saved again at its next change and every few seconds.
void NotesModel::AfterSave(int pad, bool saved) {
  if (!saved && !failureTold_) {
    failureTold_ = true;
    w_.messages.Notify(DocName(pad) + ", " + s_.keeper.Problem(pad), kFailureTitle);
  }
  bool anyUnsaved = false;
  for (int p = 1; p <= kPadCount; ++p) anyUnsaved = anyUnsaved || s_.keeper.Unsaved(p);
  if (!anyUnsaved) failureTold_ = false;
  if (saved && s_.keeper.TakeStoredKeptUnread(pad)) {
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
  int level = s_.keeper.HistoryProblem().empty() ? 0 : s_.keeper.RescueWorks() ? 1 : 2;
  if (level > historyProblemTold_) w_.messages.Notify(HistoryProblemText(), kFailureTitle);
  historyProblemTold_ = level;
}

std::string NotesModel::HistoryProblemText() const {
  const std::string& problem = s_.keeper.HistoryProblem();
  if (problem.empty()) return {};
  std::string text = "The history cannot be written: " + problem;
  if (s_.keeper.RescueWorks()) return text + " Versions go to " + s_.keeper.RescueFolder() + ".";
  return text + " Nor can " + s_.keeper.RescueFolder() +
         ": the text an edit replaces is only in the pad's undo (Ctrl+Z).";
}

void NotesModel::Tick() {
  StoreChanges();
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (s_.keeper.Unsaved(pad)) {
      AfterSave(pad, s_.keeper.Save(CurrentStorage(), pad, w_.notes.PadText(pad)));
    } else if (s_.keeper.Unread(pad) && !s_.keeper.ChangedByUser(pad) && !s_.keeper.TooLarge(pad)) {
      LoadPad(pad);
      ShowStatus();
    }
  }
}

std::string NotesModel::PadProblem(int pad) const {
  if (s_.keeper.Unsaved(pad)) return DocName(pad) + " is not saved: " + s_.keeper.Problem(pad);
  if (s_.keeper.TooLarge(pad)) return DocName(pad) + " is read-only: " + s_.keeper.Problem(pad);
  if (s_.keeper.Unread(pad)) return DocName(pad) + " could not be read: " + s_.keeper.Problem(pad);
  return {};
}

// The status bar tells of the shown pad's trouble first, then of any other pad's, and otherwise
// shows the length taken at the last tab click.
void NotesModel::ShowStatus() {
  std::string text = PadProblem(shownPad_);
  for (int pad = 1; pad <= kPadCount && text.empty(); ++pad) text = PadProblem(pad);
  if (text.empty()) text = HistoryProblemText();
  w_.notes.SetStatusText(text.empty() ? countText_ : text);
}

void NotesModel::StoreInRegistryClicked() {
  StoreChanges();
  // A click ticks an unticked or greyed box and clears a ticked one.
  CheckState next =
      storeInRegistry_ == CheckState::Ticked ? CheckState::Unticked : CheckState::Ticked;
  Storage to = next == CheckState::Ticked ? Storage::SettingsStore : Storage::PadFiles;
  const char* stay = CurrentStorage() == Storage::SettingsStore ? "the registry" : "the pad files";
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (!s_.keeper.Unread(pad) || s_.keeper.ChangedByUser(pad)) continue;
    w_.messages.Show(
        PadProblem(pad) + "\r\n\r\nThe pads stay in " + stay + " until it can be read.",
        kFailureTitle);
    return;
  }
  // Every pad goes to the new store at once, so that the next start shows the same text.
  for (int pad = 1; pad <= kPadCount; ++pad) {
    std::string text = w_.notes.PadText(pad);
    if (text.empty() && !HoldsAnything(s_.pads, to, pad)) continue;  // no empty files to tidy
    if (!s_.keeper.Save(to, pad, text)) {
      w_.messages.Show(
          DocName(pad) + ", " + s_.keeper.Problem(pad) + "\r\n\r\nThe pads stay in " + stay + ".",
          kFailureTitle);
      // The pad is as saved as it was in the store it stays in.
      s_.keeper.Save(CurrentStorage(), pad, text);
      ShowStatus();
      return;
    }
  }
  try {
    s_.settings.Write("Setting", "Reg", std::to_string(static_cast<int>(next)));
  } catch (const PlatformError& e) {
    w_.messages.Show(std::string("The choice of store could not be kept: ") + e.what() +
                         "\r\n\r\nThe pads stay in " + stay + ".",
                     kFailureTitle);
    return;
  }
  storeInRegistry_ = next;
  s_.pads.SetMode(to);
  w_.notes.ShowOptions(topMost_, storeInRegistry_);
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
  if (s_.keeper.TooLarge(pad)) return;
  std::string text;
  try {
    text = s_.history.Text(pad, version);
  } catch (const PlatformError& e) {
    w_.messages.Show(DocName(pad) + ": " + e.what(), kFailureTitle);
    return;
  }
  StoreChanges();
  s_.keeper.Keep(pad, w_.notes.PadText(pad));
  TellHistoryProblem();
  w_.notes.ReplacePadText(pad, text);  // the pad reports the change, and it is stored
}

}  // namespace vorn
