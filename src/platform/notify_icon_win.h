// One icon in the notification area, through Shell_NotifyIconW in the shell's fourth way
// (NOTIFYICON_VERSION_4): the mouse messages as before, and Enter or Space on the icon as
// NIN_KEYSELECT.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string_view>

namespace vorn::win {

class NotifyIcon {
 public:
  // The icon reports its events to `window` as `callbackMessage`, the event (a mouse message,
  // NIN_KEYSELECT) in the low word of lParam.
  NotifyIcon(HWND window, UINT callbackMessage, HICON icon, std::wstring_view tip);
  NotifyIcon(const NotifyIcon&) = delete;
  NotifyIcon& operator=(const NotifyIcon&) = delete;
  ~NotifyIcon() { Remove(); }

  // True when the shell shows the icon: it took it, or has it already (an add that timed out
  // may still have been done, and a notification area made anew has none).
  bool Add();
  // Shows another picture, as when the notification area comes back at another size.
  void SetIcon(HICON icon);
  void Remove();

 private:

  NOTIFYICONDATAW record_{};
  bool added_ = false;  // asked for: removed at the end
};

}  // namespace vorn::win
