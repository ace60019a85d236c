#include "platform/dpi_win.h"

#include <cmath>

#include "platform/handles_win.h"
#include "platform/system_library_win.h"

namespace vorn::win {

namespace {

// The monitor's own resolution: Windows 8.1 on.
UINT MonitorDpi(HMONITOR monitor) {
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static auto forMonitor = SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (forMonitor && SUCCEEDED(forMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y))) return x;
  return 0;
}

}  // namespace

UINT DpiOf(HWND window) {
  if (!window) return SystemDpi();
  // GetDpiForWindow exists from Windows 10 1607 on; Windows 8.1 and the first Windows 10 draw a
  // window at its monitor's resolution, which only that monitor tells.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  UINT dpi = getDpi ? getDpi(window) : MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
  return dpi ? dpi : SystemDpi();
}

UINT SystemDpi() {
  static UINT dpi = static_cast<UINT>(GetDeviceCaps(WindowContext().Get(), LOGPIXELSY));
  return dpi ? dpi : 96;
}

UINT DpiWhereRectLies(const RECT& rect, HWND window) {
  HMONITOR there = MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
  if (there == MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) return DpiOf(window);
  // Only with more than one monitor: the library is not loaded for nothing.
  UINT dpi = MonitorDpi(there);
  return dpi ? dpi : DpiOf(window);
}

int MetricForDpi(int index, UINT dpi) {
  using Fn = int(WINAPI*)(int, UINT);
  static auto forDpi = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  if (forDpi) return forDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void GrowToFrame(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static auto forDpi = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (forDpi && forDpi(&rect, style, FALSE, exStyle, dpi)) return;
  // The system's frame is at the resolution of the log-on: scaled to the window's.
  RECT grown = rect;
  AdjustWindowRectEx(&grown, style, FALSE, exStyle);
  auto scaled = [&](LONG n) { return MulDiv(n, static_cast<int>(dpi), static_cast<int>(SystemDpi())); };
  rect.left -= scaled(rect.left - grown.left);
  rect.top -= scaled(rect.top - grown.top);
  rect.right += scaled(grown.right - rect.right);
  rect.bottom += scaled(grown.bottom - rect.bottom);
}

namespace {

HICON LoadIconSized(HINSTANCE instance, int id, int side) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
}

}  // namespace

HICON LoadSmallIcon(HINSTANCE instance, int id, UINT dpi) {
  return LoadIconSized(instance, id, MetricForDpi(SM_CXSMICON, dpi));
}

HICON LoadLargeIcon(HINSTANCE instance, int id, UINT dpi) {
  return LoadIconSized(instance, id, MetricForDpi(SM_CXICON, dpi));
}

HICON LoadNotificationIcon(HINSTANCE instance, int id) {
  // LoadIconMetric picks the size the shell shows in the notification area; it is comctl32's
  // from version 6 on.
  using Fn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  auto loadIconMetric =
      comctl
          ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(comctl, "LoadIconMetric")))
          : nullptr;
  HICON icon = nullptr;
  if (loadIconMetric &&
      SUCCEEDED(loadIconMetric(instance, MAKEINTRESOURCEW(id), 0 /* LIM_SMALL */, &icon))) {
    return icon;
  }
  return LoadSmallIcon(instance, id, DpiOf(nullptr));
}

int TwipsToPixels(float twips, UINT dpi) {
  return static_cast<int>(std::lround(twips / TwipsPerPixel(dpi)));
}

}  // namespace vorn::win
