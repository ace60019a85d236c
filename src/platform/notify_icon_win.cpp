#include "platform/notify_icon_win.h"

#include <algorithm>

namespace vorn::win {

NotifyIcon::NotifyIcon(HWND window, UINT callbackMessage, HICON icon, std::string_view tip) {
  record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record_.hWnd = window;
  record_.uID = 1;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = callbackMessage;
  record_.hIcon = icon;
  // The first layout's tip holds 63 characters and its NUL.
  std::size_t n = std::min(tip.size(), std::size_t{63});
  std::copy_n(tip.data(), n, record_.szTip);
}

void NotifyIcon::Add() {
  // The shell's answer is not looked at: without a notification area yet, the icon is added
  // when one appears (Readd).
  Shell_NotifyIconA(NIM_ADD, &record_);
  added_ = true;
}

void NotifyIcon::SetIcon(HICON icon) {
  record_.hIcon = icon;
  if (added_) Shell_NotifyIconA(NIM_MODIFY, &record_);
}

void NotifyIcon::Readd() {
  if (added_) Shell_NotifyIconA(NIM_ADD, &record_);
}

void NotifyIcon::Remove() {
  if (added_) Shell_NotifyIconA(NIM_DELETE, &record_);
  added_ = false;
}

}  // namespace vorn::win
