#include "ui/tool_tips_win.h"

#include <commctrl.h>

namespace vorn::ui {

HWND CreateToolTips(HWND owner, UINT dpi, std::initializer_list<ToolTip> tips) {
  HWND window = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
  if (!window) return nullptr;  // the window works without its tips
  SendMessageW(window, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, static_cast<int>(dpi), 96));
  for (const ToolTip& tip : tips) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(tip.control);
    info.uId = reinterpret_cast<UINT_PTR>(tip.control);
    info.lpszText = const_cast<wchar_t*>(tip.text);
    SendMessageW(window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  return window;
}

}  // namespace vorn::ui
