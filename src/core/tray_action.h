// What a mouse button released on the notification-area icon, or Enter or Space on it, does to
// the notes window.
#pragma once

#include <cstdint>

namespace vorn {

enum class TrayAction { None, ShowAndFocus, Toggle };

// The left button, and Enter or Space on the icon (NIN_KEYSELECT), show the window and give it
// the focus; the right button shows or hides it. `event` is what the icon reports
// (WM_LBUTTONUP, ...); the shell's other reports of the same click (NIN_SELECT,
// WM_CONTEXTMENU) do nothing more.
constexpr TrayAction TrayActionFor(std::uint32_t event) {
  constexpr std::uint32_t kLeftButtonUp = 0x0202, kRightButtonUp = 0x0205, kKeySelect = 0x0401;
  if (event == kLeftButtonUp || event == kKeySelect) return TrayAction::ShowAndFocus;
  if (event == kRightButtonUp) return TrayAction::Toggle;
  return TrayAction::None;
}

}  // namespace vorn
