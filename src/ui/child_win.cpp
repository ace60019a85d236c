#include "ui/child_win.h"

#include <cmath>

#include "core/platform_error.h"
#include "platform/dpi_win.h"
#include "platform/text_win.h"

namespace vorn::ui {

HWND CreateChild(HWND parent, int id, const wchar_t* cls, const wchar_t* text, DWORD style,
                 HFONT font, DWORD exStyle) {
  HWND child = CreateWindowExW(
      exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (!child) throw PlatformError(win::ErrorText(GetLastError()));
  if (font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void PlaceChild(HWND child, const TwipsRect& rect, UINT dpi) {
  int left = win::TwipsToPixels(rect.left, dpi), top = win::TwipsToPixels(rect.top, dpi);
  SetWindowPos(child, nullptr, left, top, win::TwipsToPixels(rect.width, dpi),
               win::TwipsToPixels(rect.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateTahoma(float points, UINT dpi, bool bold, bool italic) {
  int height = -static_cast<int>(std::lround(points * static_cast<float>(dpi) / 72.0f));
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

}  // namespace vorn::ui
