// Screen resolution and twips (1/1440 inch): the one place where twips meet pixels.
#pragma once

#include <windows.h>

namespace vorn::win {

// The logical resolution a window is drawn at; the screen's when there is no window yet.
UINT DpiOf(HWND window);

// 15 twips a pixel at 96 dpi.
inline float TwipsPerPixel(UINT dpi) { return 1440.0f / static_cast<float>(dpi); }
int TwipsToPixels(float twips, UINT dpi);
inline float PixelsToTwips(int pixels, UINT dpi) {
  return static_cast<float>(pixels) * TwipsPerPixel(dpi);
}

}  // namespace vorn::win
