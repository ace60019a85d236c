#include "platform/notify_icon_win.h"

#include <algorithm>
#include <iterator>

namespace vorn::win {

NotifyIcon::NotifyIcon(HWND window, UINT callbackMessage, HICON icon, std::wstring_view tip) {
  record_.cbSize = sizeof record_;
  record_.hWnd = window;
  record_.uID = 1;
  // In the fourth way the shell shows the tip only when asked to.
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  record_.uCallbackMessage = callbackMessage;
  record_.hIcon = icon;
  std::size_t n = std::min(tip.size(), std::size(record_.szTip) - 1);
  std::copy_n(tip.data(), n, record_.szTip);
}

bool NotifyIcon::Add() {
  added_ = true;
  if (!Shell_NotifyIconW(NIM_ADD, &record_) && !Shell_NotifyIconW(NIM_MODIFY, &record_)) {
    return false;
  }
  NOTIFYICONDATAW version = record_;
  version.uVersion = NOTIFYICON_VERSION_4;
  Shell_NotifyIconW(NIM_SETVERSION, &version);
  return true;
}

void NotifyIcon::SetIcon(HICON icon) {
  record_.hIcon = icon;
  if (added_) Shell_NotifyIconW(NIM_MODIFY, &record_);
}

void NotifyIcon::Remove() {
  if (added_) Shell_NotifyIconW(NIM_DELETE, &record_);
  added_ = false;
}

}  // namespace vorn::win
