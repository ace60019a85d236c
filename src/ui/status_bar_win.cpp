#include "ui/status_bar_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/dpi_win.h"
#include "platform/handles_win.h"
#include "platform/text_win.h"
#include "ui/child_win.h"
#include "ui/window_ids.h"

namespace vorn::ui {

namespace {

const wchar_t* const kIndicatorText[3] = {L"CAPS", L"NUM", L"INS"};
constexpr int kIndicatorKey[3] = {VK_CAPITAL, VK_NUMLOCK, VK_INSERT};
constexpr float kIndicatorWidth[3] = {600, 600, 700};  // twips
constexpr float kFirstPanelMinimum = 1440;

void SetIndicator(HWND bar, int index, int on) {
  SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(index + 1) | SBT_OWNERDRAW, on);
}

}  // namespace

void NotesStatusBar::Create(HWND parent, HFONT font, UINT dpi) {
  bar_ =
      CreateChild(parent, kStatusBar, STATUSCLASSNAMEW, nullptr, WS_VISIBLE | SBARS_SIZEGRIP, font);
  font_ = font;
  dpi_ = dpi;
  LayOutPanels();
  UpdateIndicators();
}

void NotesStatusBar::SetText(std::string_view text) {
  std::wstring wide = win::Widen(text);
  SendMessageW(bar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void NotesStatusBar::Resize(UINT dpi, HFONT font) {
  if (font != font_) SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  font_ = font;
  dpi_ = dpi;
  SendMessageW(bar_, WM_SIZE, 0, 0);  // it docks itself to the parent's bottom edge
  LayOutPanels();
}

void NotesStatusBar::LayOutPanels() {
  RECT client{};
  GetClientRect(GetParent(bar_), &client);
  int fixed = 0;
  for (float w : kIndicatorWidth) fixed += win::TwipsToPixels(w, dpi_);
  int first = std::max(win::TwipsToPixels(kFirstPanelMinimum, dpi_),
                       static_cast<int>(client.right) - fixed);
  int edges[4] = {first, first + win::TwipsToPixels(kIndicatorWidth[0], dpi_), 0, -1};
  edges[2] = edges[1] + win::TwipsToPixels(kIndicatorWidth[1], dpi_);
  SendMessageW(bar_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  // New parts lose their owner-drawn content: give it back.
  for (int i = 0; i < 3; ++i) {
    if (indicators_[i] >= 0) SetIndicator(bar_, i, indicators_[i]);
  }
}

void NotesStatusBar::UpdateIndicators() {
  for (int i = 0; i < 3; ++i) {
    int on = (GetKeyState(kIndicatorKey[i]) & 1) ? 1 : 0;
    if (on == indicators_[i]) continue;
    indicators_[i] = on;
    SetIndicator(bar_, i, on);
  }
}

bool NotesStatusBar::Draw(const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != bar_ || item.itemID < 1 || item.itemID > 3) return false;
  RECT r = item.rcItem;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(item.itemData ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  win::Selection font(item.hDC, font_);
  DrawTextW(item.hDC, kIndicatorText[item.itemID - 1], -1, &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  return true;
}

}  // namespace vorn::ui
