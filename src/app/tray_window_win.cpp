#include "app/tray_window_win.h"

#include "app/app_win.h"
#include "platform/win.h"

namespace vorn::win {

namespace {
constexpr wchar_t kTrayClass[] = L"VornNotesTray";
}

TrayWindow::TrayWindow(HINSTANCE instance, FormWindow& notes, std::function<HICON()> notesIcon,
                       std::function<void(std::int16_t)> unloadNotes)
    : instance_(instance),
      form_(area_, notes),
      notesIcon_(std::move(notesIcon)),
      unloadNotes_(std::move(unloadNotes)),
      // Sent to every top-level window when the notification area is (re)created.
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = WindowProc<TrayWindow>;
  wc.hInstance = instance;
  wc.lpszClassName = kTrayClass;
  RegisterClassExW(&wc);
}

TrayWindow::~TrayWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void TrayWindow::Load() {
  // A top-level window, never shown: the end of the session and close requests from other
  // programs reach top-level windows only.
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayClass, L"Vorn Notes tray", WS_POPUP, 0, 0, 0, 0,
                          nullptr, nullptr, instance_, this);
  if (!hwnd_) throw PlatformError(ErrorText(GetLastError()));
  HICON icon = notesIcon_();
  form_.Form_Load(reinterpret_cast<std::uintptr_t>(hwnd_), reinterpret_cast<std::uintptr_t>(icon));
}

void TrayWindow::Unload() {
  std::int16_t cancel = 0;
  form_.Form_QueryUnload(cancel, 1);
  if (hwnd_) {
    HWND h = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(h);
  }
}

LRESULT TrayWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == taskbarCreated_ && msg != 0) {
    form_.Readd();
    return 0;
  }
  switch (msg) {
    case kTrayCallbackMessage: OnTrayNotification(lp); return 0;
    case WM_CLOSE: unloadNotes_(3); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: if (wp) unloadNotes_(2); return 0;
    default: return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

void TrayWindow::OnTrayNotification(LPARAM lp) {
  // The window layer's mouse-move event: X in twips from the low word of lParam.
  float twipsPerPixelX = TwipsPerPixel(DpiOf(nullptr));
  float x = static_cast<float>(LOWORD(lp)) * twipsPerPixelX;
  form_.Form_MouseMove(0, 0, x, 0.0f, twipsPerPixelX);
}

}  // namespace vorn::win
