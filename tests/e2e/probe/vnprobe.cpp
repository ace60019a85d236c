// vnprobe: reads the state of a running VornNotes.exe from beside it, for the end-to-end tests.
// It runs under Wine in the same prefix and prints one JSON document on standard output.
//   vnprobe windows    top-level windows of the program, the foreground window and the focus
//   vnprobe controls   every control of the notes window, with text, geometry and state
//   vnprobe tabs       the tab strip: count, selection, captions
//   vnprobe status     the status bar: panel edges, panel 1 text, the indicator states
//   vnprobe tooltips   the tool tips of the window's controls
//   vnprobe captions [CLASS]  buttons and check boxes: their width and what their caption needs
//   vnprobe command ID        posts the notes window the command of a toolbar button
//   vnprobe oneshot F  what a fresh rich-edit control holds after taking the UTF-8 file F at once
//   vnprobe hold F S   holds the file F open for S seconds, shared with no one, as a backup
//                      tool or a virus scanner may
//   vnprobe alerts S   the titles of the windows announced as alerts in the next S seconds
//                      (it ends at the first)
//   vnprobe settingchange TEXT   tells every window that the setting TEXT changed
//   vnprobe rewrite F SRC MS   rewrites the file F in place as Notepad saves: opens it shared for
//                      reading only, empties it, writes the bytes of the file SRC MS ms later
//   vnprobe answers MS  asks the notes window for nothing every 20 ms for MS ms; prints the
//                      longest wait for its answer in ms
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/window_ids.h"

namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), s.data(), n, nullptr, nullptr);
  return s;
}

std::string Json(const std::wstring& w) {
  std::string s = Utf8(w), out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += (char)c;
    } else if (c < 0x20) {
      char b[8];
      snprintf(b, sizeof b, "\\u%04x", c);
      out += b;
    } else
      out += (char)c;
  }
  return out + "\"";
}

// A message to the program that it does not answer within twenty seconds ends the probe with
// nothing printed, for the harness to ask again: a probe must never wait for good.
LRESULT Send(HWND h, UINT msg, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  SetLastError(0);
  if (!SendMessageTimeoutW(h, msg, w, l, SMTO_NORMAL, 20000, &result) &&
      GetLastError() == ERROR_TIMEOUT) {
    fprintf(stderr, "window %p did not answer message 0x%x\n", (void*)h, msg);
    exit(3);
  }
  return (LRESULT)result;
}

std::string Num(long long v) { return std::to_string(v); }
std::string Hwnd(HWND h) { return Num((long long)(INT_PTR)h); }

std::wstring ClassOf(HWND h) {
  wchar_t b[128] = {};
  GetClassNameW(h, b, 128);
  return b;
}

std::wstring TextOf(HWND h) {
  LRESULT n = Send(h, WM_GETTEXTLENGTH, 0, 0);
  std::wstring t(n + 1, L'\0');
  Send(h, WM_GETTEXT, n + 1, (LPARAM)t.data());
  t.resize(wcslen(t.c_str()));
  return t;
}

HWND FindNotes() { return FindWindowW(vorn::ui::kNotesWindowClass, nullptr); }

// Memory in the program's process, for messages whose arguments are pointers.
class Remote {
 public:
  Remote(HWND h, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    mem_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~Remote() {
    VirtualFreeEx(process_, mem_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  void* Ptr() const { return mem_; }
  void Write(const void* data, size_t n, size_t at = 0) {
    WriteProcessMemory(process_, (char*)mem_ + at, data, n, nullptr);
  }
  void Read(void* data, size_t n, size_t at = 0) {
    ReadProcessMemory(process_, (char*)mem_ + at, data, n, nullptr);
  }

 private:
  HANDLE process_;
  void* mem_;
  size_t size_;
};

std::string Rect(RECT r) {
  return "[" + Num(r.left) + "," + Num(r.top) + "," + Num(r.right) + "," + Num(r.bottom) + "]";
}

int Windows() {
  HWND fg = GetForegroundWindow();
  std::string out = "{\"foreground\":" + Hwnd(fg) + ",\"windows\":[";
  bool first = true;
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
    std::wstring cls = ClassOf(h);
    bool menu = cls == L"#32768" && IsWindowVisible(h);  // a popup menu while it is open
    if (cls.rfind(L"VornNotes", 0) != 0 && cls != L"#32770" && !menu) continue;
    RECT r{};
    GetWindowRect(h, &r);
    WINDOWPLACEMENT wp{sizeof wp};
    GetWindowPlacement(h, &wp);
    DWORD tid = GetWindowThreadProcessId(h, nullptr);
    GUITHREADINFO gti{sizeof gti};
    GetGUIThreadInfo(tid, &gti);
    out += std::string(first ? "" : ",") + "{\"hwnd\":" + Hwnd(h) + ",\"class\":" + Json(cls) +
           ",\"title\":" + Json(TextOf(h)) + ",\"visible\":" + Num(IsWindowVisible(h) ? 1 : 0) +
           ",\"iconic\":" + Num(IsIconic(h) ? 1 : 0) + ",\"zoomed\":" + Num(IsZoomed(h) ? 1 : 0) +
           ",\"exstyle\":" + Num(GetWindowLongW(h, GWL_EXSTYLE)) + ",\"rect\":" + Rect(r) +
           ",\"normal\":" + Rect(wp.rcNormalPosition) + ",\"focus\":" + Hwnd(gti.hwndFocus) +
           ",\"active\":" + Hwnd(gti.hwndActive) +
           ",\"big_icon\":" + Num((long long)(INT_PTR)Send(h, WM_GETICON, ICON_BIG, 0)) + "}";
    first = false;
  }
  puts((out + "]}").c_str());
  return 0;
}

void Collect(HWND parent, HWND origin, std::string& out, bool& first) {
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, origin, (POINT*)&r, 2);
    RECT screen{};
    GetWindowRect(h, &screen);
    std::wstring cls = ClassOf(h);
    std::wstring text = TextOf(h);
    // In front: the control its parent finds at the control's centre, over its siblings.
    POINT centre{(screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2};
    ScreenToClient(parent, &centre);
    bool front = ChildWindowFromPointEx(parent, centre, CWP_SKIPINVISIBLE) == h;
    out += std::string(first ? "" : ",") + "{\"hwnd\":" + Hwnd(h) + ",\"class\":" + Json(cls) +
           ",\"id\":" + Num(GetDlgCtrlID(h)) + ",\"parent\":" + Hwnd(parent) +
           ",\"text\":" + Json(text) +
           ",\"visible\":" + Num((GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) ? 1 : 0) +
           ",\"style\":" + Num((unsigned)GetWindowLongW(h, GWL_STYLE)) +
           ",\"check\":" + Num(cls == L"Button" ? (long long)Send(h, BM_GETCHECK, 0, 0) : -1) +
           ",\"rect\":" + Rect(r) + ",\"screen\":" + Rect(screen) +
           ",\"front\":" + Num(front ? 1 : 0) + "}";
    first = false;
    Collect(h, origin, out, first);
  }
}

int Controls(const wchar_t* cls) {
  HWND notes = FindWindowW(cls, nullptr);
  if (!notes) return 2;
  std::string out = "[";
  bool first = true;
  Collect(notes, notes, out, first);
  puts((out + "]").c_str());
  return 0;
}

// The buttons, check boxes and one-line labels of a window with the room their captions need:
// the caption's width in Tahoma of its designed size, and for a check box its box and the gap
// after it. (The control's own font cannot be read from another process.)
struct DesignedFont {
  const wchar_t* text;
  double points;
  bool bold, italic;
} constexpr kDesignedFonts[] = {{L"&Top", 7.8, false, false},
                                {L"by Kalvo", 14.4, true, true},
                                {L"(Kalvo)", 12.0, false, false}};

void CollectCaptions(HWND parent, std::string& out, bool& first) {
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    CollectCaptions(h, out, first);
    bool button = ClassOf(h) == L"Button";
    bool oneLineLabel = ClassOf(h) == L"Static" &&
                        (GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
    if (!button && !oneLineLabel) continue;
    std::wstring text = TextOf(h), shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == L'&' && i + 1 < text.size()) ++i;
      shown += text[i];
    }
    HDC dc = GetDC(nullptr);
    DesignedFont font{text.c_str(), 8.4, false, false};
    for (const DesignedFont& f : kDesignedFonts) {
      if (text == f.text) font = f;
    }
    int height = -(int)(font.points * GetDeviceCaps(dc, LOGPIXELSY) / 72.0 + 0.5);
    HFONT copy = CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, copy);
    SIZE extent{};
    GetTextExtentPoint32W(dc, shown.c_str(), (int)shown.size(), &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(copy);
    LONG style = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
    bool box = style == BS_CHECKBOX || style == BS_AUTOCHECKBOX || style == BS_3STATE ||
               style == BS_AUTO3STATE;
    RECT r{};
    GetClientRect(h, &r);
    int needed = extent.cx + (oneLineLabel ? 0 : box ? GetSystemMetrics(SM_CXMENUCHECK) + 3 : 4);
    out += std::string(first ? "" : ",") + "{\"text\":" + Json(text) +
           ",\"width\":" + Num(r.right) + ",\"needed\":" + Num(needed) + "}";
    first = false;
  }
}

int Captions(const wchar_t* cls) {
  HWND window = FindWindowW(cls, nullptr);
  if (!window) return 2;
  std::string out = "[";
  bool first = true;
  CollectCaptions(window, out, first);
  puts((out + "]").c_str());
  return 0;
}

int Dialogs() {
  // Message boxes of the program: their titles and the texts of their controls.
  HWND notes = FindNotes();
  DWORD pid = 0;
  GetWindowThreadProcessId(notes, &pid);
  std::string out = "[";
  bool first = true;
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner != pid || ClassOf(h) != L"#32770" || !IsWindowVisible(h)) continue;
    std::string texts, rects;
    bool firstText = true;
    for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      RECT r{};
      GetWindowRect(c, &r);
      texts += std::string(firstText ? "" : ",") + Json(TextOf(c));
      rects += std::string(firstText ? "" : ",") + Rect(r);
      firstText = false;
    }
    out += std::string(first ? "" : ",") + "{\"hwnd\":" + Hwnd(h) +
           ",\"title\":" + Json(TextOf(h)) + ",\"texts\":[" + texts + "],\"rects\":[" + rects +
           "]}";
    first = false;
  }
  puts((out + "]").c_str());
  return 0;
}

int Toolbar() {
  // The toolbar's buttons: command id and rectangle on the screen; separators have id 0.
  HWND notes = FindNotes();
  HWND bar = FindWindowExW(notes, nullptr, TOOLBARCLASSNAMEW, nullptr);
  if (!bar) return 2;
  int count = (int)Send(bar, TB_BUTTONCOUNT, 0, 0);
  Remote mem(bar, sizeof(TBBUTTON) + sizeof(RECT));
  std::string out = "[";
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    Send(bar, TB_GETBUTTON, i, (LPARAM)mem.Ptr());
    mem.Read(&button, sizeof button);
    RECT r{};
    Send(bar, TB_GETITEMRECT, i, (LPARAM)mem.Ptr());
    mem.Read(&r, sizeof r);
    MapWindowPoints(bar, nullptr, (POINT*)&r, 2);
    out += std::string(i ? "," : "") + "{\"id\":" + Num(button.idCommand) +
           ",\"separator\":" + Num((button.fsStyle & BTNS_SEP) ? 1 : 0) +
           ",\"image\":" + Num(button.iBitmap) + ",\"screen\":" + Rect(r) + "}";
  }
  puts((out + "]").c_str());
  return 0;
}

int Tabs() {
  HWND notes = FindNotes();
  HWND tabs = FindWindowExW(notes, nullptr, WC_TABCONTROLW, nullptr);
  if (!tabs) return 2;
  int count = (int)Send(tabs, TCM_GETITEMCOUNT, 0, 0);
  std::string out = "{\"count\":" + Num(count) +
                    ",\"selected\":" + Num(Send(tabs, TCM_GETCURSEL, 0, 0)) + ",\"captions\":[";
  Remote mem(tabs, sizeof(TCITEMW) + 512);
  for (int i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = (wchar_t*)((char*)mem.Ptr() + sizeof(TCITEMW));
    item.cchTextMax = 200;
    mem.Write(&item, sizeof item);
    Send(tabs, TCM_GETITEMW, i, (LPARAM)mem.Ptr());
    wchar_t text[201] = {};
    mem.Read(text, 400, sizeof(TCITEMW));
    out += std::string(i ? "," : "") + Json(text);
  }
  // Each tab's rectangle on the screen; a tab scrolled out of the row has an empty one.
  out += "],\"rects\":[";
  Remote r(tabs, sizeof(RECT));
  RECT first{};
  for (int i = 0; i < count; ++i) {
    RECT rc{};
    Send(tabs, TCM_GETITEMRECT, i, (LPARAM)r.Ptr());
    r.Read(&rc, sizeof rc);
    if (i == 0) first = rc;
    MapWindowPoints(tabs, nullptr, (POINT*)&rc, 2);
    out += std::string(i ? "," : "") + Rect(rc);
  }
  puts((out + "],\"first_tab\":" + Rect(first) + "}").c_str());
  return 0;
}

int Status() {
  HWND notes = FindNotes();
  HWND bar = FindWindowExW(notes, nullptr, STATUSCLASSNAMEW, nullptr);
  if (!bar) return 2;
  Remote mem(bar, 4096);
  int n = (int)Send(bar, SB_GETPARTS, 16, (LPARAM)mem.Ptr());
  int edges[16] = {};
  mem.Read(edges, sizeof edges);
  std::string out = "{\"parts\":[";
  for (int i = 0; i < n; ++i) out += std::string(i ? "," : "") + Num(edges[i]);
  wchar_t text[1024] = {};
  mem.Write(text, sizeof text);
  Send(bar, SB_GETTEXTW, 0, (LPARAM)mem.Ptr());
  mem.Read(text, 2000);
  out += "],\"panel1\":" + Json(text) + ",\"indicators\":[";
  for (int i = 1; i < n && i < 4; ++i) {
    // Indicator panels are drawn by the program; their text is the key's state, 1 or 0.
    LRESULT data = Send(bar, SB_GETTEXTW, i, 0);
    out += std::string(i > 1 ? "," : "") + Num((long long)data);
  }
  puts((out + "]}").c_str());
  return 0;
}

BOOL CALLBACK CollectToolTip(HWND h, LPARAM lp) {
  if (ClassOf(h) == TOOLTIPS_CLASSW) ((std::vector<HWND>*)lp)->push_back(h);
  return TRUE;
}

int ToolTips() {
  // Every tool tip window of the program's thread, and its tools' texts.
  HWND notes = FindNotes();
  if (!notes) return 2;
  DWORD tid = GetWindowThreadProcessId(notes, nullptr);
  std::vector<HWND> tips;
  EnumThreadWindows(tid, CollectToolTip, (LPARAM)&tips);
  std::string out = "[";
  bool first = true;
  for (HWND tip : tips) {
    int count = (int)Send(tip, TTM_GETTOOLCOUNT, 0, 0);
    Remote mem(tip, sizeof(TTTOOLINFOW) + 2048);
    for (int i = 0; i < count; ++i) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.lpszText = (wchar_t*)((char*)mem.Ptr() + sizeof(TTTOOLINFOW));
      mem.Write(&info, sizeof info);
      Send(tip, TTM_ENUMTOOLSW, i, (LPARAM)mem.Ptr());
      mem.Read(&info, sizeof info);
      wchar_t text[1024] = {};
      if (info.lpszText == (wchar_t*)((char*)mem.Ptr() + sizeof(TTTOOLINFOW))) {
        mem.Read(text, 2000, sizeof(TTTOOLINFOW));
      }
      HWND control = (info.uFlags & TTF_IDISHWND) ? (HWND)info.uId : nullptr;
      out += std::string(first ? "" : ",") + "{\"tool\":" + Hwnd(control) +
             ",\"id\":" + Num((long long)info.uId) + ",\"text\":" + Json(text) + "}";
      first = false;
    }
  }
  puts((out + "]").c_str());
  return 0;
}

// The reference for a pad's text: the whole file given to the control in one message.
int OneShot(const wchar_t* path) {
  HANDLE f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  std::string bytes(GetFileSize(f, nullptr), '\0');
  DWORD got = 0;
  ReadFile(f, bytes.data(), (DWORD)bytes.size(), &got, nullptr);
  CloseHandle(f);
  int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), (int)got, nullptr, 0);
  std::wstring text(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), (int)got, text.data(), n);
  LoadLibraryW(L"msftedit.dll");
  HWND edit = CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_POPUP | ES_MULTILINE | ES_WANTRETURN, 0, 0,
                              400, 300, nullptr, nullptr, nullptr, nullptr);
  Send(edit, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  Send(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SETTEXTEX how{ST_DEFAULT, 1200};
  Send(edit, EM_SETTEXTEX, (WPARAM)&how, (LPARAM)text.c_str());
  puts(("{\"text\":" + Json(TextOf(edit)) + "}").c_str());
  return 0;
}

std::string alerted;

void CALLBACK Alerted(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
  alerted += (alerted.empty() ? "" : ",") + Json(TextOf(window));
}

// Listens for alerts as a screen reader does, until the first or for `seconds`.
int Alerts(int seconds) {
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, Alerted, 0,
                                       0, WINEVENT_OUTOFCONTEXT);
  puts("listening");  // for the test to go on
  fflush(stdout);
  DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  while (alerted.empty() && GetTickCount() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  UnhookWinEvent(hook);
  puts(("[" + alerted + "]").c_str());
  return 0;
}

int Rewrite(const wchar_t* path, const wchar_t* source, int millis) {
  std::string bytes;
  HANDLE in = CreateFileW(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  char chunk[65536];
  DWORD got = 0;
  while (in != INVALID_HANDLE_VALUE && ReadFile(in, chunk, sizeof chunk, &got, nullptr) && got) {
    bytes.append(chunk, got);
  }
  if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
  HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    puts("{\"rewritten\":false}");
    return 0;
  }
  Sleep(static_cast<DWORD>(millis));
  DWORD put = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(file);
  puts("{\"rewritten\":true}");
  return 0;
}

int Answers(int millis) {
  HWND notes = FindNotes();
  DWORD longest = 0, end = GetTickCount() + static_cast<DWORD>(millis);
  while (GetTickCount() < end) {
    DWORD asked = GetTickCount();
    DWORD_PTR result = 0;
    SendMessageTimeoutW(notes, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
    longest = std::max(longest, GetTickCount() - asked);
    Sleep(20);
  }
  printf("{\"longest\":%lu}\n", static_cast<unsigned long>(longest));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring cmd = argc > 1 ? argv[1] : L"windows";
  if (cmd == L"windows") return Windows();
  if (cmd == L"hold" && argc > 3) {
    HANDLE file = CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    puts(file == INVALID_HANDLE_VALUE ? "failed" : "held");
    fflush(stdout);
    Sleep(static_cast<DWORD>(_wtoi(argv[3])) * 1000);
    return 0;
  }
  if (cmd == L"controls") return Controls(argc > 2 ? argv[2] : vorn::ui::kNotesWindowClass);
  if (cmd == L"captions") return Captions(argc > 2 ? argv[2] : vorn::ui::kNotesWindowClass);
  if (cmd == L"command" && argc > 2) {
    PostMessageW(FindNotes(), WM_COMMAND, MAKEWPARAM(_wtoi(argv[2]), 0), 0);
    puts("{}");
    return 0;
  }
  if (cmd == L"trayevent" && argc > 2) {  // an event of the icon, as the shell reports it
    PostMessageW(FindWindowW(vorn::ui::kTrayWindowClass, nullptr), vorn::ui::kTrayIconMessage, 0,
                 MAKELPARAM(_wtoi(argv[2]), 1));
    puts("{}");
    return 0;
  }
  if (cmd == L"syscommand" && argc > 2) {  // a choice from the notes window's system menu
    PostMessageW(FindNotes(), WM_SYSCOMMAND, static_cast<WPARAM>(_wtoi(argv[2])), 0);
    puts("{}");
    return 0;
  }
  if (cmd == L"settingchange" && argc > 2) {  // as Windows tells every window of a new setting
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(argv[2]),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    puts("{}");
    return 0;
  }
  if (cmd == L"rewrite" && argc > 4) return Rewrite(argv[2], argv[3], _wtoi(argv[4]));
  if (cmd == L"answers" && argc > 2) return Answers(_wtoi(argv[2]));
  if (cmd == L"alerts" && argc > 2) return Alerts(_wtoi(argv[2]));
  if (cmd == L"tabs") return Tabs();
  if (cmd == L"status") return Status();
  if (cmd == L"tooltips") return ToolTips();
  if (cmd == L"dialogs") return Dialogs();
  if (cmd == L"toolbar") return Toolbar();
  if (cmd == L"oneshot" && argc > 2) return OneShot(argv[2]);
  fputs("usage: vnprobe windows|controls|tabs|status|tooltips|dialogs|toolbar|oneshot FILE\n",
        stderr);
  return 1;
}
