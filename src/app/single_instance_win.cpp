#include "app/single_instance_win.h"

#include "ui/window_ids.h"

namespace vorn::app {

SingleInstance::SingleInstance() {
  // "Local\" names live in the user's session.
  mutex_.Reset(CreateMutexW(nullptr, FALSE, L"Local\\Vorn Notes, one per session"));
  first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

void SingleInstance::ShowRunningProgram() {
  for (int tries = 0; tries < 100; ++tries) {
    if (HWND tray = FindWindowW(ui::kTrayWindowClass, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(tray, &process);
      // The user started this program: it may hand the foreground on to the first one.
      AllowSetForegroundWindow(process);
      PostMessageW(tray, ui::kTrayIconMessage, 0, WM_LBUTTONUP);
      return;
    }
    Sleep(100);  // the first program is still starting
  }
}

}  // namespace vorn::app
