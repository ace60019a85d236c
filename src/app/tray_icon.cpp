#include "app/tray_icon.h"

#include <cmath>
#include <cstring>

namespace vorn {

TrayAction DecodeTrayMessage(std::int32_t mouseMessage) {
  switch (mouseMessage) {
    case 514:  // WM_LBUTTONUP
      return TrayAction::ShowAndFocus;
    case 517:  // WM_RBUTTONUP
      return TrayAction::Toggle;
    default:
      return TrayAction::None;
  }
}

TrayAction DecodeTrayMouse(float xTwips, float twipsPerPixelX) {
  float m = xTwips / twipsPerPixelX;
  if (!std::isfinite(m) || std::fabs(m) > 2147483647.0f) return TrayAction::None;
  return DecodeTrayMessage(static_cast<std::int32_t>(std::nearbyint(m)));
}

void FillTip(char (&tip)[64], std::string_view text) {
  std::size_t n = text.size() < sizeof tip - 1 ? text.size() : sizeof tip - 1;
  std::memset(tip, ' ', sizeof tip);
  std::memcpy(tip, text.data(), n);
  tip[n] = '\0';
}

void frmTrayIcon::Form_Load(std::uintptr_t ownHandle, std::uintptr_t notesIcon) {
  record_.hWnd = ownHandle;
  record_.uID = static_cast<std::uint32_t>(notesIcon);
  record_.uFlags = kTrayFlags;
  record_.uCallbackMessage = kTrayCallbackMessage;
  record_.hIcon = notesIcon;
  FillTip(record_.szTip, kTrayTip);
  record_.cbSize = sizeof(TrayRecord);
  loaded_ = true;
  area_.Notify(kNimAdd, record_);
}

void frmTrayIcon::Form_QueryUnload(std::int16_t& /*Cancel*/, std::int16_t /*UnloadMode*/) {
  if (loaded_) area_.Notify(kNimDelete, record_);
  loaded_ = false;
}

void frmTrayIcon::Readd() {
  if (loaded_) area_.Notify(kNimAdd, record_);
}

void frmTrayIcon::Form_MouseMove(std::int16_t /*Button*/, std::int16_t /*Shift*/, float X,
                                 float /*Y*/, float twipsPerPixelX) {
  switch (DecodeTrayMouse(X, twipsPerPixelX)) {
    case TrayAction::ShowAndFocus:
      if (!notes_.Visible()) notes_.SetVisible(true);
      notes_.SetFocus();
      break;
    case TrayAction::Toggle:
      notes_.SetVisible(!notes_.Visible());
      break;
    case TrayAction::None:
      break;
  }
}

}  // namespace vorn
