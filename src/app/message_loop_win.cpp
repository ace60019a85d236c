#include "app/message_loop_win.h"

namespace vorn::app {

int MessageLoop::Run(ui::NotesWindow& notes, ui::TrayWindow& tray, ui::AboutWindow& about,
                     NotesModel& model) {
  MSG msg{};
  bool filling = true;
  for (;;) {
    // A wait that returns at once: it also tells the system that the program waits for input.
    if (filling && MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
                       WAIT_TIMEOUT) {
      filling = notes.FillPadsStep();
      continue;
    }
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    // The program never posts a close request to these two: one posted comes from another
    // program, as the Task Manager's End task does. The close box sends its own.
    bool ours = msg.hwnd && (msg.hwnd == notes.Hwnd() || msg.hwnd == tray.Hwnd());
    if (msg.message == WM_CLOSE && ours) {
      model.CloseRequested(CloseReason::OtherProgram);
      continue;
    }
    if (about.PreTranslate(msg) || notes.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace vorn::app
