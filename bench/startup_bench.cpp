// Start-up time and resources, measured side by side in one run.
//
// Start-up: from CreateProcess until the new process waits for input (WaitForInputIdle): the
// tray icon is added and the window is ready, hidden. Compared with the floor program (one
// hidden window and one tray icon), the same floor loading the control libraries, and Wine's
// notepad.exe opening a 1 MB file. Vorn Notes starts with ten pads of 100 KB each, in the
// settings store and in pad files. Only the shown pad gets a control at start, and takes its
// text in while the program waits for input; the time until it holds all of it is given too.
//
// Resources: working set, GDI and USER objects of Vorn Notes after start, with every pad shown
// once, after 10,000 typed characters across the pads, after 1,000 hide/show cycles through
// the tray notification and after 1,000 tab switches with the keyboard on the tab strip.
//
// Idle: the processor time of Vorn Notes, hidden, with its pads in a folder of their own where
// most have no file yet, and of notepad.exe, over the same minute.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/window_ids.h"

namespace {

using Clock = std::chrono::steady_clock;

std::wstring Folder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

std::string Pad(std::size_t bytes, int seed) {
  std::string line =
      "Pad " + std::to_string(seed) + ": the quick brown fox jumps over the dog.\r\n";
  std::string text;
  while (text.size() + line.size() <= bytes) text += line;
  return text;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(f);
}

// The processor time a process has used, in milliseconds.
double CpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

std::string ReadAll(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
  CloseHandle(f);
  return bytes;
}

// Under Wine a process is told its own processor time alone (GetProcessTimes gives 0 for the
// others): theirs comes from the system underneath, through Wine's drive Z:, by the exe's name
// in their command line. Nothing (-1) where there is no such drive, as on Windows.
double UnixCpuMs(const char* exe) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return -1;
  double total = -1;
  do {
    if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') continue;
    std::wstring process = std::wstring(L"Z:\\proc\\") + entry.cFileName;
    std::string command = ReadAll(process + L"\\cmdline");
    std::transform(command.begin(), command.end(), command.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    if (command.find(exe) == std::string::npos) continue;
    // After the name in parentheses: the state, then ten fields, then user and system time in
    // ticks of 10 ms.
    std::string stat = ReadAll(process + L"\\stat");
    std::size_t at = stat.rfind(')');
    if (at == std::string::npos) continue;
    unsigned long long user = 0, system = 0;
    if (std::sscanf(stat.c_str() + at + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu",
                    &user, &system) != 2) {
      continue;
    }
    total = std::max(total, 0.0) + static_cast<double>(user + system) * 10.0;
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return total;
}

double ProcessCpuMs(HANDLE process, const char* exe) {
  double unix = UnixCpuMs(exe);
  return unix >= 0 ? unix : CpuMs(process);
}

void SetSetting(const wchar_t* section, const std::wstring& key, const std::wstring& value) {
  std::wstring path =
      std::wstring(L"Software\\VB and VBA Program Settings\\Vorn Notes\\") + section;
  HKEY k = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                  nullptr);
  RegSetValueExW(k, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
}

struct Started {
  PROCESS_INFORMATION pi{};
  double ms = 0;        // until ready for input
  double filledMs = 0;  // until the shown pad's control answers with its text in it
};

HWND Child(HWND parent, const wchar_t* cls, int index);

Started Start(const std::wstring& commandLine, bool waitForPads = true) {
  Started s;
  STARTUPINFOW si{sizeof si};
  std::wstring cmd = commandLine;
  auto t0 = Clock::now();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &s.pi)) {
    std::fprintf(stderr, "cannot start %ls\n", commandLine.c_str());
    std::exit(1);
  }
  WaitForInputIdle(s.pi.hProcess, 60000);
  s.ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  // A pad asked for its length takes in the rest of its text first.
  HWND notes = waitForPads ? FindWindowW(vorn::ui::kNotesWindowClass, nullptr) : nullptr;
  if (notes) {
    // The shown pad gets its control once the program is ready.
    HWND pad = nullptr;
    for (int tries = 0; !pad && tries < 60000; ++tries) {
      pad = Child(notes, L"RichEdit50W", 0);
      if (!pad) Sleep(1);
    }
    DWORD_PTR length = 0;
    SendMessageTimeoutW(pad, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 60000, &length);
  }
  s.filledMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  return s;
}

void Stop(Started& s) {
  TerminateProcess(s.pi.hProcess, 0);
  WaitForSingleObject(s.pi.hProcess, 10000);
  CloseHandle(s.pi.hProcess);
  CloseHandle(s.pi.hThread);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Times {
  double ready, filled;
};

// Each round starts every case once, in turn, so that a slower stretch of the machine falls on
// all of them alike. `before` runs ahead of each start (it sets the storage mode).
struct Case {
  std::wstring commandLine;
  std::function<void()> before;
  std::vector<double> ready, filled;
};

std::vector<Times> TimeStarts(std::vector<Case>& cases, int rounds) {
  for (Case& c : cases) {  // the first start also loads the libraries into the cache
    if (c.before) c.before();
    Started warm = Start(c.commandLine);
    Stop(warm);
  }
  for (int i = 0; i < rounds; ++i) {
    for (Case& c : cases) {
      if (c.before) c.before();
      Started s = Start(c.commandLine);
      c.ready.push_back(s.ms);
      c.filled.push_back(s.filledMs);
      Stop(s);
    }
  }
  std::vector<Times> medians;
  for (Case& c : cases) medians.push_back({Median(c.ready), Median(c.filled)});
  return medians;
}

struct Usage {
  double workingSetKb;
  DWORD gdi, user;
};

Usage UsageOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS pmc{sizeof pmc};
  GetProcessMemoryInfo(process, &pmc, sizeof pmc);
  return {pmc.WorkingSetSize / 1024.0, GetGuiResources(process, GR_GDIOBJECTS),
          GetGuiResources(process, GR_USEROBJECTS)};
}

void Print(const char* when, Usage u) {
  std::printf("  %-34s %10.0f KB %6lu GDI %6lu USER\n", when, u.workingSetKb, u.gdi, u.user);
  std::printf("@usage|%s|%.0f|%lu|%lu\n", when, u.workingSetKb, u.gdi, u.user);
  std::fflush(stdout);
}

HWND Child(HWND parent, const wchar_t* cls, int index) {
  HWND found = nullptr;
  for (HWND h = FindWindowExW(parent, nullptr, cls, nullptr); h && index >= 0;
       h = FindWindowExW(parent, h, cls, nullptr), --index) {
    found = h;
  }
  return found;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_BLOCK, 30000, &r)) {
    std::fprintf(stderr, "the program did not answer message %u\n", msg);
  }
  return static_cast<LRESULT>(r);
}

void Settle(HWND hwnd) { Send(hwnd, WM_NULL, 0, 0); }

}  // namespace

// With the argument "memory", only the resources, with the working set every 100 hide/show
// cycles.
int wmain(int argc, wchar_t** argv) {
  bool memoryOnly = argc > 1 && std::wstring(argv[1]) == L"memory";
  std::wstring folder = Folder();
  std::wstring vorn = L"\"" + folder + L"VornNotes.exe\"";
  std::wstring floor = L"\"" + folder + L"floor.exe\"";
  std::wstring floorControls = L"\"" + folder + L"floor_controls.exe\"";
  WriteFile(folder + L"big.txt", Pad(1024 * 1024, 0));
  for (int i = 1; i <= 10; ++i) {
    std::string text = Pad(100 * 1024, i);
    WriteFile(folder + L"~tmp" + std::to_wstring(i) + L".tmp", text);
    SetSetting(L"Data", std::to_wstring(i), std::wstring(text.begin(), text.end()));
  }

  if (!memoryOnly) {
    const int rounds = 11;
    std::vector<Case> cases = {
        {floor, nullptr},
        {floorControls, nullptr},
        {vorn, [] { SetSetting(L"Setting", L"Reg", L"1"); }},
        {vorn, [] { SetSetting(L"Setting", L"Reg", L"0"); }},
        {L"notepad.exe \"" + folder + L"big.txt\"", nullptr},
    };
    std::vector<Times> times = TimeStarts(cases, rounds);
    Times floorMs = times[0], floorControlsMs = times[1], registryMs = times[2], filesMs = times[3],
          notepadMs = times[4];

    std::printf("Start-up until ready for input (median of %d, milliseconds)\n", rounds);
    std::printf("  %-44s %8.1f\n", "floor program (hidden window + tray icon)", floorMs.ready);
    std::printf("  %-44s %8.1f  %5.2f x floor\n", "floor program loading the control libraries",
                floorControlsMs.ready, floorControlsMs.ready / floorMs.ready);
    auto row = [&](const char* what, Times t) {
      std::printf(
          "  %-44s %8.1f  %5.2f x floor with controls  %5.2f x notepad; shown pad "
          "filled at %.1f\n",
          what, t.ready, t.ready / floorControlsMs.ready, t.ready / notepadMs.ready, t.filled);
    };
    row("Vorn Notes, 10 x 100 KB in the registry", registryMs);
    row("Vorn Notes, 10 x 100 KB in pad files", filesMs);
    std::printf("  %-44s %8.1f  %5.2f x floor\n", "notepad.exe opening 1 MB", notepadMs.ready,
                notepadMs.ready / floorMs.ready);
    std::printf("@start|floor|%.1f|%.1f\n@start|floor_controls|%.1f|%.1f\n", floorMs.ready,
                floorMs.filled, floorControlsMs.ready, floorControlsMs.filled);
    std::printf("@start|registry|%.1f|%.1f\n@start|files|%.1f|%.1f\n@start|notepad|%.1f|%.1f\n",
                registryMs.ready, registryMs.filled, filesMs.ready, filesMs.filled, notepadMs.ready,
                notepadMs.filled);
    std::fflush(stdout);
  }

  // Resources, with the pads in files.
  Started floorRun = Start(floor);
  Usage floorUsage = UsageOf(floorRun.pi.hProcess);
  Stop(floorRun);
  Started run = Start(vorn, false);
  HWND notes = FindWindowW(vorn::ui::kNotesWindowClass, nullptr);
  HWND tray = FindWindowW(vorn::ui::kTrayWindowClass, nullptr);
  HWND tabs = Child(notes, WC_TABCONTROLW, 0);
  std::printf("Resources of Vorn Notes (floor program: %.0f KB, %lu GDI, %lu USER)\n",
              floorUsage.workingSetKb, floorUsage.gdi, floorUsage.user);
  std::printf("@usage|floor|%.0f|%lu|%lu\n", floorUsage.workingSetKb, floorUsage.gdi,
              floorUsage.user);
  Print("after start", UsageOf(run.pi.hProcess));
  // Every pad shown once, with the arrow keys on the tab strip of the shown window; each pad
  // gets its control and its text.
  Send(tray, vorn::ui::kTrayIconMessage, 0, WM_RBUTTONUP);
  for (int i = 0; i < 9; ++i) {
    Send(tabs, WM_KEYDOWN, VK_RIGHT, 1);
    Send(tabs, WM_KEYUP, VK_RIGHT, 0xC0000001);
  }
  for (int i = 0; i < 9; ++i) {
    Send(tabs, WM_KEYDOWN, VK_LEFT, 1);
    Send(tabs, WM_KEYUP, VK_LEFT, 0xC0000001);
  }
  Send(tray, vorn::ui::kTrayIconMessage, 0, WM_RBUTTONUP);
  for (int i = 0; i < 10; ++i) Send(Child(notes, L"RichEdit50W", i), WM_GETTEXTLENGTH, 0, 0);
  Print("with every pad shown", UsageOf(run.pi.hProcess));
  for (int i = 0; i < 10000; ++i) {
    HWND pad = Child(notes, L"RichEdit50W", i % 10);
    PostMessageW(pad, WM_CHAR, static_cast<WPARAM>('a' + i % 26), 1);
    if (i % 500 == 499) Settle(notes);
  }
  Settle(notes);
  Print("after 10,000 typed characters", UsageOf(run.pi.hProcess));
  Usage before = {};
  for (int i = 0; i < 1000; ++i) {
    // A right-button release on the icon: shows, then hides.
    Send(tray, vorn::ui::kTrayIconMessage, 0, WM_RBUTTONUP);
    Send(tray, vorn::ui::kTrayIconMessage, 0, WM_RBUTTONUP);
    if (i == 9) before = UsageOf(run.pi.hProcess);
    if (memoryOnly && i % 100 == 99) {
      PROCESS_MEMORY_COUNTERS pmc{sizeof pmc};
      GetProcessMemoryInfo(run.pi.hProcess, &pmc, sizeof pmc);
      std::printf("  after %4d hide/show cycles %10.0f KB, private %10.0f KB\n", i + 1,
                  pmc.WorkingSetSize / 1024.0, pmc.PagefileUsage / 1024.0);
    }
  }
  Usage after = UsageOf(run.pi.hProcess);
  Print("after the first 10 hide/show cycles", before);
  Print("after 1,000 hide/show cycles", after);

  // Tab switches with the arrow keys on the tab strip of the shown window: the tab strip moves
  // its selection and tells the window, as it does for a click. Nine steps right, nine left.
  Send(tray, vorn::ui::kTrayIconMessage, 0, WM_RBUTTONUP);
  int missed = 0, tab = 0;
  for (int i = 0; i < 1000; ++i) {
    bool right = (i / 9) % 2 == 0;
    tab += right ? 1 : -1;
    Send(tabs, WM_KEYDOWN, right ? VK_RIGHT : VK_LEFT, 1);
    Send(tabs, WM_KEYUP, right ? VK_RIGHT : VK_LEFT, 0xC0000001);
    if (Send(tabs, TCM_GETCURSEL, 0, 0) != tab) ++missed;
    if (i == 9) before = UsageOf(run.pi.hProcess);
  }
  Print("after the first 10 tab switches", before);
  Print("after 1,000 tab switches", UsageOf(run.pi.hProcess));
  if (missed) std::printf("  (%d of the 1,000 keys did not select their tab)\n", missed);
  std::printf("@tabs_missed|%d\n", missed);
  Stop(run);

  // Idle: Vorn Notes hidden, its pads in a chosen folder where eight of them have no file yet,
  // beside notepad.exe holding a small file, both left alone for a minute at once.
  std::wstring chosen = folder + L"chosen";
  CreateDirectoryW(chosen.c_str(), nullptr);
  WriteFile(chosen + L"\\Doc 1.txt", Pad(10 * 1024, 1));
  WriteFile(chosen + L"\\Doc 2.txt", Pad(10 * 1024, 2));
  WriteFile(folder + L"small.txt", Pad(10 * 1024, 3));
  SetSetting(L"Setting", L"Reg", L"0");
  SetSetting(L"Setting", L"Folder", chosen);
  Started idle = Start(vorn, false);
  Started notepad = Start(L"notepad.exe \"" + folder + L"small.txt\"", false);
  Sleep(5000);
  double vornBefore = ProcessCpuMs(idle.pi.hProcess, "vornnotes.exe");
  double notepadBefore = ProcessCpuMs(notepad.pi.hProcess, "notepad.exe");
  Sleep(60000);
  double vornIdle = ProcessCpuMs(idle.pi.hProcess, "vornnotes.exe") - vornBefore;
  double notepadIdle = ProcessCpuMs(notepad.pi.hProcess, "notepad.exe") - notepadBefore;
  Stop(idle);
  Stop(notepad);
  std::printf("Idle for a minute, processor time: Vorn Notes %.1f ms, notepad.exe %.1f ms\n",
              vornIdle, notepadIdle);
  std::printf("@idle|%.1f|%.1f\n", vornIdle, notepadIdle);
  return 0;
}
