#include "ui/about_window_win.h"

#include <string>

#include "platform/appearance_win.h"
#include "platform/dpi_win.h"
#include "platform/shell_win.h"
#include "platform/text_win.h"
#include "ui/about_texts.h"
#include "ui/child_win.h"
#include "ui/tool_tips_win.h"

namespace vorn::ui {

namespace {

// The designed client area on the screen, in twips.
constexpr TwipsRect kDesignedClient{2856, 2748, 4956, 3888};

int Px(float twips, UINT dpi) { return win::TwipsToPixels(twips, dpi); }

}  // namespace

void AboutWindow::DescribeClass(WNDCLASSEXW& wc) {
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
}

void AboutWindow::Open() {
  if (!hwnd_) {
    UINT dpi = win::DpiOf(nullptr);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT r{Px(kDesignedClient.left, dpi), Px(kDesignedClient.top, dpi), 0, 0};
    r.right = r.left + Px(kDesignedClient.width, dpi);
    r.bottom = r.top + Px(kDesignedClient.height, dpi);
    win::GrowToFrame(r, style, 0, dpi);
    // No owner: the window stands on its own beside the notes window.
    if (!CreateFor(instance_, WS_EX_CONTROLPARENT, win::Widen(about::kCaption).c_str(), style, r)) {
      return;
    }
  }
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

LRESULT AboutWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:  // high contrast turned on or off, or the app mode changed
      if (win::IsAppearanceChange(msg, lp)) {
        if (colours_.Follow()) colours_.Dress(hwnd_);
        InvalidateRect(hwnd_, nullptr, TRUE);
      }
      return Default(msg, wp, lp);
    case WM_ERASEBKGND:
      if (!win::HighContrastOn()) return Default(msg, wp, lp);
      FillClient(reinterpret_cast<HDC>(wp));
      return 1;
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) OnCommand(LOWORD(wp));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: return OnColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_PAINT: OnPaint(); return 0;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
    default: return Default(msg, wp, lp);
  }
}

HWND AboutWindow::Label(const char* text, const TwipsRect& place, const win::Font& font,
                        DWORD style) {
  HWND label = CreateChild(hwnd_, -1, L"STATIC", win::Widen(text).c_str(),
                           WS_VISIBLE | SS_NOPREFIX | style, nullptr);
  // A label on one line is made as wide as its text; the address wraps in its box.
  places_.Add(label, font, place, (style & SS_LEFTNOWORDWRAP) != 0);
  return label;
}

void AboutWindow::OnCreate() {
  black_.Reset(CreateSolidBrush(RGB(0, 0, 0)));
  white_.Reset(CreateSolidBrush(RGB(255, 255, 255)));

  // Created in the focus order: "&Close", "&Web site", "&Email me", then the read-me text.
  struct Button {
    int id;
    const wchar_t* caption;
    TwipsRect place;
  } buttons[] = {{kAboutCloseButton, L"&Close", {3540, 3420, 1275, 375}},
                 {kAboutWebButton, L"&Web site", {1440, 3420, 1155, 375}},
                 {kAboutEmailButton, L"&Email me", {180, 3420, 1155, 375}}};
  HWND handles[3] = {};
  for (std::size_t i = 0; i < 3; ++i) {
    handles[i] = CreateChild(hwnd_, buttons[i].id, L"BUTTON", buttons[i].caption,
                             WS_VISIBLE | WS_TABSTOP, nullptr);
    places_.Add(handles[i], font_, buttons[i].place, true);
  }
  closeButton_ = handles[0];
  readMe_ = CreateChild(
      hwnd_, kAboutReadMe, L"EDIT", win::Widen(about::kReadMe).c_str(),
      WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
      nullptr);
  places_.Add(readMe_, font_, {180, 2400, 4632, 912});

  // The product line lies in front of the white banner, which runs past the right edge.
  product_ = Label(about::kProduct, {240, 0, 4032, 372}, productFont_);
  banner_ = Label("", {0, 0, 5088, 432}, font_);
  credit_ = Label(about::kCredit, {300, 660, 2265, 345}, creditFont_, SS_LEFTNOWORDWRAP);
  secondCredit_ =
      Label(about::kSecondCredit, {2700, 720, 1095, 285}, secondCreditFont_, SS_LEFTNOWORDWRAP);
  Label(about::kAddress, {360, 1080, 1992, 612}, font_);
  Label((std::string("Email: ") + about::kEmail).c_str(), {360, 1800, 2412, 252}, font_,
        SS_LEFTNOWORDWRAP);
  Label((std::string("Web: ") + about::kWeb).c_str(), {360, 2040, 3012, 252}, font_,
        SS_LEFTNOWORDWRAP);
  Scale(win::DpiOf(hwnd_));
  SetWindowPos(banner_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowLongW(banner_, GWL_STYLE, GetWindowLongW(banner_, GWL_STYLE) | WS_CLIPSIBLINGS);

  std::wstring email = win::Widen(about::kEmail), web = win::Widen(about::kWeb);
  CreateToolTips(
      hwnd_, dpi_,
      {{handles[0], L"Closes the window"}, {handles[2], email.c_str()}, {handles[1], web.c_str()}});
  // The window keeps its designed colours in dark mode; its title bar and buttons turn dark.
  colours_.Start(hwnd_);
  SetFocus(closeButton_);
}

void AboutWindow::Scale(UINT dpi) {
  dpi_ = dpi;
  font_.Reset(CreateTahoma(8.4f, dpi));
  productFont_.Reset(CreateTahoma(15.6f, dpi, true));
  creditFont_.Reset(CreateTahoma(14.4f, dpi, true, true));
  secondCreditFont_.Reset(CreateTahoma(12.0f, dpi));
  places_.PlaceAll(dpi);
}

void AboutWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  Scale(dpi);
  MoveToSuggested(hwnd_, suggested);
  InvalidateRect(hwnd_, nullptr, TRUE);  // the rule under the banner
}

void AboutWindow::OnCommand(int id) {
  switch (id) {
    case kAboutCloseButton: Destroy(); break;
    case kAboutEmailButton: win::OpenLink(std::string("mailto:") + about::kEmail); break;
    case kAboutWebButton: win::OpenLink(about::kWeb); break;
  }
}

void AboutWindow::FillClient(HDC dc) {
  RECT r{};
  GetClientRect(hwnd_, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT AboutWindow::OnColour(HDC dc, HWND control) {
  // Under high contrast the window is in the system's colours, as every other one.
  if (win::HighContrastOn()) {
    return Default(control == readMe_ ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                   reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
  if (control == readMe_) {
    SetTextColor(dc, RGB(255, 224, 192));
    SetBkColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(black_.Get());
  }
  if (control == banner_ || control == product_) {
    SetTextColor(dc, RGB(128, 128, 255));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(white_.Get());
  }
  bool credit = control == credit_ || control == secondCredit_;
  SetTextColor(dc, credit ? RGB(255, 192, 255) : RGB(192, 255, 255));
  SetBkColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(black_.Get());
}

void AboutWindow::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  {
    // The white rule under the banner.
    COLORREF rule = win::HighContrastOn() ? GetSysColor(COLOR_WINDOWTEXT) : RGB(255, 255, 255);
    win::Pen pen(CreatePen(PS_SOLID, 1, rule));
    win::Selection selected(dc, pen.Get());
    MoveToEx(dc, 0, Px(540, dpi_), nullptr);
    LineTo(dc, Px(5085, dpi_), Px(540, dpi_));
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace vorn::ui
