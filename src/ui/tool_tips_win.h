// Tool tips for a window's controls.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace vorn::ui {

struct ToolTip {
  HWND control;
  const wchar_t* text;
};

// A tool-tip window owned by `owner` (and destroyed with it) that shows each control's tip.
HWND CreateToolTips(HWND owner, UINT dpi, std::initializer_list<ToolTip> tips);

}  // namespace vorn::ui
