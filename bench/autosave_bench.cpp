// One keystroke until the store holds it, against its floor, measured side by side; then select
// all and one key over a large pad, split into the control's part and the program's.
//
// "Program": a character typed into the program's own pad (PadControl) holding the text, whose
// change notification does what the notes window does: the pad's copy follows the edit, and
// the pad keeper stores the whole text in the settings store or in the pad's file. "Floor": the
// same character typed into a plain rich-edit control of one's own holding the same text, plus
// a bare write of the same bytes (one RegSetValueExW, or the same create-write-flush-rename
// sequence of Win32 calls). Both are given one cross-process round trip, what a key from the
// system costs before any program sees it. Each figure is the median of 31 rounds, taken
// alternately; the key is typed in the middle of the text and taken back after each round.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/history.h"
#include "core/pad_keeper.h"
#include "core/pad_store.h"
#include "platform/clock_win.h"
#include "platform/files_win.h"
#include "platform/registry_win.h"
#include "platform/text_win.h"
#include "ui/pad_control_win.h"

using namespace vorn;
using Stopwatch = std::chrono::steady_clock;

namespace {

constexpr wchar_t kBenchKey[] = L"Software\\VB and VBA Program Settings\\Vorn Notes Bench";

std::string Text(std::size_t bytes) {
  std::string line = "The quick brown fox jumps over the lazy dog, 0123456789 times.\r\n";
  std::string text;
  while (text.size() + line.size() <= bytes) text += line;
  text.append(bytes - text.size(), 'x');
  return text;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <class F>
double Time(F&& f) {
  auto start = Stopwatch::now();
  f();
  return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
}

void BareRegistry(const std::wstring& text) {
  HKEY key = nullptr;
  std::wstring path = std::wstring(kBenchKey) + L"\\Bare";
  RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                  nullptr);
  RegSetValueExW(key, L"1", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

void BareFile(const std::wstring& path, const std::string& bytes) {
  std::wstring fresh = path + L".new", ready = path + L".ok";
  HANDLE f = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  FlushFileBuffers(f);
  CloseHandle(f);
  MoveFileExW(fresh.c_str(), ready.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  MoveFileExW(ready.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// The program's side: its pad and, at each change, what the notes window and the model do.
struct ProgramPad {
  ui::PadControl pad;
  PadKeeper* keeper = nullptr;
  bool saved = true;
  double ownMs = 0;  // the program's part of the last change: the copy, the keeper, the store
};
ProgramPad* g_program = nullptr;

LRESULT CALLBACK ProgramHost(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE && g_program) {
    g_program->ownMs = Time([] {
      g_program->pad.TextChanged();
      g_program->saved = g_program->keeper->StoreEdit(1, g_program->pad.Text()) && g_program->saved;
    });
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND Host(const wchar_t* cls, WNDPROC proc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
  return CreateWindowExW(0, cls, L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                         nullptr, nullptr);
}

// A plain rich-edit control set up as a pad is: plain text, no length limit, Tahoma 8.5 pt.
HWND FloorControl(HWND host) {
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                  ES_WANTRETURN | ES_NOHIDESEL,
                              0, 0, 400, 300, host, nullptr, nullptr, nullptr);
  SendMessageW(edit, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_CHARSET;
  format.yHeight = 170;
  format.bCharSet = DEFAULT_CHARSET;
  lstrcpynW(format.szFaceName, L"Tahoma", LF_FACESIZE);
  SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  SendMessageW(edit, EM_SETEVENTMASK, 0, ENM_CHANGE);
  return edit;
}

// Types `key` at `at` and times it; then takes it back with Backspace, untimed.
double TypeAt(HWND edit, LONG at) {
  SendMessageW(edit, EM_SETSEL, at, at);
  double ms = Time([&] { SendMessageW(edit, WM_CHAR, 'k', 1); });
  SendMessageW(edit, WM_KEYDOWN, VK_BACK, 1);
  return ms;
}

}  // namespace

int wmain() {
  if (!LoadLibraryW(L"msftedit.dll")) {
    std::fprintf(stderr, "msftedit: %s\n", win::ErrorText(GetLastError()).c_str());
    return 1;
  }
  HWND programHost = Host(L"ProgramHost", ProgramHost);
  HWND floorHost = Host(L"FloorHost", DefWindowProcW);
  // A window of another process, for the round trip: the desktop's, run by the shell.
  HWND elsewhere = GetShellWindow() ? GetShellWindow() : GetDesktopWindow();

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::string folder = win::Narrow(temp) + "VornBench";
  CreateDirectoryW(win::Widen(folder).c_str(), nullptr);
  win::RegistrySettings settings;
  win::WinFileSystem files;
  win::SystemClock clock;
  PadStore pads(settings, files, folder, win::FromSystemCodePage);
  History history(files, folder + "\\History", clock, win::FromSystemCodePage);
  History rescue(files, folder + "\\Rescue", clock, win::FromSystemCodePage);
  std::wstring barePath = win::Widen(folder) + L"\\~bare1.tmp";

  std::printf("One keystroke until the store holds it (median of 31 rounds, milliseconds)\n");
  std::printf("%-16s %7s %10s | %10s %10s %10s %10s | %7s\n", "store", "text", "program", "typing",
              "round trip", "bare write", "floor", "ratio");
  struct Case {
    const char* store;
    std::size_t bytes;
  } cases[] = {{"settings store", 1024},       {"settings store", 100 * 1024},
               {"settings store", 512 * 1000}, {"pad file", 1024},
               {"pad file", 100 * 1024},       {"pad file", 1024 * 1024}};
  for (const Case& c : cases) {
    bool registry = c.store[0] == 's';
    std::string text = Text(c.bytes);
    // Fresh parts for each case, as a program started with this pad has.
    PadKeeper keeper(pads, history, rescue, clock);
    ProgramPad program;
    program.keeper = &keeper;
    keeper.UseStore(registry ? Storage::SettingsStore : Storage::PadFiles);
    program.pad.SetText(text);
    program.pad.Create(programHost, 1);
    SetWindowPos(program.pad.Hwnd(), nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    program.pad.SetVisible(true);
    g_program = &program;
    HWND floor = FloorControl(floorHost);
    {
      SETTEXTEX how{ST_DEFAULT, 1200};
      std::wstring wide = win::Widen(text);
      SendMessageW(floor, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                   reinterpret_cast<LPARAM>(wide.c_str()));
    }
    std::string stored = program.pad.Text();
    std::wstring wide = win::Widen(stored);
    LONG middle = static_cast<LONG>(wide.size() / 2);
    TypeAt(program.pad.Hwnd(), middle);  // the first change keeps what the store held
    std::vector<double> programMs, typingMs, tripMs, bareMs;
    for (int round = 0; round < 31; ++round) {
      programMs.push_back(TypeAt(program.pad.Hwnd(), middle));
      typingMs.push_back(TypeAt(floor, middle));
      tripMs.push_back(Time([&] {
        DWORD_PTR r = 0;
        SendMessageTimeoutW(elsewhere, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &r);
      }));
      bareMs.push_back(Time([&] {
        if (registry)
          BareRegistry(wide);
        else
          BareFile(barePath, stored);
      }));
    }
    g_program = nullptr;
    DestroyWindow(floor);
    DestroyWindow(program.pad.Hwnd());
    double trip = Median(tripMs);
    double p = Median(programMs) + trip, t = Median(typingMs), b = Median(bareMs);
    double f = t + trip + b;
    std::printf("%-16s %5zu KB %10.3f | %10.3f %10.3f %10.3f %10.3f | %7.2f%s\n", c.store,
                c.bytes / 1024, p, t, trip, b, f, p / f, program.saved ? "" : "  (not saved!)");
    // The same, for bench/table.py.
    std::printf("@autosave|%s|%zu|%.4f|%.4f|%.4f|%.4f\n", c.store, c.bytes, p, t, trip, b);
  }
  // Select all and one key: the whole text goes (and to the history), one character stays.
  std::printf("\nSelect all and one key over a pad in its file (median of 3 rounds, ms)\n");
  std::printf("%8s %10s %10s %10s\n", "text", "program", "its own", "control");
  for (std::size_t characters : {100'000u, 200'000u, 400'000u}) {
    std::string text = Text(characters);
    PadKeeper keeper(pads, history, rescue, clock);
    ProgramPad program;
    program.keeper = &keeper;
    keeper.UseStore(Storage::PadFiles);
    program.pad.Create(programHost, 1);
    SetWindowPos(program.pad.Hwnd(), nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    program.pad.SetVisible(true);
    g_program = &program;
    HWND floor = FloorControl(floorHost);
    std::vector<double> programMs, ownMs, floorMs;
    for (int round = 0; round < 3; ++round) {
      // The pad as stored, so that the key's change keeps the whole text in the history.
      program.pad.SetText(text);
      program.pad.FillAll();
      keeper.Save(1, program.pad.Text());
      SendMessageW(program.pad.Hwnd(), EM_SETSEL, 0, -1);
      programMs.push_back(Time([&] { SendMessageW(program.pad.Hwnd(), WM_CHAR, 'k', 1); }));
      ownMs.push_back(program.ownMs);
      SETTEXTEX how{ST_DEFAULT, 1200};
      std::wstring wide = win::Widen(text);
      SendMessageW(floor, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                   reinterpret_cast<LPARAM>(wide.c_str()));
      SendMessageW(floor, EM_SETSEL, 0, -1);
      floorMs.push_back(Time([&] { SendMessageW(floor, WM_CHAR, 'k', 1); }));
    }
    g_program = nullptr;
    DestroyWindow(floor);
    DestroyWindow(program.pad.Hwnd());
    std::printf("%6zu K %10.1f %10.1f %10.1f%s\n", characters / 1000, Median(programMs),
                Median(ownMs), Median(floorMs), program.saved ? "" : "  (not saved!)");
    std::printf("@replaceall|%zu|%.4f|%.4f|%.4f\n", characters, Median(programMs), Median(ownMs),
                Median(floorMs));
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, kBenchKey);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Vorn Notes\\Data");
  DeleteFileW(barePath.c_str());
  return 0;
}
