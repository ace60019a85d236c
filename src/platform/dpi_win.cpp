#include "platform/dpi_win.h"

#include <cmath>

namespace vorn::win {

UINT DpiOf(HWND window) {
  // GetDpiForWindow exists from Windows 10 on; earlier systems draw at the screen's resolution.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  UINT dpi = window && getDpi ? getDpi(window) : 0;
  if (dpi == 0) {
    HDC screen = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
  }
  return dpi ? dpi : 96;
}

int TwipsToPixels(float twips, UINT dpi) {
  return static_cast<int>(std::lround(twips / TwipsPerPixel(dpi)));
}

}  // namespace vorn::win
