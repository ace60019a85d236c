// The hidden top-level window that owns the tray icon (frmTrayIcon).
#pragma once

#include <windows.h>

#include <functional>

#include "app/tray_icon.h"
#include "platform/services.h"
#include "platform/services_win.h"
#include "platform/win.h"

namespace vorn::win {

class TrayWindow : public TrayForm {
 public:
  // `notes` is the notes window; `notesIcon` gives its icon handle; `unloadNotes` asks the
  // notes window to unload with a reason, for requests that reach this window instead.
  TrayWindow(HINSTANCE instance, FormWindow& notes, std::function<HICON()> notesIcon,
             std::function<void(std::int16_t)> unloadNotes);
  ~TrayWindow() override;
  void Load() override;
  void Unload() override;

 private:
  template <class T>
  friend LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnTrayNotification(LPARAM lp);

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  ShellNotifyArea area_;
  frmTrayIcon form_;
  std::function<HICON()> notesIcon_;
  std::function<void(std::int16_t)> unloadNotes_;
  UINT taskbarCreated_;
};

}  // namespace vorn::win
