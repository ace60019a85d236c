// Screen resolution and twips (1/1440 inch): the one place where twips meet pixels.
#pragma once

#include <windows.h>

namespace vorn::win {

// The logical resolution a window is drawn at; the screen's when there is no window yet.
UINT DpiOf(HWND window);

// The resolution the system had when the user logged on: what device contexts report, and
// what a Rich Edit control draws its points at on every monitor.
UINT SystemDpi();

// The resolution of the monitor `rect` (screen pixels) lies on, where that is another monitor
// than `window`'s; `window`'s own otherwise.
UINT DpiWhereRectLies(const RECT& rect, HWND window);

// A system metric at the given resolution (GetSystemMetricsForDpi where the system has it).
int MetricForDpi(int index, UINT dpi);

// Grows a client rectangle to the window's outer one, its frame at `dpi`
// (AdjustWindowRectExForDpi where the system has it).
void GrowToFrame(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

// The program's icon `id` at the size the system shows a small (16 px at 100 %) or a large
// (32 px) icon at `dpi`; the notification area's size where the system says it.
HICON LoadSmallIcon(HINSTANCE instance, int id, UINT dpi);
HICON LoadLargeIcon(HINSTANCE instance, int id, UINT dpi);
HICON LoadNotificationIcon(HINSTANCE instance, int id);

// 15 twips a pixel at 96 dpi.
inline float TwipsPerPixel(UINT dpi) { return 1440.0f / static_cast<float>(dpi); }
int TwipsToPixels(float twips, UINT dpi);
inline float PixelsToTwips(int pixels, UINT dpi) {
  return static_cast<float>(pixels) * TwipsPerPixel(dpi);
}

}  // namespace vorn::win
