#include "platform/keyboard_layouts_win.h"

#include <windows.h>

#include <algorithm>

#include "platform/text_win.h"

namespace vorn::win {

std::vector<std::string> InstalledLayouts::TypedWithAltGr(unsigned key, bool shift) {
  std::vector<HKL> layouts(static_cast<std::size_t>(std::max(GetKeyboardLayoutList(0, nullptr), 0)));
  layouts.resize(static_cast<std::size_t>(
      std::max(GetKeyboardLayoutList(static_cast<int>(layouts.size()), layouts.data()), 0)));
  // AltGr is the right Alt, which Windows reports with the left Ctrl.
  BYTE keys[256] = {};
  keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_MENU] = keys[VK_RMENU] = 0x80;
  if (shift) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
  std::vector<std::string> typed;
  for (HKL layout : layouts) {
    UINT scan = MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, layout);
    wchar_t chars[8] = {};
    // 4: the keyboard's state, a dead key among it, stays as the user left it (Windows 10
    // 1607 on); before, a dead key is pressed again to leave nothing waiting.
    int n = ToUnicodeEx(key, scan, keys, chars, 7, 4, layout);
    if (n < 0) {
      wchar_t again[8] = {};
      ToUnicodeEx(key, scan, keys, again, 7, 4, layout);
      n = 1;  // a dead key: its accent is a character too
    }
    typed.push_back(Narrow(std::wstring_view(chars, static_cast<std::size_t>(std::max(n, 0)))));
  }
  return typed;
}

}  // namespace vorn::win
