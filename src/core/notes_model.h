// What the program does, in its user's words: it starts hidden in the notification area with
// the ten pads filled from their store, stores each pad at every change, shows the pad of the
// tab clicked with its length, runs the toolbar's commands, keeps the two options, hides, and
// ends by storing the window's place and the options. Nothing stored is ever replaced unseen:
// see PadKeeper.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/clipboard.h"
#include "core/close_reason.h"
#include "core/history.h"
#include "core/hot_key.h"
#include "core/layout.h"
#include "core/notes_view.h"
#include "core/pad_keeper.h"
#include "core/printing.h"
#include "core/settings_store.h"
#include "core/start_up.h"
#include "core/store_watch.h"
#include "core/tray_action.h"
#include "core/window_settings.h"

namespace vorn {

enum class ToolbarCommand { Print, Cut, Copy, Paste };

// The windows the model drives.
struct NotesWindows {
  NotesView& notes;
  TrayIcon& tray;
  AboutBox& about;
  HistoryBox& history;
  FindBox& find;
  MessageDialog& messages;
  FolderDialog& folders;
  RunLoop& loop;
};

// The services it uses.
struct NotesServices {
  SettingsStore& settings;
  PadKeeper& pads;
  History& history;
  Clipboard& clipboard;
  Printer& printer;
  StartUp& startUp;
  StoreWatch& watch;
  KeyboardLayouts& keyboard;
};

class NotesModel {
 public:
  NotesModel(NotesWindows windows, NotesServices services) : w_(windows), s_(services) {}

  // Adds the icon, applies the stored window and options, fills the pads and leaves the
  // window hidden with pad 1 shown in it. Nothing is written while it runs.
  void Start();
  // The window's client area changed size.
  void Resized();
  // The user changed a pad: its whole text goes to the store, at once or, while more input is
  // queued, once after it.
  void PadChanged(int pad);
  // Stores every pad changed since; the loop calls it before it waits for input, so a change
  // is never left unstored while the program waits.
  void StoreChanges();
  // Before the program waits for input: the pads' copies checked against their controls, then
  // StoreChanges.
  void Idle();
  // A tab was chosen: its pad alone is shown, and its length goes to the status bar.
  void TabSelected(int pad);
  // Print, Cut, Copy or Paste on the shown pad. A printer or clipboard failure is told plainly.
  void Run(ToolbarCommand command);
  void TopClicked();
  // Ctrl+Plus, Ctrl+Minus and Ctrl with the wheel in a pad: the pads' text larger or smaller
  // by `steps` steps; 0 (Ctrl+0 on the number pad) back to 100 %. The status bar shows the zoom
  // for a moment.
  void Zoom(int steps);
  // "Start with &Windows" in the window's system menu: checked while Windows starts this
  // program at log-on; choosing it turns that on or off. A refusal is told.
  bool StartsWithWindows();
  void StartWithWindowsClicked();
  // Writes every pad to the other store and stores the choice at once; a failure keeps both.
  void StoreInRegistryClicked();
  // "Pads &Folder..." in the window's system menu: the pad files go to a folder the user picks
  // (the program's own folder takes them back beside the program, as "~tmpN.tmp"). A folder
  // that holds pads already has the shared notes: the pads show them, and what they showed
  // goes to their history. The choice is stored at once; a failure changes nothing.
  void PadsFolderClicked();
  void AboutPressed();
  // "&Hide" and Escape.
  void Hide();
  // The close box only hides; every other reason ends the program. "&End" with a pad that
  // cannot be saved asks first.
  void CloseRequested(CloseReason reason);
  // A setup is about to replace or remove the program: it ends as End does, without a
  // question, once every pad is stored. A pad that cannot be stored, or whose store is not to
  // be written yet (written elsewhere a moment ago), keeps it running and the answer false:
  // the setup asks again a few times, then says so and goes no further.
  bool EndForSetup();
  void TrayReleased(TrayAction action);
  // The notification area was made anew (Explorer started again): the icon goes back in it.
  void NotificationAreaBack();
  // The hotkey, from any program: shows the window with the caret in its pad, as a left release
  // on the icon does; while the window is the active one, hides it.
  void HotKeyPressed(bool windowActive);
  // Every few seconds: pads that could not be read or saved are tried again, and the store is
  // looked at for changes from elsewhere (some folders report none).
  void Tick();
  // The pads' store may have been written by another program or computer (its watch said so,
  // the window was shown, the system woke from sleep): each pad takes in what changed there,
  // merged with what was typed here, and the status bar or a notice says what happened.
  void StoreChangedElsewhere();
  // Windows asks to remove the drive that holds the pads' folder (or it is gone): what waits is
  // stored while it can be, and the program lets go of the folder. The pads keep their text; a
  // write meanwhile waits until the drive is back, when the folder is watched again.
  void PadsDriveLeaving();
  // A drive came (back), or its removal was called off.
  void PadsDriveBack();
  // Stores the settings, keeps unsaved text in the history and removes the icon, once; the
  // program's last step.
  void End();

  // Ctrl+F: the Find window, with the shown pad's selection (on one line) to find.
  void FindRequested();
  // "Find Next": from the shown pad's caret through the pads in order and round. Text found
  // nowhere is told.
  void FindNext(std::string_view what, bool matchCase);
  // F3 and Shift+F3: the next or the previous match of the text last looked for.
  void FindAgain(bool forward);

  // The history of the shown pad (Ctrl+H).
  void HistoryRequested();
  std::vector<Version> Versions(int pad);
  // The text of a version; "" when it cannot be read.
  std::string VersionText(int pad, const Version& version);
  // Makes the version the pad's whole text, as one change; the text it replaces is kept first.
  void Restore(int pad, const Version& version);

  int ShownPad() const { return shownPad_; }
  bool TopMost() const { return topMost_; }
  CheckState StoreInRegistry() const { return storeInRegistry_; }

 private:
  void RestoreWindow();
  // Takes the stored hotkey from the system unless it would take a character from the user's
  // typing; then the default, if that takes none. The status bar says so.
  void TakeHotKey();
  void LoadPad(int pad);
  void ReadAgainIfUnread(int pad);
  void AfterSave(int pad, bool saved);
  void AfterWrite(int pad, PadKeeper::WriteResult result, bool typing);
  // `typing`: a key typed in the pad found the change.
  void TakeIn(int pad, const std::string& incoming, std::string stamp, bool typing);
  void TakeInFolderFinds(const std::vector<PadStore::Found>& found);
  // `poll`: the look of every few seconds, which takes the pad files' stamps from one look at
  // their folder; a report of a change, or the window shown, looks at each.
  void LookElsewhere(bool poll);
  void ShowStatus();
  // One notice for the pads that took the newer text of an earlier version's VirtualStore.
  void TellVirtualCopies();
  std::string PadProblem(int pad) const;
  void TellHistoryProblem();
  void CheckPads(bool whole, int onlyPad = 0);
  void HideWindow();
  std::string HistoryProblemText() const;
  bool AskToEndWithUnsavedPads();

  NotesWindows w_;
  NotesServices s_;
  NotesLayout layout_;
  bool starting_ = false;
  bool takingIn_ = false;  // a pad shows text written elsewhere: no change of the user's
  bool ended_ = false;
  bool watchLetGo_ = false;   // the pads' drive is leaving or gone
  bool laggingTold_ = false;  // the status bar tells of a change waiting for its store
  bool topMost_ = false;
  bool iconShown_ = false;      // the shell took the icon; until it does, every tick asks again
  bool failureTold_ = false;    // the "Ooops..." notice of the present run of failures
  int historyProblemTold_ = 0;  // 1: the history fails, 2: and so does the rescue history
  CheckState storeInRegistry_ = CheckState::Ticked;
  int shownPad_ = 1;
  std::string findWhat_;  // the text last looked for
  bool findMatchCase_ = false;
  std::string hotKey_;  // as "Setting\HotKey" holds it; "" when off
  int zoom_ = kNormalZoom;
  int zoomTicks_ = 0;        // ticks left while the status bar shows the zoom
  std::string countText_;    // the shown pad's length at the last tab click
  std::string takenInText_;  // what came in from elsewhere, until the next tab click
  std::vector<int> virtualCopies_;  // pads that took such a text, until told
  std::string hotKeyText_;   // why the stored hotkey is not the one taken, until a tab click
};

}  // namespace vorn
