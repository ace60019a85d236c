// What a mouse button released on the notification-area icon does to the notes window.
#pragma once

#include <cstdint>

namespace vorn {

enum class TrayAction { None, ShowAndFocus, Toggle };

// The left button shows the window and gives it the focus; the right one shows or hides it.
// `mouseMessage` is the window message the icon reports (WM_LBUTTONUP, ...).
constexpr TrayAction TrayActionFor(std::uint32_t mouseMessage) {
  constexpr std::uint32_t kLeftButtonUp = 0x0202, kRightButtonUp = 0x0205;
  if (mouseMessage == kLeftButtonUp) return TrayAction::ShowAndFocus;
  if (mouseMessage == kRightButtonUp) return TrayAction::Toggle;
  return TrayAction::None;
}

}  // namespace vorn
