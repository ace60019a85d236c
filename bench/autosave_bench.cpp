// One keystroke's autosave against a bare write of the same bytes, measured side by side.
//
// "Program" is what a change costs in the program: the pad's whole text read from a real
// rich-edit control, converted, and written through the same storage code the program uses
// (the settings store, or the crash-safe replace of a pad file). "Bare" writes the same bytes
// with nothing around them: one RegSetValueExW, or the same create-write-flush-rename-replace
// sequence of Win32 calls. Each figure is the median of several rounds, taken alternately.
// "(reading pad)" is the part of "program" spent getting the text out of the control.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/pad_store.h"
#include "platform/files_win.h"
#include "platform/registry_win.h"
#include "platform/text_win.h"
#include "ui/pad_control_win.h"

using namespace vorn;
using Clock = std::chrono::steady_clock;

namespace {

constexpr wchar_t kKey[] = L"Software\\VB and VBA Program Settings\\Vorn Notes Bench\\Data";

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
  auto start = Clock::now();
  f();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void BareRegistry(const std::wstring& text) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
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

}  // namespace

int wmain() {
  if (!LoadLibraryW(L"msftedit.dll")) {
    std::fprintf(stderr, "msftedit: %s\n", win::ErrorText(GetLastError()).c_str());
  }
  // The program's own pad, in a window of its own.
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                              nullptr, nullptr);
  ui::PadControl pad;
  try {
    pad.Create(host, 1);
  } catch (const PlatformError& e) {
    std::fprintf(stderr, "no rich-edit control: %s\n", e.what());
    return 1;
  }
  // The size of a pad in the designed window: a pad without a width wraps after every character.
  SetWindowPos(pad.Hwnd(), nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::string folder = win::Narrow(temp);
  win::RegistrySettings settings;
  win::WinFileSystem files;
  PadStore pads(settings, files, folder, win::FromSystemCodePage);
  std::wstring barePath = std::wstring(temp) + L"~bare1.tmp";

  std::printf("One keystroke's autosave (median of 31 rounds, milliseconds)\n");
  std::printf("%-16s %9s %12s %14s %12s %8s\n", "store", "text", "program", "(reading pad)",
              "bare write", "ratio");
  struct Case {
    const char* store;
    std::size_t bytes;
  } cases[] = {{"settings store", 1024},       {"settings store", 100 * 1024},
               {"settings store", 512 * 1024 - 1}, {"pad file", 1024},
               {"pad file", 100 * 1024},    {"pad file", 1024 * 1024}};
  for (const Case& c : cases) {
    bool registry = c.store[0] == 's';  // the settings store holds at most 1 MB of UTF-16
    std::string text = Text(c.bytes);
    pads.SetMode(registry ? Storage::SettingsStore : Storage::PadFiles);
    pad.SetText(text);
    std::string stored = pad.Text();
    std::wstring wide = win::Widen(stored);
    std::vector<double> program, bare;
    for (int round = 0; round < 31; ++round) {
      program.push_back(Time([&] { pads.Write(pads.Mode(), 1, pad.Text()); }));
      bare.push_back(Time([&] {
        if (registry) BareRegistry(wide);
        else BareFile(barePath, stored);
      }));
    }
    std::vector<double> reading;
    for (int round = 0; round < 31; ++round) reading.push_back(Time([&] { (void)pad.Text(); }));
    double p = Median(program), b = Median(bare), r = Median(reading);
    std::printf("%-16s %7zu K %12.3f %14.3f %12.3f %8.2f\n", c.store, c.bytes / 1024, p, r, b,
                p / b);
    // The same, for bench/table.py.
    std::printf("@autosave|%s|%zu|%.4f|%.4f|%.4f\n", c.store, c.bytes, p, r, b);
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Vorn Notes Bench");
  DeleteFileW(barePath.c_str());
  DeleteFileW(win::Widen(pads.FilePath(1)).c_str());
  return 0;
}
