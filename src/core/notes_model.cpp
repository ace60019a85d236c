#include "core/notes_model.h"

#include <algorithm>
#include <string>

#include "core/find_text.h"
#include "core/utf.h"

namespace vorn {

namespace {

constexpr std::string_view kProgramName = "Vorn Notes";

}  // namespace

void NotesModel::Start() {
  starting_ = true;
  iconShown_ = w_.tray.Add();
  RestoreWindow();
  for (int pad = 1; pad <= kPadCount; ++pad) LoadPad(pad);
  Resized();
  shownPad_ = 1;
  w_.notes.ShowPad(shownPad_);
  w_.notes.Hide();
  ShowStatus();
  TellVirtualCopies();
  starting_ = false;
}

void NotesModel::RestoreWindow() {
  WindowSettings stored = LoadWindowSettings(s_.settings);
  WindowRect rect = w_.notes.Placement();
  if (stored.top) rect.top = *stored.top;
  if (stored.left) rect.left = *stored.left;
  if (stored.height) rect.height = *stored.height;
  if (stored.width) rect.width = *stored.width;
  // A window smaller than the system allows would be a title bar only.
  WindowRect smallest = w_.notes.MinimumSize();
  rect.width = std::max(rect.width, smallest.width);
  rect.height = std::max(rect.height, smallest.height);
  w_.notes.Place(rect);
  // A rectangle saved on a monitor that is gone would leave the window out of reach.
  w_.notes.KeepReachable();

  storeInRegistry_ = stored.storeInRegistry;
  s_.pads.UseStore(StorageChosenBy(storeInRegistry_));
  s_.pads.UseFolder(stored.folder);
  s_.watch.Watch(s_.pads.StoreInUse(), s_.pads.PadFolder());
  topMost_ = stored.onTop;
  w_.notes.ShowOptions(topMost_, storeInRegistry_);
  if (topMost_) w_.notes.SetTopMost(true);
  hotKey_ = stored.hotKey;
  TakeHotKey();
  zoom_ = stored.zoom;
  w_.notes.SetZoom(zoom_);
}

void NotesModel::TakeHotKey() {
  std::optional<HotKey> key = ParseHotKey(hotKey_);
  if (std::optional<std::string> typed = key ? CharacterTakenBy(*key, s_.keyboard) : std::nullopt) {
    // The choice stays stored: on another computer, or with that layout gone, it is taken.
    std::optional<HotKey> standard = ParseHotKey(kDefaultHotKey);
    if (CharacterTakenBy(*standard, s_.keyboard)) standard.reset();
    hotKeyText_ = HotKeyText(*key) + " is not the hotkey: it types \"" + *typed +
                  "\" with a keyboard layout of this computer. " +
                  (standard ? "The hotkey is " + HotKeyText(*standard) + "." : "There is no hotkey.");
    key = standard;
  }
  // A key another program has taken changes nothing else.
  w_.notes.SetHotKey(key);
}

void NotesModel::Resized() {
  layout_ = LayOut(w_.notes.Measure(), layout_);
  w_.notes.Arrange(layout_);
}

void NotesModel::TabSelected(int pad) {
  shownPad_ = pad;
  takenInText_.clear();
  hotKeyText_.clear();
  w_.notes.ShowPad(pad);
  countText_ = std::to_string(Utf16Length(w_.notes.PadText(pad))) + " characters";
  ReadAgainIfUnread(pad);  // when it is looked at
  ShowStatus();
}

void NotesModel::Run(ToolbarCommand command) {
  const int pad = shownPad_;
  try {
    if (command == ToolbarCommand::Paste) {
      if (s_.pads.Status(pad) == PadStatus::TooLarge) return;
      std::string pasted = s_.clipboard.Text();
      if (!pasted.empty()) w_.notes.ReplacePadSelection(pad, pasted);
      return;
    }
    // Print, Cut and Copy take the selection, or the whole pad when nothing is selected.
    std::string selection = w_.notes.PadSelection(pad);
    std::string text = selection.empty() ? w_.notes.PadText(pad) : selection;
    if (command == ToolbarCommand::Print) {
      PrintText(s_.printer, text);
    } else if (!text.empty()) {
      s_.clipboard.SetText(text);  // a clipboard that fails leaves the pad as it is
      if (command == ToolbarCommand::Cut && !selection.empty() &&
          s_.pads.Status(pad) != PadStatus::TooLarge) {
        w_.notes.ReplacePadSelection(pad, "");
      }
    }
  } catch (const PlatformError& e) {
    w_.messages.Show(e.what(), kProgramName);
  }
}

void NotesModel::TopClicked() {
  topMost_ = !topMost_;
  w_.notes.ShowOptions(topMost_, storeInRegistry_);
  w_.notes.SetTopMost(topMost_);
}

void NotesModel::Zoom(int steps) {
  zoom_ = steps ? ZoomedBy(zoom_, steps) : kNormalZoom;
  w_.notes.SetZoom(zoom_);
  w_.notes.SetStatusText("Zoom: " + std::to_string(zoom_) + " %");
  zoomTicks_ = 2;  // shown until the second tick from now, three to six seconds
}

bool NotesModel::StartsWithWindows() {
  try {
    return s_.startUp.WithWindows();
  } catch (const PlatformError&) {
    return false;
  }
}

void NotesModel::StartWithWindowsClicked() {
  bool on = !StartsWithWindows();
  try {
    s_.startUp.SetWithWindows(on);
  } catch (const PlatformError& e) {
    w_.messages.Show(std::string(on ? "Vorn Notes cannot start with Windows: "
                                    : "Vorn Notes cannot stop starting with Windows: ") +
                         e.what(),
                     kProgramName);
  }
}

void NotesModel::AboutPressed() { w_.about.Open(); }

void NotesModel::Hide() { HideWindow(); }

// Whatever the shown pad holds is stored before it is out of sight.
void NotesModel::HideWindow() {
  CheckPads(true, shownPad_);
  w_.notes.Hide();
}

void NotesModel::CloseRequested(CloseReason reason) {
  if (!EndsProgram(reason)) {
    HideWindow();
    return;
  }
  // End asks about what is shown now; every other end checks the pads once, in End.
  if (reason == CloseReason::EndButton) {
    CheckPads(true);
    if (!AskToEndWithUnsavedPads()) return;
  }
  // At the end of the session the process may be gone as soon as this returns.
  if (reason == CloseReason::SessionEnd) End();
  w_.loop.Quit();
}

bool NotesModel::EndForSetup() {
  CheckPads(true);
  StoreChanges();
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (s_.pads.Status(pad) == PadStatus::Unsaved)
      AfterWrite(pad, s_.pads.Save(pad, w_.notes.PadText(pad)), false);
  }
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (s_.pads.Status(pad) == PadStatus::Unsaved || s_.pads.ChangeWaiting(pad)) {
      ShowStatus();
      return false;
    }
  }
  // The setup waits for the program to be gone, and may then replace it at once.
  End();
  w_.loop.Quit();
  return true;
}

// One more try for every pad that is not saved; then its text goes to the history, and the user
// decides, told plainly when no place could keep it.
bool NotesModel::AskToEndWithUnsavedPads() {
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (s_.pads.Status(pad) == PadStatus::Unsaved)
      AfterWrite(pad, s_.pads.Save(pad, w_.notes.PadText(pad)), false);
  }
  // The question names a pad whose text nothing could keep, or else the first unsaved one.
  int asked = 0;
  PadKeeper::KeptIn where = PadKeeper::KeptIn::History;
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (s_.pads.Status(pad) != PadStatus::Unsaved) continue;
    PadKeeper::KeptIn kept = s_.pads.AddVersion(pad, w_.notes.PadText(pad));
    if (!asked || (kept == PadKeeper::KeptIn::Nowhere && where != kept)) {
      asked = pad;
      where = kept;
    }
  }
  if (!asked) return true;
  std::string question = PadProblem(asked) + "\r\n\r\n";
  switch (where) {
    case PadKeeper::KeptIn::History:
      question += "End anyway? Its text will be kept in the history.";
      break;
    case PadKeeper::KeptIn::Rescue:
      question += "End anyway? Its text will be kept in " + s_.pads.RescueFolder() + ".";
      break;
    case PadKeeper::KeptIn::Nowhere:
      question += "Its text cannot be kept in the history either: " + s_.pads.HistoryProblem() +
                  "\r\n\r\nEnd anyway and lose it? No keeps Vorn Notes running.";
      break;
  }
  return w_.messages.Ask(question, kProgramName);
}

void NotesModel::TrayReleased(TrayAction action) {
  switch (action) {
    case TrayAction::ShowAndFocus:
      if (!w_.notes.Shown()) w_.notes.Show();
      w_.notes.Activate();
      StoreChangedElsewhere();  // what the user is about to read is the latest
      break;
    case TrayAction::Toggle:
      if (w_.notes.Shown()) {
        HideWindow();
      } else {
        w_.notes.Show();
        StoreChangedElsewhere();
      }
      break;
    case TrayAction::None: break;
  }
}

void NotesModel::FindRequested() {
  std::string selection = w_.notes.PadSelection(shownPad_);
  if (!selection.empty() && selection.find_first_of("\r\n") == std::string::npos) {
    findWhat_ = selection;
  }
  w_.find.Open(findWhat_, findMatchCase_);
}

void NotesModel::FindNext(std::string_view what, bool matchCase) {
  findWhat_ = what;
  findMatchCase_ = matchCase;
  FindAgain(true);
}

void NotesModel::FindAgain(bool forward) {
  if (findWhat_.empty()) {
    w_.find.Open(findWhat_, findMatchCase_);
    return;
  }
  FindRequest request{Utf16FromUtf8(findWhat_), findMatchCase_, forward};
  TextSpan selected = w_.notes.PadSelected(shownPad_);
  std::optional<FoundText> found =
      FindInPads([this](int pad) { return w_.notes.PadContent(pad); }, kPadCount, shownPad_,
                 forward ? selected.end : selected.start, request);
  if (!found) {
    w_.messages.Show("Cannot find \"" + findWhat_ + "\".", kProgramName);
    return;
  }
  if (found->pad != shownPad_) {
    TabSelected(found->pad);
    // Shown, the pad is as its control made it: the match is looked for there again.
    std::u16string text = w_.notes.PadContent(found->pad);
    if (std::optional<std::size_t> at = FindInText(text, forward ? 0 : text.size(), request)) {
      found->start = *at;
      found->end = *at + request.what.size();
    }
  }
  w_.notes.SelectInPad(found->pad, {found->start, found->end});
}

void NotesModel::NotificationAreaBack() {
  if (!ended_) iconShown_ = w_.tray.Add();
}

void NotesModel::HotKeyPressed(bool windowActive) {
  if (windowActive && w_.notes.Shown()) {
    HideWindow();
  } else {
    TrayReleased(TrayAction::ShowAndFocus);
  }
}

void NotesModel::End() {
  if (ended_) return;
  ended_ = true;
  CheckPads(true);
  // A pad not saved, or whose store another program was writing a moment ago, is kept in the
  // history: the program cannot wait to store it.
  for (int pad = 1; pad <= kPadCount; ++pad) {
    if (s_.pads.Status(pad) == PadStatus::Unsaved || s_.pads.TakeChange(pad)) {
      s_.pads.AddVersion(pad, w_.notes.PadText(pad));
    }
  }
  s_.pads.RecordWrittenTexts();
  SaveWindowSettings(s_.settings, w_.notes.Placement(), storeInRegistry_, topMost_, hotKey_, zoom_);
  w_.tray.Remove();
}

}  // namespace vorn
