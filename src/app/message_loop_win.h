// The message loop. Once no message waits, what the input changed is stored, and then the
// pads take in their text piece by piece, so the program answers its user from the start.
#pragma once

#include "core/notes_model.h"
#include "core/notes_view.h"
#include "ui/about_window_win.h"
#include "ui/find_window_win.h"
#include "ui/history_window_win.h"
#include "ui/messages_win.h"
#include "ui/notes_window_win.h"

namespace vorn::app {

// The windows whose keyboard the loop looks at before dispatching.
struct LoopWindows {
  ui::NotesWindow& notes;
  ui::AboutWindow& about;
  ui::HistoryWindow& history;
  ui::FindTextWindow& find;
  ui::Messages& messages;
};

class MessageLoop : public RunLoop {
 public:
  void Quit() override { PostQuitMessage(0); }
  bool InputWaiting() const override;
  // Runs until Quit; returns the program's exit code.
  int Run(const LoopWindows& windows, NotesModel& model);
};

}  // namespace vorn::app
