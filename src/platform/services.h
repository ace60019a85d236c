// The platform services the logic calls. The Win32 build implements them in *_win.cpp files;
// the unit tests put in-memory fakes in their place.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorn {

// A failure reported by the platform, carrying its own description of the error.
struct PlatformError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The per-user settings store: (application, section, key) -> text.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or `fallback` when the application, section or key does not exist.
  virtual std::string Read(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view fallback) = 0;
  // Creates what is missing of the address and replaces the value; throws PlatformError.
  virtual void Write(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) = 0;
};

// Where the ten pads are kept: slot N of the settings store or of the pad files.
class PadStorage {
 public:
  virtual ~PadStorage() = default;
  // The text of slot `index`; throws PlatformError when it cannot be read.
  virtual std::string ReadSlot(std::int16_t index, bool settingsStore) = 0;
  // Replaces the whole text of slot `index`; throws PlatformError.
  virtual void WriteSlot(std::int16_t index, bool settingsStore, std::string_view text) = 0;
};

// SetWindowPos, as far as the top-most option uses it.
class ZOrder {
 public:
  virtual ~ZOrder() = default;
  virtual void SetWindowPos(std::intptr_t window, std::intptr_t insertAfter, std::int32_t x,
                            std::int32_t y, std::int32_t cx, std::int32_t cy,
                            std::uint32_t flags) = 0;
};

// The hidden window that owns the tray icon, as the notes window loads and unloads it.
class TrayForm {
 public:
  virtual ~TrayForm() = default;
  virtual void Load() = 0;
  virtual void Unload() = 0;
};

// The clipboard's plain text. Both throw PlatformError when the clipboard cannot be opened.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void SetText(std::string_view text) = 0;
  // "" when the clipboard holds no text.
  virtual std::string GetText() = 0;
};

// The default printer, without a dialog, in twips of the printable area. The first call starts
// a document on page 1; EndDoc releases it. Failures throw PlatformError.
class Printer {
 public:
  virtual ~Printer() = default;
  virtual void SetPrintQuality(int quality) = 0;
  virtual int Page() = 0;
  // Prints the text and ends its line; each line break inside it starts a new line, and lines
  // wider than the page wrap, continuing on further pages as needed.
  virtual void PrintLine(std::string_view text) = 0;
  virtual float CurrentY() = 0;
  virtual float ScaleWidth() = 0;
  virtual void Line(float x1, float y1, float x2, float y2, std::uint32_t colour) = 0;
  virtual void EndDoc() = 0;
  // Drops a document that failed half-way; nothing reaches the printer.
  virtual void AbortDoc() = 0;
};

// A modal message box with an OK button only and no icon.
class MessageDialog {
 public:
  virtual ~MessageDialog() = default;
  virtual void Show(std::string_view text, std::string_view title) = 0;
};

// Ending the process. The real one does not return.
class Process {
 public:
  virtual ~Process() = default;
  virtual void End() = 0;
};

}  // namespace vorn
