// One keystroke until the store holds it, against its floor, measured side by side; then select
// all and one key over a large pad, split into the control's part and the program's.
//
// "Program": a character typed into the program's own pad (PadControl) holding the text, whose
// change notification does what the notes window does: the pad's copy follows the edit, and
// the pad keeper stores the whole text in the settings store or in the pad's file. "Floor": the
// same character typed into a plain rich-edit control of one's own holding the same text, plus
// a bare write of the same bytes (one RegSetValueExW, or the same create-write-flush-rename
// sequence of Win32 calls). Both are given one cross-process round trip, what a key from the
// system costs before any program sees it. "From outside": the same key sent from this process
// to the pad of the running program (VornNotes.exe beside this bench), started with the same
// text in the same store and its window shown: the time until that program has stored it, the
// round trip included, and until its pad has painted the key; against the same key sent to a
// plain control in a program of its own (floor_pad.exe) until it has painted, plus the bare
// write, timed in the same rounds. The two windows lie apart on the screen, every control is as
// large as the program's pad (a key that wraps a line costs the control the layout of every
// line after it, so both must wrap alike), and the window typed into has the foreground and
// its control the focus and caret, as a user typing has them. Each figure is the median of 31
// rounds, taken alternately: this process's first, then the two programs', so that no program
// watches the store another writes. The key is typed at the end of the text and in its middle, and
// taken back after each round.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
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
#include "ui/window_ids.h"

#include "floor_control.h"

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

// Files as on a network share, whose stamps by path may lag behind the server: each key's look
// at the store opens the file to ask for its stamp.
struct ShareLikeFiles : win::WinFileSystem {
  StampTrust TrustOfStamps(const std::string&) override { return {true, 0}; }
};

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
      std::optional<ShownEdit> shown = g_program->pad.TakeEdit();
      PadKeeper::WriteResult stored = shown ? g_program->keeper->StoreEdit(1, *shown)
                                            : g_program->keeper->StoreEdit(1, g_program->pad.Text());
      g_program->saved = stored.is == PadKeeper::Written::Stored && g_program->saved;
    });
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A window of this process for one side's control; the two lie side by side, so that both
// controls paint what they are typed.
HWND Host(const wchar_t* cls, WNDPROC proc, int x) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
  return CreateWindowExW(0, cls, L"", WS_POPUP | WS_VISIBLE, x, 0, 500, 700, nullptr, nullptr,
                         nullptr, nullptr);
}

// A plain rich-edit control set up as a pad is.
HWND FloorControl(HWND host) { return CreateFloorControl(host, 400, 300); }

// Types `key` at `at` and times it; then takes it back with Backspace, untimed.
// The control shows what changed before the time is taken, as a program's message loop has it
// do before the next key.
double TypeAt(HWND edit, LONG at) {
  SendMessageW(edit, EM_SETSEL, at, at);
  UpdateWindow(edit);
  double ms = Time([&] {
    SendMessageW(edit, WM_CHAR, 'k', 1);
    UpdateWindow(edit);
  });
  SendMessageW(edit, WM_KEYDOWN, VK_BACK, 1);
  UpdateWindow(edit);
  return ms;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR r = 0;
  SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_BLOCK, 60000, &r);
  return static_cast<LRESULT>(r);
}

void SetProgramValue(const wchar_t* section, const wchar_t* name, const std::wstring& value) {
  std::wstring path =
      std::wstring(L"Software\\VB and VBA Program Settings\\Vorn Notes\\") + section;
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                  nullptr);
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// A program of its own, started from `command`, whose window of class `window` holds the control
// that takes the keys; `show` brings the window up first.
struct OtherProgram {
  PROCESS_INFORMATION process{};
  HWND top = nullptr;
  HWND pad = nullptr;

  OtherProgram(std::wstring command, const wchar_t* window, const std::function<void()>& show) {
    STARTUPINFOW startup{sizeof startup};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      return;
    }
    WaitForInputIdle(process.hProcess, 60000);
    top = FindWindowW(window, nullptr);
    if (show) show();
    for (int tries = 0; top && !pad && tries < 60000; ++tries) {
      pad = FindWindowExW(top, nullptr, L"RichEdit50W", nullptr);
      if (!pad) Sleep(1);
    }
    Send(pad, WM_GETTEXTLENGTH, 0, 0);  // once all of its text is in
  }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;
  ~OtherProgram() {
    if (!process.hProcess) return;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  // Moves the window to the screen's top left corner, or its bottom right one.
  void Place(bool bottomRight) const {
    RECT r{};
    GetWindowRect(top, &r);
    int x = bottomRight ? GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left) : 0;
    int y = bottomRight ? GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top) : 0;
    SetWindowPos(top, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Types the key at `at` and times it until `done` holds; then takes it back and waits for
  // `undone`. The window has the foreground first, and has painted what that changed.
  double TypeAt(LONG at, const std::function<void()>& done = nullptr,
                const std::function<void()>& undone = nullptr) const {
    if (GetForegroundWindow() != top) {
      SetForegroundWindow(top);
      Sleep(20);
      UpdateWindow(top);
    }
    Send(pad, EM_SETSEL, at, at);
    UpdateWindow(pad);
    double ms = Time([&] {
      Send(pad, WM_CHAR, 'k', 1);
      if (done) done();
      UpdateWindow(pad);
    });
    Send(pad, WM_KEYDOWN, VK_BACK, 1);
    if (undone) undone();
    UpdateWindow(pad);
    return ms;
  }
};

// The program itself, started with `text` as Doc #1 in the chosen store and its window shown.
struct RunningProgram {
  bool registry = false;
  std::wstring file;
  std::optional<OtherProgram> program;

  RunningProgram(const std::wstring& folder, bool inRegistry, const std::string& text)
      : registry(inRegistry), file(folder + L"~tmp1.tmp") {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Vorn Notes");
    for (int i = 1; i <= 10; ++i) {
      DeleteFileW((folder + L"~tmp" + std::to_wstring(i) + L".tmp").c_str());
    }
    SetProgramValue(L"Setting", L"Reg", registry ? L"1" : L"0");
    if (registry) {
      SetProgramValue(L"Data", L"1", win::Widen(text));
    } else {
      BareFile(file, text);
    }
    program.emplace(L"\"" + folder + L"VornNotes.exe\"", ui::kNotesWindowClass, [] {
      Send(FindWindowW(ui::kTrayWindowClass, nullptr), ui::kTrayIconMessage, 0, WM_RBUTTONUP);
    });
  }
  HWND Pad() const { return program->pad; }
  // The size of what the store holds. The program may store a key after the message that
  // brought it, once nothing else waits (when its store watcher has posted it a report).
  std::uint64_t StoredSize() const {
    if (registry) {
      DWORD bytes = 0;
      RegGetValueW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Vorn Notes\\Data",
                   L"1", RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
      return bytes;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  // Looks every 0.1 ms: a tighter loop would keep the system busy that the program writes with.
  void AwaitStored(std::uint64_t size) const {
    for (auto start = Stopwatch::now(); StoredSize() != size;) {
      auto look = Stopwatch::now();
      if (look - start > std::chrono::seconds(10)) return;
      while (Stopwatch::now() - look < std::chrono::microseconds(100)) {
      }
    }
  }
  // Types the key at `at` and times it until the program's store holds it.
  double TypeAt(LONG at) const {
    std::uint64_t before = StoredSize();
    return program->TypeAt(
        at, [&] { AwaitStored(before + (registry ? 2 : 1)); }, [&] { AwaitStored(before); });
  }
};

}  // namespace

// With the argument "keys", only the keystrokes.
int wmain(int argc, wchar_t** argv) {
  if (!LoadLibraryW(L"msftedit.dll")) {
    std::fprintf(stderr, "msftedit: %s\n", win::ErrorText(GetLastError()).c_str());
    return 1;
  }
  HWND programHost = Host(L"ProgramHost", ProgramHost, 0);
  HWND floorHost = Host(L"FloorHost", DefWindowProcW, 500);
  // A window of another process, for the round trip: the desktop's, run by the shell.
  HWND elsewhere = GetShellWindow() ? GetShellWindow() : GetDesktopWindow();

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::string folder = win::Narrow(temp) + "VornBench";
  CreateDirectoryW(win::Widen(folder).c_str(), nullptr);
  win::RegistrySettings settings;
  win::WinFileSystem files;
  win::SystemClock clock;
  PadStore localPads(settings, files, folder, win::FromSystemCodePage);
  ShareLikeFiles shareFiles;
  PadStore sharePads(settings, shareFiles, folder, win::FromSystemCodePage);
  History history(files, folder + "\\History", clock, win::FromSystemCodePage);
  History rescue(files, folder + "\\Rescue", clock, win::FromSystemCodePage);
  std::wstring barePath = win::Widen(folder) + L"\\~bare1.tmp";

  wchar_t self[MAX_PATH];
  std::wstring programFolder(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  programFolder.resize(programFolder.find_last_of(L'\\') + 1);
  bool outside =
      GetFileAttributesW((programFolder + L"VornNotes.exe").c_str()) != INVALID_FILE_ATTRIBUTES;

  std::printf("One keystroke until the store holds it (median of 31 rounds, milliseconds)\n");
  std::printf("%-16s %7s %-6s %10s %10s | %10s %10s %10s %10s | %11s\n", "store", "text", "where",
              "program", "outside", "typing", "round trip", "bare write", "floor pad", "ratios");
  struct Case {
    const char* store;
    std::size_t bytes;
    bool share = false;  // in this process only: the running program's folder is no share
  } cases[] = {{"settings store", 1024},
               {"settings store", 100 * 1024},
               {"settings store", 512 * 1000},
               {"pad file", 1024},
               {"pad file", 100 * 1024},
               {"pad file", 1024 * 1024},
               {"pad file, share-like", 1024, true},
               {"pad file, share-like", 100 * 1024, true}};
  // The controls as large as the running program's pad, border included: their text wraps
  // where the pad's does.
  RECT size{0, 0, 400, 300};
  if (outside) {
    RunningProgram first(programFolder, true, "");
    if (first.Pad()) {
      GetWindowRect(first.Pad(), &size);
      OffsetRect(&size, -size.left, -size.top);
    }
  }
  for (const Case& c : cases) {
    bool registry = c.store[0] == 's';
    PadStore& pads = c.share ? sharePads : localPads;
    std::string text = Text(c.bytes);
    struct Figures {
      double program, typing, trip, bare, outside = 0, floorPad = 0, bareBeside = 0;
    };
    Figures figures[2];
    const char* places[2] = {"end", "middle"};
    // This process's rounds first, with no other program watching the store they write.
    {
      // Fresh parts for each case, as a program started with this pad has.
      PadKeeper keeper(pads, history, rescue, clock);
      ProgramPad program;
      program.keeper = &keeper;
      keeper.UseStore(registry ? Storage::SettingsStore : Storage::PadFiles);
      program.pad.SetText(text);
      program.pad.Create(programHost, 1);
      SetWindowPos(program.pad.Hwnd(), nullptr, 0, 0, size.right, size.bottom,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      program.pad.SetVisible(true);
      g_program = &program;
      HWND floor = FloorControl(floorHost);
      SetWindowPos(floor, nullptr, 0, 0, size.right, size.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
      {
        SETTEXTEX how{ST_DEFAULT, 1200};
        std::wstring wide = win::Widen(text);
        SendMessageW(floor, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                     reinterpret_cast<LPARAM>(wide.c_str()));
      }
      std::string stored = program.pad.Text();
      std::wstring wide = win::Widen(stored);
      // The control keeps a line break as one CR.
      LONG length = static_cast<LONG>(wide.size() - std::count(wide.begin(), wide.end(), L'\n'));
      for (int place = 0; place < 2; ++place) {
        LONG at = place == 0 ? length : length / 2;
        TypeAt(program.pad.Hwnd(), at);  // the first change keeps what the store held
        std::vector<double> programMs, typingMs, tripMs, bareMs;
        for (int round = 0; round < 31; ++round) {
          programMs.push_back(TypeAt(program.pad.Hwnd(), at));
          typingMs.push_back(TypeAt(floor, at));
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
        double trip = Median(tripMs);
        figures[place] = {Median(programMs) + trip, Median(typingMs), trip, Median(bareMs)};
      }
      g_program = nullptr;
      DestroyWindow(floor);
      DestroyWindow(program.pad.Hwnd());
      if (!program.saved) std::printf("(%s, %zu KB: not saved!)\n", c.store, c.bytes / 1024);
    }
    // Then the running program and the floor program, side by side.
    if (outside && !c.share) {
      RunningProgram running(programFolder, registry, text);
      std::wstring textFile = programFolder + L"floor_pad.txt";
      BareFile(textFile, text);
      OtherProgram floorPad(L"\"" + programFolder + L"floor_pad.exe\" \"" + textFile + L"\" " +
                                std::to_wstring(size.right) + L" " + std::to_wstring(size.bottom),
                            L"VornFloorPad", nullptr);
      running.program->Place(false);
      floorPad.Place(true);
      Sleep(500);  // for the windows just shown to settle on the screen
      std::wstring wide = win::Widen(text);
      LONG length = static_cast<LONG>(wide.size() - std::count(wide.begin(), wide.end(), L'\n'));
      for (int place = 0; place < 2; ++place) {
        LONG at = place == 0 ? length : length / 2;
        running.TypeAt(at);
        floorPad.TypeAt(at);
        std::vector<double> outsideMs, floorPadMs, bareMs;
        for (int round = 0; round < 31; ++round) {
          outsideMs.push_back(running.TypeAt(at));
          floorPadMs.push_back(floorPad.TypeAt(at));
          bareMs.push_back(Time([&] {
            if (registry)
              BareRegistry(wide);
            else
              BareFile(barePath, text);
          }));
        }
        figures[place].outside = Median(outsideMs);
        figures[place].floorPad = Median(floorPadMs);
        figures[place].bareBeside = Median(bareMs);
      }
    }
    for (int place = 0; place < 2; ++place) {
      const Figures& f = figures[place];
      double floorMs = f.typing + f.trip + f.bare;
      std::printf("%-16s %5zu KB %-6s %10.3f %10.3f | %10.3f %10.3f %10.3f %10.3f | %5.2f %5.2f\n",
                  c.store, c.bytes / 1024, places[place], f.program, f.outside, f.typing, f.trip,
                  f.bare, f.floorPad, f.program / floorMs,
                  f.outside ? f.outside / (f.floorPad + f.bare) : 0.0);
      // The same, for bench/table.py.
      std::printf("@autosave|%s|%zu|%s|%.4f|%.4f|%.4f|%.4f|%.4f|%.4f|%.4f\n", c.store, c.bytes,
                  places[place], f.program, f.typing, f.trip, f.bare, f.outside, f.floorPad,
                  f.bareBeside);
    }
  }
  bool keysOnly = argc > 1 && std::wstring(argv[1]) == L"keys";
  // Select all and one key: the whole text goes (and to the history), one character stays.
  std::printf("\nSelect all and one key over a pad in its file (median of 3 rounds, ms)\n");
  std::printf("%8s %10s %10s %10s\n", "text", "program", "its own", "control");
  for (std::size_t characters : {100'000u, 200'000u, 400'000u}) {
    if (keysOnly) break;
    std::string text = Text(characters);
    PadKeeper keeper(localPads, history, rescue, clock);
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
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Vorn Notes");
  for (int i = 1; outside && i <= 10; ++i) {
    DeleteFileW((programFolder + L"~tmp" + std::to_wstring(i) + L".tmp").c_str());
  }
  DeleteFileW(barePath.c_str());
  return 0;
}
