#include "ui/tray_window_win.h"

#include "res/resource.h"
#include "core/tray_action.h"
#include "platform/dpi_win.h"

namespace vorn::ui {

bool TrayWindow::Create(NotesModel& model) {
  // Sent to every top-level window when the notification area is (re)created.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  endForSetup_ = RegisterWindowMessageW(kEndForSetupMessage);
  if (!CreateFor(instance_, WS_EX_TOOLWINDOW, L"Vorn Notes tray", WS_POPUP, RECT{})) return false;
  // The picture drawn for the notification area's size, never a larger one shrunk.
  picture_.Reset(win::LoadNotificationIcon(instance_, IDI_VORNNOTES));
  icon_.emplace(hwnd_, kTrayIconMessage, picture_.Get(), L"Vorn Notes by Kalvo");
  model_ = &model;
  return true;
}

LRESULT TrayWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == taskbarCreated_ && msg != 0) {
    // The notification area came back, perhaps at another scale: the picture for its size.
    win::Icon previous = std::move(picture_);
    picture_.Reset(win::LoadNotificationIcon(instance_, IDI_VORNNOTES));
    icon_->SetIcon(picture_.Get());
    if (model_) model_->NotificationAreaBack();
    return 0;
  }
  if (!model_) return Default(msg, wp, lp);
  if (msg == endForSetup_ && msg != 0) return model_->EndForSetup() ? 1 : 2;
  switch (msg) {
    case kTrayIconMessage:
      model_->TrayReleased(TrayActionFor(static_cast<std::uint32_t>(LOWORD(lp))));
      return 0;
    case WM_CLOSE: model_->CloseRequested(CloseReason::OtherProgram); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      if (wp) model_->CloseRequested(CloseReason::SessionEnd);
      return 0;
    default: return Default(msg, wp, lp);
  }
}

}  // namespace vorn::ui
