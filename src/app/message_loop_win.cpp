#include "app/message_loop_win.h"

namespace vorn::app {

bool MessageLoop::InputWaiting() const {
  return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) != 0;
}

int MessageLoop::Run(const LoopWindows& w, NotesModel& model) {
  MSG msg{};
  bool filling = true;
  for (;;) {
    // A wait that returns at once tells the system that the program waits for input; whether
    // a message waits is for PeekMessage to say. (The wait's own answer, with
    // MWMO_INPUTAVAILABLE, kept saying input was queued when none could be taken, and the idle
    // steps waited for the next timer, seconds later.)
    MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      // Nothing is queued: what the input changed is stored before anything else.
      model.Idle();
      if (filling) {
        filling = w.notes.FillPadsStep();
        continue;
      }
    }
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    // The program never posts a close request to these two: one posted comes from another
    // program, as the Task Manager's End task does. The close box sends its own.
    bool ours = msg.hwnd && (msg.hwnd == w.notes.Hwnd() || msg.hwnd == w.tray.Hwnd());
    if (msg.message == WM_CLOSE && ours) {
      model.CloseRequested(CloseReason::OtherProgram);
      continue;
    }
    if (w.messages.PreTranslate(msg) || w.history.PreTranslate(msg) || w.find.PreTranslate(msg) ||
        w.about.PreTranslate(msg) || w.notes.PreTranslate(msg)) {
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace vorn::app
