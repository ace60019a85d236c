#include "ui/child_win.h"

#include <richedit.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/platform_error.h"
#include "platform/clipboard_win.h"
#include "platform/dpi_win.h"
#include "platform/handles_win.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"

namespace vorn::ui {

HWND CreateChild(HWND parent, int id, const wchar_t* cls, const wchar_t* text, DWORD style,
                 HFONT font, DWORD exStyle) {
  HWND child = CreateWindowExW(
      exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (!child) {
    DWORD error = GetLastError();
    throw PlatformError("a window of the class " + win::Narrow(cls) +
                        " could not be made: " + win::ErrorText(error));
  }
  if (font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

const wchar_t* RichEditClass() {
  if (win::LoadSystemLibrary(L"msftedit.dll")) return MSFTEDIT_CLASS;
  win::LoadSystemLibrary(L"riched20.dll");
  return RICHEDIT_CLASSW;
}

HWND CreatePlainTextBox(HWND parent, int id, DWORD style, HFONT font) {
  HWND box = CreateChild(parent, id, RichEditClass(), L"", style, font, WS_EX_CLIENTEDGE);
  SendMessageW(box, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(box, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);  // the default stops at 32K characters
  if (font) SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return box;
}

bool IsPasteKey(WPARAM key) {
  bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  if (GetKeyState(VK_MENU) < 0) return false;
  return (key == 'V' && ctrl) || (key == VK_INSERT && shift && !ctrl);
}

bool IsTextBox(HWND window) {
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  return lstrcmpiW(cls, RichEditClass()) == 0;
}

bool PasteIntoTextBox(HWND box) {
  LONG style = GetWindowLongW(box, GWL_STYLE);
  if (!IsTextBox(box) || (style & ES_READONLY)) return false;
  std::wstring text;
  try {
    text = win::Widen(win::WinClipboard().Text());
  } catch (const PlatformError&) {
    return true;  // nothing to paste, as with an empty clipboard
  }
  if (!(style & ES_MULTILINE)) text = text.substr(0, text.find_first_of(L"\r\n"));
  SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  return true;
}

void PlaceChild(HWND child, const TwipsRect& rect, UINT dpi) {
  int left = win::TwipsToPixels(rect.left, dpi), top = win::TwipsToPixels(rect.top, dpi);
  SetWindowPos(child, nullptr, left, top, win::TwipsToPixels(rect.width, dpi),
               win::TwipsToPixels(rect.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceCaptioned(HWND control, HFONT font, const TwipsRect& rect, UINT dpi) {
  wchar_t text[128] = {};
  int length = GetWindowTextW(control, text, 128);
  std::wstring shown;  // without the access key's ampersand
  for (int i = 0; i < length; ++i) {
    if (text[i] == L'&' && i + 1 < length) ++i;
    shown += text[i];
  }
  SIZE extent{};
  {
    win::WindowContext dc(control);
    win::Selection selected(dc.Get(), font);
    GetTextExtentPoint32W(dc.Get(), shown.c_str(), static_cast<int>(shown.size()), &extent);
  }
  LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
  bool box =
      type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
  // A check box draws its box, a gap, then the caption; a push button a border either side.
  int needed = extent.cx +
               (box ? win::MetricForDpi(SM_CXMENUCHECK, dpi) + MulDiv(6, dpi, 96) : MulDiv(12, dpi, 96));
  TwipsRect fitted = rect;
  fitted.width = std::max(rect.width, win::PixelsToTwips(needed, dpi));
  PlaceChild(control, fitted, dpi);
}

void DesignedPlaces::PlaceAll(UINT dpi) const {
  for (const Entry& entry : entries_) {
    SendMessageW(entry.control, WM_SETFONT, reinterpret_cast<WPARAM>(entry.font->Get()), TRUE);
    if (entry.captioned) {
      PlaceCaptioned(entry.control, entry.font->Get(), entry.place, dpi);
    } else {
      PlaceChild(entry.control, entry.place, dpi);
    }
  }
}

void MoveToSuggested(HWND window, const RECT& suggested) {
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateTahoma(float points, UINT dpi, bool bold, bool italic) {
  int height = -static_cast<int>(std::lround(points * static_cast<float>(dpi) / 72.0f));
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

}  // namespace vorn::ui
