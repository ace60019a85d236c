// What the program does, in its user's words: it starts hidden in the notification area with
// the ten pads filled from their store, stores each pad at every change, shows the pad of the
// tab clicked with its length, runs the toolbar's commands, keeps the two options, hides, and
// ends by storing the window's place and the options.
#pragma once

#include <string>
#include <string_view>

#include "core/clipboard.h"
#include "core/close_reason.h"
#include "core/layout.h"
#include "core/notes_view.h"
#include "core/pad_store.h"
#include "core/printing.h"
#include "core/settings_store.h"
#include "core/tray_action.h"
#include "core/window_settings.h"

namespace vorn {

enum class ToolbarCommand { Print, Cut, Copy, Paste };

// The windows the model drives.
struct NotesWindows {
  NotesView& notes;
  TrayIcon& tray;
  AboutBox& about;
  MessageDialog& messages;
  RunLoop& loop;
};

// The services it uses.
struct NotesServices {
  SettingsStore& settings;
  PadStore& pads;
  Clipboard& clipboard;
  Printer& printer;
};

class NotesModel {
 public:
  NotesModel(NotesWindows windows, NotesServices services)
      : w_(windows), s_(services) {}

  // Adds the icon, applies the stored window and options, fills the pads and leaves the
  // window hidden with pad 1 shown in it. Nothing is written while it runs.
  void Start();
  // The window's client area changed size.
  void Resized();
  // The user changed a pad: its whole text goes to the store. A failure says "Ooops...".
  void PadChanged(int pad);
  // A tab was chosen: its pad alone is shown, and its length goes to the status bar.
  void TabSelected(int pad);
  // Print, Cut, Copy or Paste on the shown pad. A printer or clipboard failure is told plainly.
  void Run(ToolbarCommand command);
  void TopClicked();
  void StoreInRegistryClicked();
  void AboutPressed();
  // "&Hide" and Escape.
  void Hide();
  // The close box only hides; every other reason ends the program.
  void CloseRequested(CloseReason reason);
  void TrayReleased(TrayAction action);
  // Stores the settings and removes the icon, once; the program's last step.
  void Finish();

  int ShownPad() const { return shownPad_; }
  bool TopMost() const { return topMost_; }
  CheckState StoreInRegistry() const { return storeInRegistry_; }

 private:
  void RestoreWindow();
  void LoadPad(int pad);
  void ApplyStorage();

  NotesWindows w_;
  NotesServices s_;
  NotesLayout layout_;
  bool starting_ = false;
  bool finished_ = false;
  bool topMost_ = false;
  CheckState storeInRegistry_ = CheckState::Ticked;
  int shownPad_ = 1;
};

}  // namespace vorn
