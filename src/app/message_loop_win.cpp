#include "app/message_loop_win.h"

#include "ui/error_barrier_win.h"

namespace vorn::app {

namespace {

// The keyboard of the program's windows, before a window's controls see it: true when a window
// took the message, which is then not dispatched.
bool PreTranslate(const LoopWindows& w, MSG& msg) {
  return w.messages.PreTranslate(msg) || w.history.PreTranslate(msg) || w.find.PreTranslate(msg) ||
         w.about.PreTranslate(msg) || w.notes.PreTranslate(msg);
}

}  // namespace

bool MessageLoop::InputWaiting() const {
  return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) != 0;
}

int MessageLoop::Run(const LoopWindows& w, NotesModel& model) {
  MSG msg{};
  for (;;) {
    // A wait that returns at once tells the system that the program waits for input; whether
    // a message waits is for PeekMessage to say. (The wait's own answer, with
    // MWMO_INPUTAVAILABLE, kept saying input was queued when none could be taken, and the idle
    // steps waited for the next timer, seconds later.)
    MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      // Nothing is queued: what the input changed is stored before anything else. What these
      // steps throw stops at the barrier, as in a window procedure; a pad whose filling failed
      // is filled when it is shown. Text taken in from elsewhere may start a pad filling at
      // any time.
      ui::Guarded([&] { model.Idle(); });
      if (ui::Guarded([&] { return w.notes.BackgroundStep(); }, false)) continue;
    }
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    // A key whose handling failed is not handed on as well.
    if (ui::Guarded([&] { return PreTranslate(w, msg); }, true)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace vorn::app
