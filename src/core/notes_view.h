// The windows as the notes model sees them. The Win32 windows implement these; the unit tests
// put small fakes in their place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/layout.h"
#include "core/pad_mirror.h"
#include "core/window_settings.h"

namespace vorn {

// The notes window: the ten pads under their tabs, the two options, the status bar.
// Pads are numbered 1 to 10; their text is UTF-8 with line breaks as CR LF.
class NotesView {
 public:
  virtual ~NotesView() = default;

  virtual bool Shown() const = 0;
  virtual void Show() = 0;  // without taking the focus
  virtual void Hide() = 0;
  // Brings the window to the front with the keyboard in the control that last had it.
  virtual void Activate() = 0;
  // The rectangle the window has, or returns to when it is minimized or maximized.
  virtual WindowRect Placement() const = 0;
  virtual void Place(const WindowRect& rect) = 0;
  // Moves a window whose title bar's middle third does not lie on the monitors onto the
  // nearest one.
  virtual void KeepReachable() = 0;
  virtual void SetTopMost(bool topMost) = 0;
  virtual void ShowOptions(bool top, CheckState storeInRegistry) = 0;

  // The smallest outer size the window can have, in twips.
  virtual WindowRect MinimumSize() const = 0;
  virtual LayoutInput Measure() const = 0;
  virtual void Arrange(const NotesLayout& layout) = 0;

  // Shows this pad and hides the others.
  virtual void ShowPad(int pad) = 0;
  // Every pad's text at `percent` of its designed size.
  virtual void SetZoom(int percent) = 0;
  virtual std::string PadText(int pad) const = 0;
  // Gives the pad its text; this is not a change of the user's.
  virtual void SetPadText(int pad, std::string_view text) = 0;
  // A pad that is not editable takes no typing.
  virtual void SetPadEditable(int pad, bool editable) = 0;
  // The selected text, "" when nothing is selected.
  virtual std::string PadSelection(int pad) const = 0;
  // Replaces the selection, or inserts at the caret, as typing does: the pad reports a change.
  virtual void ReplacePadSelection(int pad, std::string_view text) = 0;
  // Makes `text` the pad's whole text as one change of the user's, which Ctrl+Z takes back.
  virtual void ReplacePadText(int pad, std::string_view text) = 0;
  // Shows `text` in the pad in place of what it showed, written elsewhere: the caret and the
  // selection move with the text they are in, and the first line in view stays as far as the
  // text allows. No change of the user's.
  virtual void TakePadText(int pad, std::string_view text) = 0;
  virtual void SetStatusText(std::string_view text) = 0;
  // The pad's text as its control counts it (UTF-16, a line break as one CR), its selection,
  // and a selection made and scrolled into view, in those positions.
  virtual std::u16string PadContent(int pad) const = 0;
  // The pad's text as its control counts it, and the one edit made since this was last asked,
  // where the pad knows it; nothing while the pad holds its text itself, not in a control.
  virtual std::optional<ShownEdit> TakePadEdit(int pad) = 0;
  // Checks the pad's copy of its text against what its control shows: the lengths or, with
  // `whole`, the whole text (first finishing any text an input method is composing). On a
  // difference the copy takes the control's text, and the text the copy held comes back.
  virtual std::optional<std::string> CheckPadCopy(int pad, bool whole) = 0;
  virtual TextSpan PadSelected(int pad) const = 0;
  virtual void SelectInPad(int pad, TextSpan span) = 0;
  // Takes the hotkey from the system for this window, or gives it back when there is none;
  // false when another program has it.
  virtual bool SetHotKey(const std::optional<HotKey>& key) = 0;
};

// The icon in the notification area.
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  // True once the shell shows the icon; it may refuse, or not answer in time, while it starts.
  virtual bool Add() = 0;
  virtual void Remove() = 0;
};

// The About window: one at a time, created when it is asked for.
class AboutBox {
 public:
  virtual ~AboutBox() = default;
  virtual void Open() = 0;
};

// The system's folder picker, over the notes window.
class FolderDialog {
 public:
  virtual ~FolderDialog() = default;
  // The folder the user picks, starting in `current`, with `programFolder` among the places
  // offered; nothing when the user cancels.
  virtual std::optional<std::string> ChooseFolder(std::string_view current,
                                                  std::string_view programFolder) = 0;
};

// Messages over the notes window.
class MessageDialog {
 public:
  virtual ~MessageDialog() = default;
  // With an OK button; the program waits for it.
  virtual void Show(std::string_view text, std::string_view title) = 0;
  // With an OK button, without taking the keyboard from where the user types.
  virtual void Notify(std::string_view text, std::string_view title) = 0;
  // With Yes and No; true for Yes.
  virtual bool Ask(std::string_view text, std::string_view title) = 0;
};

// The history window of a pad: its versions, and a way to restore one.
class HistoryBox {
 public:
  virtual ~HistoryBox() = default;
  virtual void Open(int pad) = 0;
};

// The Find window: the text to find and "Match case", and "Find Next".
class FindBox {
 public:
  virtual ~FindBox() = default;
  virtual void Open(std::string_view what, bool matchCase) = 0;
};

// The program's message loop.
class RunLoop {
 public:
  virtual ~RunLoop() = default;
  // The loop ends once the message being handled is done.
  virtual void Quit() = 0;
  // More of the user's input is already queued: a change can be stored once after it.
  virtual bool InputWaiting() const = 0;
};

}  // namespace vorn
