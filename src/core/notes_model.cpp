#include "core/notes_model.h"

#include <string>

namespace vorn {

namespace {

constexpr std::string_view kProgramName = "Vorn Notes";
constexpr std::string_view kSaveFailedTitle = "Ooops...";

}  // namespace

void NotesModel::Start() {
  starting_ = true;
  w_.tray.Add();
  RestoreWindow();
  for (int pad = 1; pad <= kPadCount; ++pad) LoadPad(pad);
  Resized();
  shownPad_ = 1;
  w_.notes.ShowPad(shownPad_);
  w_.notes.Hide();
  starting_ = false;
}

void NotesModel::RestoreWindow() {
  WindowSettings stored = LoadWindowSettings(s_.settings);
  WindowRect rect = w_.notes.Placement();
  if (stored.top) rect.top = *stored.top;
  if (stored.left) rect.left = *stored.left;
  if (stored.height) rect.height = *stored.height;
  if (stored.width) rect.width = *stored.width;
  w_.notes.Place(rect);
  // A rectangle saved on a monitor that is gone would leave the window out of reach.
  w_.notes.KeepReachable();

  storeInRegistry_ = stored.storeInRegistry;
  ApplyStorage();
  topMost_ = stored.onTop;
  w_.notes.ShowOptions(topMost_, storeInRegistry_);
  if (topMost_) w_.notes.SetTopMost(true);
}

void NotesModel::LoadPad(int pad) {
  // A pad whose store cannot be read starts empty.
  std::string text;
  try {
    text = s_.pads.Read(pad).value_or("");
  } catch (const PlatformError&) {
  }
  w_.notes.SetPadText(pad, text);
}

void NotesModel::ApplyStorage() {
  s_.pads.SetMode(storeInRegistry_ == CheckState::Ticked ? Storage::SettingsStore
                                                         : Storage::PadFiles);
}

void NotesModel::Resized() {
  layout_ = LayOut(w_.notes.Measure(), layout_);
  w_.notes.Arrange(layout_);
}

void NotesModel::PadChanged(int pad) {
  if (starting_) return;
  try {
    s_.pads.Write(pad, w_.notes.PadText(pad));
  } catch (const PlatformError& e) {
    w_.messages.Show(e.what(), kSaveFailedTitle);
  }
}

void NotesModel::TabSelected(int pad) {
  shownPad_ = pad;
  w_.notes.ShowPad(pad);
  std::size_t length = Utf16Length(w_.notes.PadText(pad));
  w_.notes.SetStatusText(std::to_string(length) + " characters");
}

void NotesModel::Run(ToolbarCommand command) {
  const int pad = shownPad_;
  try {
    if (command == ToolbarCommand::Paste) {
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
      if (command == ToolbarCommand::Cut && !selection.empty()) {
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

void NotesModel::StoreInRegistryClicked() {
  // A click ticks an unticked or greyed box and clears a ticked one.
  storeInRegistry_ =
      storeInRegistry_ == CheckState::Ticked ? CheckState::Unticked : CheckState::Ticked;
  ApplyStorage();
  w_.notes.ShowOptions(topMost_, storeInRegistry_);
}

void NotesModel::AboutPressed() { w_.about.Open(); }

void NotesModel::Hide() { w_.notes.Hide(); }

void NotesModel::CloseRequested(CloseReason reason) {
  if (!EndsProgram(reason)) {
    w_.notes.Hide();
    return;
  }
  // At the end of the session the process may be gone as soon as this returns.
  if (reason == CloseReason::SessionEnd) Finish();
  w_.loop.Quit();
}

void NotesModel::TrayReleased(TrayAction action) {
  switch (action) {
    case TrayAction::ShowAndFocus:
      if (!w_.notes.Shown()) w_.notes.Show();
      w_.notes.Activate();
      break;
    case TrayAction::Toggle:
      if (w_.notes.Shown()) w_.notes.Hide();
      else w_.notes.Show();
      break;
    case TrayAction::None:
      break;
  }
}

void NotesModel::Finish() {
  if (finished_) return;
  finished_ = true;
  SaveWindowSettings(s_.settings, w_.notes.Placement(), storeInRegistry_, topMost_);
  w_.tray.Remove();
}

}  // namespace vorn
