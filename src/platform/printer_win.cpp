#include "platform/printer_win.h"

#include <windows.h>
#include <winspool.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/handles_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"

namespace vorn::win {

namespace {

// The print spooler's library is loaded when the first print begins: loading it with the
// program costs a noticeable part of the start-up.
struct Spooler {
  decltype(&GetDefaultPrinterW) getDefaultPrinter = nullptr;
  decltype(&OpenPrinterW) openPrinter = nullptr;
  decltype(&DocumentPropertiesW) documentProperties = nullptr;
  decltype(&ClosePrinter) closePrinter = nullptr;

  template <class F>
  static F Find(HMODULE dll, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
  }

  // Nothing when the library or one of its functions is missing.
  static const Spooler* Get() {
    static const std::optional<Spooler> spooler = []() -> std::optional<Spooler> {
      HMODULE dll = LoadSystemLibrary(L"winspool.drv");
      if (!dll) return std::nullopt;
      Spooler s;
      s.getDefaultPrinter = Find<decltype(s.getDefaultPrinter)>(dll, "GetDefaultPrinterW");
      s.openPrinter = Find<decltype(s.openPrinter)>(dll, "OpenPrinterW");
      s.documentProperties = Find<decltype(s.documentProperties)>(dll, "DocumentPropertiesW");
      s.closePrinter = Find<decltype(s.closePrinter)>(dll, "ClosePrinter");
      if (!s.getDefaultPrinter || !s.openPrinter || !s.documentProperties || !s.closePrinter) {
        return std::nullopt;
      }
      return s;
    }();
    return spooler ? &*spooler : nullptr;
  }
};

std::wstring DefaultPrinterName(const Spooler& spooler) {
  DWORD size = 0;
  spooler.getDefaultPrinter(nullptr, &size);
  std::wstring name(size, L'\0');
  if (size == 0 || !spooler.getDefaultPrinter(name.data(), &size)) {
    throw PlatformError("No default printer is set up, so nothing was printed.");
  }
  name.resize(wcslen(name.c_str()));
  return name;
}

// The printer's own settings with medium print quality; empty when it has none to give.
std::vector<BYTE> MediumQualitySettings(const Spooler& spooler, std::wstring& name) {
  std::vector<BYTE> settings;
  HANDLE printer = nullptr;
  if (!spooler.openPrinter(name.data(), &printer, nullptr)) return settings;
  LONG bytes = spooler.documentProperties(nullptr, printer, name.data(), nullptr, nullptr, 0);
  if (bytes > 0) {
    settings.resize(static_cast<std::size_t>(bytes));
    auto* mode = reinterpret_cast<DEVMODEW*>(settings.data());
    if (spooler.documentProperties(nullptr, printer, name.data(), mode, nullptr, DM_OUT_BUFFER) ==
        IDOK) {
      mode->dmFields |= DM_PRINTQUALITY;
      mode->dmPrintQuality = DMRES_MEDIUM;
      spooler.documentProperties(nullptr, printer, name.data(), mode, mode,
                                 DM_IN_BUFFER | DM_OUT_BUFFER);
    } else {
      settings.clear();
    }
  }
  spooler.closePrinter(printer);
  return settings;
}

// A document started on a printer's device context; dropped before it ends, it is cancelled.
class StartedDocument {
 public:
  StartedDocument(HDC dc, const std::wstring& printerName) {
    DOCINFOW doc{sizeof doc};
    doc.lpszDocName = L"Vorn Notes";
    if (StartDocW(dc, &doc) <= 0) {
      throw PlatformError("The printer \"" + Narrow(printerName) +
                          "\" did not take the document: " + ErrorText(GetLastError()));
    }
    dc_ = dc;
  }
  StartedDocument(const StartedDocument&) = delete;
  StartedDocument& operator=(const StartedDocument&) = delete;
  ~StartedDocument() {
    if (dc_) AbortDoc(dc_);
  }
  bool End() { return EndDoc(std::exchange(dc_, nullptr)) > 0; }

 private:
  HDC dc_ = nullptr;
};

// One document on the printer, in twips of its printable area, in 10-point Arial.
class GdiPrintDocument : public PrintDocument {
 public:
  GdiPrintDocument(DeviceContext dc, const std::wstring& printerName)
      : dc_(std::move(dc)), document_(dc_.Get(), printerName) {
    HDC h = dc_.Get();
    dpiX_ = GetDeviceCaps(h, LOGPIXELSX);
    dpiY_ = GetDeviceCaps(h, LOGPIXELSY);
    width_ = ToTwips(GetDeviceCaps(h, HORZRES), dpiX_);
    height_ = ToTwips(GetDeviceCaps(h, VERTRES), dpiY_);
    font_.Reset(CreateFontW(-MulDiv(10, dpiY_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    StartPageWithFont();
    TEXTMETRICW metrics{};
    GetTextMetricsW(h, &metrics);
    lineHeight_ = ToTwips(metrics.tmHeight + metrics.tmExternalLeading, dpiY_);
  }

  float PageWidth() const override { return width_; }
  float PageHeight() const override { return height_; }
  float LineHeight() const override { return lineHeight_; }

  float TextWidth(std::string_view text) override {
    std::wstring wide = Widen(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc_.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
    return ToTwips(extent.cx, dpiX_);
  }

  void Text(float y, std::string_view line) override {
    std::wstring wide = Widen(line);
    if (!TextOutW(dc_.Get(), 0, ToDevice(y, dpiY_), wide.c_str(), static_cast<int>(wide.size()))) {
      throw PlatformError(ErrorText(GetLastError()));
    }
  }

  void Rule(float y) override {
    Pen pen(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
    Selection selected(dc_.Get(), pen.Get());
    MoveToEx(dc_.Get(), 0, ToDevice(y, dpiY_), nullptr);
    LineTo(dc_.Get(), ToDevice(width_, dpiX_), ToDevice(y, dpiY_));
  }

  void NextPage() override {
    fontSelected_.reset();
    if (EndPage(dc_.Get()) <= 0) throw PlatformError(ErrorText(GetLastError()));
    StartPageWithFont();
  }

  void Print() override {
    fontSelected_.reset();
    bool ok = EndPage(dc_.Get()) > 0;
    ok = document_.End() && ok;
    if (!ok) {
      throw PlatformError("The printer did not take the document: " + ErrorText(GetLastError()));
    }
  }

 private:
  static float ToTwips(int device, int dpi) {
    return static_cast<float>(device) * 1440.0f / static_cast<float>(dpi);
  }
  static int ToDevice(float twips, int dpi) {
    return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / 1440.0f));
  }

  // Each page starts with the device context's defaults: the font goes in again.
  void StartPageWithFont() {
    if (StartPage(dc_.Get()) <= 0) throw PlatformError(ErrorText(GetLastError()));
    fontSelected_.emplace(dc_.Get(), font_.Get());
    SetBkMode(dc_.Get(), TRANSPARENT);
  }

  // Destroyed in reverse: the font is put back and deleted, then a document that did not
  // finish is cancelled and the device context released.
  DeviceContext dc_;
  StartedDocument document_;
  Font font_;
  std::optional<Selection> fontSelected_;
  int dpiX_ = 300, dpiY_ = 300;
  float width_ = 0, height_ = 0, lineHeight_ = 0;
};

}  // namespace

std::unique_ptr<PrintDocument> DefaultPrinter::StartDocument() {
  const Spooler* spooler = Spooler::Get();
  if (!spooler) throw PlatformError("The print spooler cannot be loaded, so nothing was printed.");
  std::wstring name = DefaultPrinterName(*spooler);
  std::vector<BYTE> settings = MediumQualitySettings(*spooler, name);
  DeviceContext dc(
      CreateDCW(L"WINSPOOL", name.c_str(), nullptr,
                settings.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(settings.data())));
  if (!dc) {
    throw PlatformError("The printer \"" + Narrow(name) +
                        "\" cannot be used: " + ErrorText(GetLastError()));
  }
  return std::make_unique<GdiPrintDocument>(std::move(dc), name);
}

}  // namespace vorn::win
