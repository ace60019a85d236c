#include "ui/window_placement_win.h"

#include "platform/dpi_win.h"
#include "platform/monitors_win.h"

namespace vorn::ui {

namespace {

// GetWindowPlacement works in workspace coordinates: screen coordinates less the space that a
// taskbar at the top or left of the monitor takes.
POINT WorkspaceOffset(HWND window) {
  MONITORINFO info{sizeof info};
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
  return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

bool Parked(HWND window) { return IsIconic(window) || IsZoomed(window); }

RECT RestoredRect(HWND window) {
  RECT r{};
  if (!Parked(window)) {
    GetWindowRect(window, &r);
    return r;
  }
  WINDOWPLACEMENT placement{sizeof placement};
  GetWindowPlacement(window, &placement);
  POINT offset = WorkspaceOffset(window);
  r = placement.rcNormalPosition;
  OffsetRect(&r, offset.x, offset.y);
  return r;
}

void ApplyRestoredRect(HWND window, const RECT& r) {
  if (!Parked(window)) {
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  WINDOWPLACEMENT placement{sizeof placement};
  GetWindowPlacement(window, &placement);
  POINT offset = WorkspaceOffset(window);
  placement.rcNormalPosition = r;
  OffsetRect(&placement.rcNormalPosition, -offset.x, -offset.y);
  placement.showCmd = !IsWindowVisible(window) ? SW_HIDE
                      : IsIconic(window)       ? SW_SHOWMINNOACTIVE
                                               : SW_SHOWMAXIMIZED;
  SetWindowPlacement(window, &placement);
}

std::array<int, 4> Fields(const RECT& r) {
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right - r.left),
          static_cast<int>(r.bottom - r.top)};
}

}  // namespace

WindowRect TwipsPlacement::Get(HWND window) const {
  UINT dpi = win::DpiOf(window);
  std::array<int, 4> pixels = Fields(RestoredRect(window));
  float twips[4];
  for (std::size_t i = 0; i < 4; ++i) {
    const Remembered& f = fields_[i];
    twips[i] = f.set && f.pixels == pixels[i] ? f.twips : win::PixelsToTwips(pixels[i], dpi);
  }
  return {twips[0], twips[1], twips[2], twips[3]};
}

void TwipsPlacement::Set(HWND window, const WindowRect& rect) {
  const float twips[4] = {rect.left, rect.top, rect.width, rect.height};
  auto convert = [&](UINT dpi) {
    for (std::size_t i = 0; i < 4; ++i) {
      fields_[i] = {twips[i], win::TwipsToPixels(twips[i], dpi), true};
    }
    return RECT{fields_[0].pixels, fields_[1].pixels, fields_[0].pixels + fields_[2].pixels,
                fields_[1].pixels + fields_[3].pixels};
  };
  UINT dpi = win::DpiOf(window);
  RECT r = convert(dpi);
  // Twips are converted at the scale of the monitor the window is to lie on.
  if (UINT there = win::DpiWhereRectLies(r, window); there != dpi) r = convert(there);
  placing_ = true;
  ApplyRestoredRect(window, r);
  placing_ = false;
}

void TwipsPlacement::KeepReachable(HWND window) {
  RECT now = RestoredRect(window);
  // The title bar: the frame above it and the caption, at the window's resolution.
  UINT dpi = win::DpiOf(window);
  int titleHeight = win::MetricForDpi(SM_CYCAPTION, dpi) + win::MetricForDpi(SM_CYFRAME, dpi) +
                    win::MetricForDpi(SM_CXPADDEDBORDER, dpi);
  RECT reachable = win::Reachable(now, titleHeight);
  if (!EqualRect(&now, &reachable)) ApplyRestoredRect(window, reachable);
}

RECT SmallWindowRect(HWND owner, const TwipsRect& client, bool nearBottom) {
  UINT dpi = win::DpiOf(owner);
  RECT r{0, 0, win::TwipsToPixels(client.width, dpi), win::TwipsToPixels(client.height, dpi)};
  win::GrowToFrame(r, kSmallWindowStyle, kSmallWindowExStyle, dpi);
  RECT o{};
  GetWindowRect(owner, &o);
  int top = nearBottom ? o.bottom - (r.bottom - r.top) - 80 : o.top + 40;
  OffsetRect(&r, o.left + 40 - r.left, top - r.top);
  return r;
}

void BringForward(HWND window, HWND focus) {
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(focus);
}

}  // namespace vorn::ui
