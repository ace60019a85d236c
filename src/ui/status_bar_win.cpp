#include "ui/status_bar_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/dpi_win.h"
#include "platform/handles_win.h"
#include "platform/text_win.h"
#include "ui/child_win.h"
#include "ui/tool_tips_win.h"
#include "ui/window_ids.h"

namespace vorn::ui {

namespace {

const wchar_t* const kIndicatorText[3] = {L"CAPS", L"NUM", L"INS"};
constexpr int kIndicatorKey[3] = {VK_CAPITAL, VK_NUMLOCK, VK_INSERT};
constexpr float kIndicatorWidth[3] = {600, 600, 700};  // twips
constexpr float kFirstPanelMinimum = 1440;
constexpr float kSizeGrip = 308;  // the room the size grip takes at the right end

void SetIndicator(HWND bar, int index, int on) {
  SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(index + 1) | SBT_OWNERDRAW, on);
}

}  // namespace

void NotesStatusBar::Create(HWND parent, HFONT font, UINT dpi) {
  // Placed by the window at its designed height.
  bar_ = CreateChild(parent, kStatusBar, STATUSCLASSNAMEW, nullptr,
                     WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM | CCS_NORESIZE | CCS_NOPARENTALIGN,
                     font);
  font_ = font;
  dpi_ = dpi;
  tip_ = CreateToolTips(parent, dpi, {{bar_, L""}});
  LayOutPanels();
  UpdateIndicators();
}

void NotesStatusBar::SetText(std::string_view text) {
  // The model tells its text after every stored key, most often the same again: measuring and
  // drawing it again would cost each keystroke a dozen calls to the system.
  std::wstring wide = win::Widen(text);
  if (wide == text_ && bar_) return;
  text_ = std::move(wide);
  SendMessageW(bar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text_.c_str()));
  ShowText();
}

void NotesStatusBar::ShowText() {
  SIZE extent{};
  {
    win::WindowContext dc(bar_);
    win::Selection selected(dc.Get(), font_);
    GetTextExtentPoint32W(dc.Get(), text_.c_str(), static_cast<int>(text_.size()), &extent);
  }
  // The room for text inside the first panel's borders, and the bar's less its size grip. (The
  // bar itself cannot say how wide the panel is while it shows one text across.)
  RECT bar{};
  GetClientRect(bar_, &bar);
  int borders = MulDiv(8, static_cast<int>(dpi_), 96);
  int whole = bar.right - win::TwipsToPixels(kSizeGrip, dpi_) - borders;
  bool wide = extent.cx > firstPanelRight_ - borders;
  if (wide != wide_) SendMessageW(bar_, SB_SIMPLE, wide, 0);
  wide_ = wide;
  if (wide) SendMessageW(bar_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text_.c_str()));
  std::wstring tip = extent.cx > whole ? text_ : std::wstring();
  if (tip_ && tip != tipText_) {
    tipText_ = tip;
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = GetParent(bar_);
    info.uId = reinterpret_cast<UINT_PTR>(bar_);
    info.lpszText = tipText_.data();
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

void NotesStatusBar::Resize(UINT dpi, HFONT font) {
  if (font != font_) SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  font_ = font;
  dpi_ = dpi;
  RECT client{};
  GetClientRect(GetParent(bar_), &client);
  int height = win::TwipsToPixels(kHeight, dpi);
  SetWindowPos(bar_, nullptr, 0, client.bottom - height, client.right, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutPanels();
}

void NotesStatusBar::LayOutPanels() {
  RECT client{};
  GetClientRect(GetParent(bar_), &client);
  // The panels' edges in twips, each turned into pixels once, so that rounding does not add up.
  float fixed = kSizeGrip;
  for (float w : kIndicatorWidth) fixed += w;
  float first = std::max(kFirstPanelMinimum, win::PixelsToTwips(client.right, dpi_) - fixed);
  int edges[4] = {win::TwipsToPixels(first, dpi_),
                  win::TwipsToPixels(first + kIndicatorWidth[0], dpi_),
                  win::TwipsToPixels(first + kIndicatorWidth[0] + kIndicatorWidth[1], dpi_), -1};
  SendMessageW(bar_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  firstPanelRight_ = edges[0];
  // New parts lose their owner-drawn content: give it back.
  for (int i = 0; i < 3; ++i) {
    if (indicators_[i] >= 0) SetIndicator(bar_, i, indicators_[i]);
  }
  ShowText();  // the text may fit its panel now, or no longer
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
