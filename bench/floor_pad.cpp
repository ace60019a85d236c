// The floor of a keystroke typed into another program: a program of its own whose window holds
// one rich-edit control set up as a pad is (plain text, no length limit, Tahoma 8.5 pt), with
// the text of the file named first on its command line, the control as large as the sizes
// given after it. It does nothing with a change: what a key costs a shown control in a program
// whose message loop runs, and no more. Like any program's window, it hands its focus to its
// control when it is activated, so that the control shows its caret as a pad does.
#include <windows.h>
#include <richedit.h>

#include <string>

#include "floor_control.h"

namespace {

HWND g_control = nullptr;

LRESULT CALLBACK FloorWindow(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS && g_control) {
    SetFocus(g_control);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring ReadText(const wchar_t* path) {
  HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::string bytes(GetFileSize(f, nullptr), '\0');
  DWORD got = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(f);
  std::wstring text(bytes.size(), L'\0');
  text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                  text.data(), static_cast<int>(text.size())));
  return text;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 4) return 1;
  LoadLibraryW(L"msftedit.dll");
  WNDCLASSW wc{};
  wc.lpfnWndProc = FloorWindow;
  wc.hInstance = instance;
  wc.lpszClassName = L"VornFloorPad";
  RegisterClassW(&wc);
  int width = _wtoi(argv[2]), height = _wtoi(argv[3]);
  HWND window = CreateWindowExW(0, L"VornFloorPad", L"floor pad",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                width + 40, height + 80, nullptr, nullptr, instance, nullptr);
  HWND edit = g_control = CreateFloorControl(window, width, height);
  std::wstring text = ReadText(argv[1]);
  SETTEXTEX how{ST_DEFAULT, 1200};
  SendMessageW(edit, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
               reinterpret_cast<LPARAM>(text.c_str()));
  SetForegroundWindow(window);
  SetFocus(edit);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
