// The program's entry point and message loop.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "app/app_win.h"
#include "ui/notes/notes_window_win.h"

namespace vorn::win {
bool gDispatchingPostedClose = false;
}

// The default handler for an uncaught exception prints its demangled type name, which pulls
// the whole demangler into the executable. The program never lets an exception escape, so the
// plain end is enough.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  // Creating the notes window runs the start-up sequence; it ends hidden in the tray.
  static vorn::win::NotesWindow notes(instance);
  if (!notes.Create()) return 1;

  // The pads' text goes into their controls while no message waits, piece by piece, so the
  // program answers its user from the start.
  MSG msg;
  bool filling = true;
  for (;;) {
    // A wait that returns at once: it also tells the system that the program waits for input.
    if (filling && MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
                       WAIT_TIMEOUT) {
      filling = notes.FillPadsStep();
      continue;
    }
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    if (notes.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    vorn::win::gDispatchingPostedClose = msg.message == WM_CLOSE;
    DispatchMessageW(&msg);
    vorn::win::gDispatchingPostedClose = false;
  }
  return static_cast<int>(msg.wParam);
}
