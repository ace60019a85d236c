// One icon in the notification area, through Shell_NotifyIconA with the first NOTIFYICONDATAA
// layout: the record every version of the shell reads.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string_view>

namespace vorn::win {

class NotifyIcon {
 public:
  // The icon reports mouse events to `window` as `callbackMessage`, the mouse message in lParam.
  NotifyIcon(HWND window, UINT callbackMessage, HICON icon, std::string_view tip);
  NotifyIcon(const NotifyIcon&) = delete;
  NotifyIcon& operator=(const NotifyIcon&) = delete;
  ~NotifyIcon() { Remove(); }

  void Add();
  // Shows another picture, as when the notification area comes back at another size.
  void SetIcon(HICON icon);
  // Adds the icon again after the notification area was re-created, if it was added before.
  void Readd();
  void Remove();

 private:
  NOTIFYICONDATAA record_{};
  bool added_ = false;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the first NOTIFYICONDATAA layout is 88 bytes");
#endif

}  // namespace vorn::win
