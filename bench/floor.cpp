// The floor for start-up: one hidden window and one tray icon, nothing more. Built a second
// time as floor_controls.exe, which also loads the libraries a window of real controls needs
// (the common controls and the rich-edit control) and does nothing else with them.
#include <windows.h>
#include <shellapi.h>
#ifdef VORN_FLOOR_CONTROLS
#include <commctrl.h>
#endif

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef VORN_FLOOR_CONTROLS
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  LoadLibraryW(L"msftedit.dll");
#endif
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"VornFloor";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, L"VornFloor", L"floor", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, instance, nullptr);
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = hwnd;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  icon.uCallbackMessage = WM_APP;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpyW(icon.szTip, L"floor");
  Shell_NotifyIconW(NIM_ADD, &icon);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
