// Win32 implementations of the platform services.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/tray_icon.h"
#include "platform/services.h"
#include "store/pad_files.h"

namespace vorn::win {

// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>, one REG_SZ per key.
class RegistrySettings : public SettingsStore {
 public:
  static constexpr std::size_t kMaxValueBytes = 1024 * 1024;
  std::string Read(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view fallback) override;
  void Write(std::string_view app, std::string_view section, std::string_view key,
             std::string_view value) override;
};

// Files through the Win32 file API; paths are UTF-8.
class WinFileSystem : public FileSystem {
 public:
  std::optional<std::string> Read(const std::string& path) override;
  void WriteNew(const std::string& path, std::string_view bytes) override;
  void Rename(const std::string& from, const std::string& to) override;
  void Replace(const std::string& replacement, const std::string& target) override;
  bool Exists(const std::string& path) override;
  void Remove(const std::string& path) override;
};

// The system code page, for pad files of earlier builds.
std::string FromSystemCodePage(std::string_view bytes);

// Slot N of the settings store's section "Data", or the file ~tmpN.tmp in the program's folder.
class PadSlots : public PadStorage {
 public:
  PadSlots(SettingsStore& settings, std::function<std::string()> location)
      : settings_(settings), location_(std::move(location)) {}
  std::string ReadSlot(std::int16_t index, bool settingsStore) override;
  void WriteSlot(std::int16_t index, bool settingsStore, std::string_view text) override;

 private:
  SettingsStore& settings_;
  std::function<std::string()> location_;
  WinFileSystem files_;
};

// The clipboard's text, as Unicode text (the system offers it as CF_TEXT too).
class WinClipboard : public Clipboard {
 public:
  void Attach(HWND owner) { owner_ = owner; }
  void SetText(std::string_view text) override;
  std::string GetText() override;

 private:
  void Open();
  HWND owner_ = nullptr;
};

// The default printer through GDI, one document from the first call to EndDoc.
class DefaultPrinter : public Printer {
 public:
  ~DefaultPrinter() override;
  void SetPrintQuality(int quality) override { quality_ = quality; }
  int Page() override;
  void PrintLine(std::string_view text) override;
  float CurrentY() override;
  float ScaleWidth() override;
  void Line(float x1, float y1, float x2, float y2, std::uint32_t colour) override;
  void EndDoc() override;
  void AbortDoc() override;

 private:
  void Begin();
  void Close();
  int DeviceX(float twips) const;
  int DeviceY(float twips) const;

  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
  int quality_ = 0;
  int page_ = 1;
  float y_ = 0;  // twips from the top of the printable area
  float width_ = 0, height_ = 0, lineHeight_ = 0;
  int dpiX_ = 300, dpiY_ = 300;
};

// MessageBoxW over the notes window: OK only, no icon.
class WindowMessageBox : public MessageDialog {
 public:
  void Attach(HWND owner) { owner_ = owner; }
  void Show(std::string_view text, std::string_view title) override;

 private:
  HWND owner_ = nullptr;
};

class WindowZOrder : public ZOrder {
 public:
  void SetWindowPos(std::intptr_t window, std::intptr_t insertAfter, std::int32_t x, std::int32_t y,
                    std::int32_t cx, std::int32_t cy, std::uint32_t flags) override;
};

// Shell_NotifyIconA with the first record layout.
class ShellNotifyArea : public NotifyArea {
 public:
  void Notify(std::uint32_t message, const TrayRecord& record) override;
};

class ExitingProcess : public Process {
 public:
  void End() override;
};

// The program's folder as the program sees it: "C:\Tools" for C:\Tools\VornNotes.exe, and
// "C:\" (with its backslash) when the program sits in a drive's root.
std::string ProgramFolder();

}  // namespace vorn::win
