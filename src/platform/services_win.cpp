#include "platform/services_win.h"

#include <shellapi.h>
#include <winspool.h>

#include <cmath>
#include <cstring>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/win.h"
#include "ui/notes/print_layout.h"

namespace vorn::win {

static_assert(sizeof(TrayRecord) == NOTIFYICONDATAA_V1_SIZE,
              "the icon record is the first NOTIFYICONDATAA layout");
static_assert(offsetof(TrayRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(offsetof(TrayRecord, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(TrayRecord, uCallbackMessage) == offsetof(NOTIFYICONDATAA, uCallbackMessage));

namespace {

std::wstring SectionKey(std::string_view app, std::string_view section) {
  return L"Software\\VB and VBA Program Settings\\" + Widen(app) + L"\\" + Widen(section);
}

}  // namespace

std::string RegistrySettings::Read(std::string_view app, std::string_view section,
                                   std::string_view key, std::string_view fallback) {
  std::wstring subkey = SectionKey(app, section);
  std::wstring name = Widen(key);
  const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD bytes = 0;
    LSTATUS rc = RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), flags, nullptr,
                              nullptr, &bytes);
    if (rc != ERROR_SUCCESS) return std::string(fallback);
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2);
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    rc = RegGetValueW(HKEY_CURRENT_USER, subkey.c_str(), name.c_str(), flags, nullptr,
                      buffer.data(), &bytes);
    if (rc == ERROR_MORE_DATA) continue;  // it grew between the two calls
    if (rc != ERROR_SUCCESS) return std::string(fallback);
    return Narrow(std::wstring_view(buffer.data()));
  }
  return std::string(fallback);
}

void RegistrySettings::Write(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) {
  HKEY raw = nullptr;
  LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, SectionKey(app, section).c_str(), 0, nullptr, 0,
                               KEY_SET_VALUE, nullptr, &raw, nullptr);
  if (rc != ERROR_SUCCESS) throw PlatformError(ErrorText(static_cast<DWORD>(rc)));
  Key k(raw);
  std::wstring text = Widen(value);
  // One value of the registry's standard format holds about 1 MB; refuse rather than let a
  // long pad be cut short or lost.
  if ((text.size() + 1) * sizeof(wchar_t) > kMaxValueBytes) {
    throw PlatformError(ErrorText(ERROR_FILE_TOO_LARGE));
  }
  rc = RegSetValueExW(k.Get(), Widen(key).c_str(), 0, REG_SZ,
                      reinterpret_cast<const BYTE*>(text.c_str()),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (rc != ERROR_SUCCESS) throw PlatformError(ErrorText(static_cast<DWORD>(rc)));
}

std::string PadSlots::ReadSlot(std::int16_t index, bool settingsStore) {
  if (settingsStore) return settings_.Read("Vorn Notes", "Data", std::to_string(index), "");
  return LoadPadFile(files_, PadFilePath(location_(), index), FromSystemCodePage);
}

void PadSlots::WriteSlot(std::int16_t index, bool settingsStore, std::string_view text) {
  if (settingsStore) {
    settings_.Write("Vorn Notes", "Data", std::to_string(index), text);
  } else {
    SavePadFile(files_, PadFilePath(location_(), index), text);
  }
}

std::string FromSystemCodePage(std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return Narrow(wide);
}

namespace {

[[noreturn]] void ThrowLastError() { throw PlatformError(ErrorText(GetLastError())); }

// Another program (a virus scanner, a backup tool) may hold the file for a moment.
bool Transient(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED;
}

template <class F>
void Retry(F&& attempt) {
  for (int tries = 0;; ++tries) {
    if (attempt()) return;
    DWORD error = GetLastError();
    if (!Transient(error) || tries == 10) throw PlatformError(ErrorText(error));
    Sleep(20);
  }
}

}  // namespace

std::optional<std::string> WinFileSystem::Read(const std::string& path) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw PlatformError(ErrorText(error));
  }
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31)) {
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  char chunk[65536];
  DWORD got = 0;
  BOOL ok;
  while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0) bytes.append(chunk, got);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok) throw PlatformError(ErrorText(error));
  return bytes;
}

void WinFileSystem::WriteNew(const std::string& path, std::string_view bytes) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) ThrowLastError();
  std::size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    DWORD put = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    ok = WriteFile(file, bytes.data() + done, chunk, &put, nullptr) && put > 0;
    done += put;
  }
  ok = ok && FlushFileBuffers(file);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok) throw PlatformError(ErrorText(error));
}

void WinFileSystem::Rename(const std::string& from, const std::string& to) {
  std::wstring f = Widen(from), t = Widen(to);
  Retry([&] { return MoveFileExW(f.c_str(), t.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH); });
}

void WinFileSystem::Replace(const std::string& replacement, const std::string& target) {
  // A rename over the old file is one step on NTFS and under Wine. ReplaceFileW is not used:
  // it may go through a temporary file of its own, which a crash would leave behind.
  Rename(replacement, target);
}

bool WinFileSystem::Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WinFileSystem::Remove(const std::string& path) { DeleteFileW(Widen(path).c_str()); }

// ---- Clipboard ---------------------------------------------------------------------------

void WinClipboard::Open() {
  // Another program may hold the clipboard for a moment; wait a little before giving up.
  for (int tries = 0; tries < 20; ++tries) {
    if (OpenClipboard(owner_)) return;
    Sleep(10);
  }
  throw PlatformError("The clipboard is in use by another program, so nothing was copied or "
                      "pasted. Try again in a moment.");
}

void WinClipboard::SetText(std::string_view text) {
  std::wstring wide = Widen(text);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  if (!memory) ThrowLastError();
  void* p = GlobalLock(memory);
  std::memcpy(p, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  try {
    Open();
  } catch (...) {
    GlobalFree(memory);
    throw;
  }
  // Taking ownership is what lets other programs (and the X clipboard under Wine) see the text.
  EmptyClipboard();
  bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  DWORD error = GetLastError();
  CloseClipboard();
  if (!ok) {
    GlobalFree(memory);
    throw PlatformError(ErrorText(error));
  }
}

std::string WinClipboard::GetText() {
  Open();
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text.assign(p, wcsnlen(p, GlobalSize(data) / sizeof(wchar_t)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return Narrow(text);
}

// ---- Printer -----------------------------------------------------------------------------

DefaultPrinter::~DefaultPrinter() { AbortDoc(); }

int DefaultPrinter::DeviceX(float twips) const {
  return static_cast<int>(std::lround(twips * static_cast<float>(dpiX_) / 1440.0f));
}

int DefaultPrinter::DeviceY(float twips) const {
  return static_cast<int>(std::lround(twips * static_cast<float>(dpiY_) / 1440.0f));
}

namespace {

// The print spooler's library is loaded when the first print begins: loading it with the
// program costs a noticeable part of the start-up.
struct Spooler {
  decltype(&GetDefaultPrinterW) getDefaultPrinter = nullptr;
  decltype(&OpenPrinterW) openPrinter = nullptr;
  decltype(&DocumentPropertiesW) documentProperties = nullptr;
  decltype(&ClosePrinter) closePrinter = nullptr;

  static const Spooler& Get() {
    static const Spooler spooler = [] {
      Spooler s;
      if (HMODULE dll = LoadLibraryW(L"winspool.drv")) {
        s.getDefaultPrinter = reinterpret_cast<decltype(&GetDefaultPrinterW)>(
            reinterpret_cast<void*>(GetProcAddress(dll, "GetDefaultPrinterW")));
        s.openPrinter = reinterpret_cast<decltype(&OpenPrinterW)>(
            reinterpret_cast<void*>(GetProcAddress(dll, "OpenPrinterW")));
        s.documentProperties = reinterpret_cast<decltype(&DocumentPropertiesW)>(
            reinterpret_cast<void*>(GetProcAddress(dll, "DocumentPropertiesW")));
        s.closePrinter = reinterpret_cast<decltype(&ClosePrinter)>(
            reinterpret_cast<void*>(GetProcAddress(dll, "ClosePrinter")));
      }
      if (!s.getDefaultPrinter || !s.openPrinter || !s.documentProperties || !s.closePrinter) {
        s = Spooler{};
      }
      return s;
    }();
    return spooler;
  }
};

}  // namespace

void DefaultPrinter::Begin() {
  if (dc_) return;
  const Spooler& spooler = Spooler::Get();
  if (!spooler.getDefaultPrinter) {
    throw PlatformError("The print spooler cannot be loaded, so nothing was printed.");
  }
  DWORD size = 0;
  spooler.getDefaultPrinter(nullptr, &size);
  std::wstring name(size, L'\0');
  if (size == 0 || !spooler.getDefaultPrinter(name.data(), &size)) {
    throw PlatformError("No default printer is set up, so nothing was printed.");
  }
  name.resize(wcslen(name.c_str()));

  // The printer's own settings, with only the print quality changed.
  std::vector<BYTE> settings;
  HANDLE printer = nullptr;
  if (spooler.openPrinter(name.data(), &printer, nullptr)) {
    LONG bytes = spooler.documentProperties(nullptr, printer, name.data(), nullptr, nullptr, 0);
    if (bytes > 0) {
      settings.resize(static_cast<std::size_t>(bytes));
      auto* mode = reinterpret_cast<DEVMODEW*>(settings.data());
      if (spooler.documentProperties(nullptr, printer, name.data(), mode, nullptr,
                                     DM_OUT_BUFFER) == IDOK) {
        mode->dmFields |= DM_PRINTQUALITY;
        mode->dmPrintQuality = static_cast<short>(quality_);
        spooler.documentProperties(nullptr, printer, name.data(), mode, mode,
                                   DM_IN_BUFFER | DM_OUT_BUFFER);
      } else {
        settings.clear();
      }
    }
    spooler.closePrinter(printer);
  }
  dc_ = CreateDCW(L"WINSPOOL", name.c_str(), nullptr,
                  settings.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(settings.data()));
  if (!dc_) {
    throw PlatformError("The printer \"" + Narrow(name) + "\" cannot be used: " +
                        ErrorText(GetLastError()));
  }
  DOCINFOW doc{sizeof doc};
  doc.lpszDocName = L"Vorn Notes";
  if (StartDocW(dc_, &doc) <= 0 || StartPage(dc_) <= 0) {
    std::string error = ErrorText(GetLastError());
    Close();
    throw PlatformError("The printer \"" + Narrow(name) + "\" did not take the document: " + error);
  }
  dpiX_ = GetDeviceCaps(dc_, LOGPIXELSX);
  dpiY_ = GetDeviceCaps(dc_, LOGPIXELSY);
  width_ = static_cast<float>(GetDeviceCaps(dc_, HORZRES)) * 1440.0f / static_cast<float>(dpiX_);
  height_ = static_cast<float>(GetDeviceCaps(dc_, VERTRES)) * 1440.0f / static_cast<float>(dpiY_);
  font_ = CreateFontW(-MulDiv(10, dpiY_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_SWISS, L"Arial");
  oldFont_ = SelectObject(dc_, font_);
  SetBkMode(dc_, TRANSPARENT);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_, &metrics);
  lineHeight_ = static_cast<float>(metrics.tmHeight + metrics.tmExternalLeading) * 1440.0f /
                static_cast<float>(dpiY_);
  page_ = 1;
  y_ = 0;
}

int DefaultPrinter::Page() {
  Begin();
  return page_;
}

float DefaultPrinter::CurrentY() {
  Begin();
  return y_;
}

float DefaultPrinter::ScaleWidth() {
  Begin();
  return width_;
}

void DefaultPrinter::PrintLine(std::string_view text) {
  Begin();
  auto measure = [this](std::string_view piece) {
    std::wstring wide = Widen(piece);
    SIZE extent{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return static_cast<float>(extent.cx) * 1440.0f / static_cast<float>(dpiX_);
  };
  for (const std::string& line : LayoutLines(text, width_, measure)) {
    if (y_ > 0 && y_ + lineHeight_ > height_) {
      // A body longer than the page goes on to the next one.
      if (EndPage(dc_) <= 0 || StartPage(dc_) <= 0) ThrowLastError();
      SelectObject(dc_, font_);
      SetBkMode(dc_, TRANSPARENT);
      ++page_;
      y_ = 0;
    }
    std::wstring wide = Widen(line);
    if (!wide.empty() && !TextOutW(dc_, 0, DeviceY(y_), wide.c_str(), static_cast<int>(wide.size()))) {
      ThrowLastError();
    }
    y_ += lineHeight_;
  }
}

void DefaultPrinter::Line(float x1, float y1, float x2, float y2, std::uint32_t colour) {
  Begin();
  HPEN pen = CreatePen(PS_SOLID, 0, static_cast<COLORREF>(colour));
  HGDIOBJ old = SelectObject(dc_, pen);
  MoveToEx(dc_, DeviceX(x1), DeviceY(y1), nullptr);
  LineTo(dc_, DeviceX(x2), DeviceY(y2));
  SelectObject(dc_, old);
  DeleteObject(pen);
}

void DefaultPrinter::EndDoc() {
  Begin();
  bool ok = ::EndPage(dc_) > 0 && ::EndDoc(dc_) > 0;
  DWORD error = GetLastError();
  Close();
  if (!ok) throw PlatformError("The printer did not take the document: " + ErrorText(error));
}

void DefaultPrinter::AbortDoc() {
  if (dc_) ::AbortDoc(dc_);
  Close();
}

void DefaultPrinter::Close() {
  if (dc_) {
    if (oldFont_) SelectObject(dc_, oldFont_);
    DeleteDC(dc_);
  }
  if (font_) DeleteObject(font_);
  dc_ = nullptr;
  font_ = nullptr;
  oldFont_ = nullptr;
}

void WindowMessageBox::Show(std::string_view text, std::string_view title) {
  MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_OK);
}

void WindowZOrder::SetWindowPos(std::intptr_t window, std::intptr_t insertAfter, std::int32_t x,
                                std::int32_t y, std::int32_t cx, std::int32_t cy,
                                std::uint32_t flags) {
  ::SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insertAfter), x, y, cx, cy,
                 flags);
}

void ShellNotifyArea::Notify(std::uint32_t message, const TrayRecord& record) {
  // The record is the leading part of NOTIFYICONDATAA; cbSize tells the shell where it ends.
  Shell_NotifyIconA(message, reinterpret_cast<NOTIFYICONDATAA*>(const_cast<TrayRecord*>(&record)));
}

void ExitingProcess::End() { ExitProcess(0); }

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::size_t slash = path.find_last_of(L'\\');
  std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  return Narrow(folder);
}

}  // namespace vorn::win
