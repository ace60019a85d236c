// The hidden window behind the icon in the notification area: it adds and removes the icon,
// hands the icon's mouse buttons to the notes model, and puts the icon back when the
// notification area is re-created. It is a top-level window so that the end of the session
// and close requests of other programs reach it.
#pragma once

#include <windows.h>

#include <optional>

#include "core/notes_model.h"
#include "core/notes_view.h"
#include "platform/handles_win.h"
#include "platform/notify_icon_win.h"
#include "ui/window_base_win.h"
#include "ui/window_ids.h"

namespace vorn::ui {

class TrayWindow : public WindowBase<TrayWindow>, public TrayIcon {
 public:
  static constexpr const wchar_t* kClassName = kTrayWindowClass;

  explicit TrayWindow(HINSTANCE instance) : instance_(instance) {}
  ~TrayWindow() { Destroy(); }
  bool Create(NotesModel& model);

  // TrayIcon
  bool Add() override { return icon_->Add(); }
  void Remove() override { icon_->Remove(); }

 private:
  friend class WindowBase<TrayWindow>;
  static_assert(kTrayIconMessage == WM_APP + 1);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  HINSTANCE instance_;
  NotesModel* model_ = nullptr;
  UINT taskbarCreated_ = 0;
  UINT endForSetup_ = 0;
  win::Icon picture_;
  std::optional<win::NotifyIcon> icon_;
};

}  // namespace vorn::ui
