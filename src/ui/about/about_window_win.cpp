#include "ui/about/about_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwctype>
#include <vector>

namespace vorn::win {

namespace {

constexpr wchar_t kAboutClass[] = L"VornNotesAbout";
constexpr int kIdButton0 = 100;  // Commandbtn(i) has the id 100 + i
constexpr int kIdReadMe = 200;

// The designed client area on the screen, in twips.
constexpr float kLeft = 2856, kTop = 2748, kWidth = 4956, kHeight = 3888;

}  // namespace

void WindowsShell::Execute(std::string_view link) {
  std::wstring wide = Widen(link);
  int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow.data(), n, nullptr, nullptr);
  ShellExecuteA(nullptr, nullptr, narrow.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

AboutWindow::AboutWindow(HINSTANCE instance) : instance_(instance), form_(shell_, *this) {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = WindowProc<AboutWindow>;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = kAboutClass;
  RegisterClassExW(&wc);
  black_.Reset(CreateSolidBrush(RGB(0, 0, 0)));
  white_.Reset(CreateSolidBrush(RGB(255, 255, 255)));
}

AboutWindow::~AboutWindow() { Unload(); }

void AboutWindow::Load() {
  dpi_ = DpiOf(nullptr);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT r{TwipsToPixels(kLeft, dpi_), TwipsToPixels(kTop, dpi_), 0, 0};
  r.right = r.left + TwipsToPixels(kWidth, dpi_);
  r.bottom = r.top + TwipsToPixels(kHeight, dpi_);
  AdjustWindowRectEx(&r, style, FALSE, 0);
  // No owner: the window stands on its own beside the notes window.
  CreateWindowExW(WS_EX_CONTROLPARENT, kAboutClass, Widen(about::kCaption).c_str(), style, r.left,
                  r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance_, this);
}

void AboutWindow::Unload() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  hwnd_ = nullptr;
  DestroyWindow(h);
}

void AboutWindow::Present() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

LRESULT AboutWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND:
      if (LOWORD(wp) >= kIdButton0 && LOWORD(wp) < kIdButton0 + 3 && HIWORD(wp) == BN_CLICKED) {
        form_.Commandbtn_Click(static_cast<std::int16_t>(LOWORD(wp) - kIdButton0));
      }
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: return OnColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_PAINT: OnPaint(); return 0;
    case WM_CLOSE: Unload(); return 0;
    default: return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

HWND AboutWindow::Label(const wchar_t* text, float l, float t, float w, float h, HFONT font,
                        DWORD style) {
  HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style,
                               TwipsToPixels(l, dpi_), TwipsToPixels(t, dpi_),
                               TwipsToPixels(w, dpi_), TwipsToPixels(h, dpi_), hwnd_, nullptr,
                               instance_, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return label;
}

void AboutWindow::OnCreate() {
  dpi_ = DpiOf(hwnd_);
  font_.Reset(CreateTahoma(8.4f, dpi_));
  productFont_.Reset(CreateTahoma(15.6f, dpi_, true));
  creditFont_.Reset(CreateTahoma(14.4f, dpi_, true, true));
  secondCreditFont_.Reset(CreateTahoma(12.0f, dpi_));

  // The focus order: "&Close", "&Web site", "&Email me", then the read-me text.
  struct Button {
    int index;
    const wchar_t* caption;
    float left, width;
  } buttons[] = {{0, L"&Close", 3540, 1275}, {2, L"&Web site", 1440, 1155},
                 {1, L"&Email me", 180, 1155}};
  for (const Button& b : buttons) {
    HWND h = CreateWindowExW(0, L"BUTTON", b.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                             TwipsToPixels(b.left, dpi_), TwipsToPixels(3420, dpi_),
                             TwipsToPixels(b.width, dpi_), TwipsToPixels(375, dpi_), hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdButton0 + b.index)),
                             instance_, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    buttons_[static_cast<std::size_t>(b.index)] = h;
  }
  std::wstring readMe = Widen(about::kReadMe);
  readMe_ = CreateWindowExW(0, L"EDIT", readMe.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                                ES_AUTOVSCROLL | ES_WANTRETURN,
                            TwipsToPixels(180, dpi_), TwipsToPixels(2400, dpi_),
                            TwipsToPixels(4632, dpi_), TwipsToPixels(912, dpi_), hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdReadMe)), instance_,
                            nullptr);
  SendMessageW(readMe_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

  // Labels: the product line lies in front of the white banner, which runs past the right edge.
  product_ = Label(Widen(about::kProduct).c_str(), 240, 0, 4032, 372, productFont_.Get());
  banner_ = Label(L"", 0, 0, 5088, 432, font_.Get());
  credit_ = Label(Widen(about::kCredit).c_str(), 300, 660, 2265, 345, creditFont_.Get(),
                  SS_LEFTNOWORDWRAP);
  secondCredit_ = Label(Widen(about::kSecondCredit).c_str(), 2700, 720, 1095, 285,
                        secondCreditFont_.Get(), SS_LEFTNOWORDWRAP);
  Label(Widen(about::kAddress).c_str(), 360, 1080, 1992, 612, font_.Get());
  Label((L"Email: " + Widen(about::kEmail)).c_str(), 360, 1800, 2412, 252, font_.Get(),
        SS_LEFTNOWORDWRAP);
  Label((L"Web: " + Widen(about::kWeb)).c_str(), 360, 2040, 3012, 252, font_.Get(),
        SS_LEFTNOWORDWRAP);
  SetWindowPos(banner_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowLongW(banner_, GWL_STYLE, GetWindowLongW(banner_, GWL_STYLE) | WS_CLIPSIBLINGS);

  toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
  std::wstring tips[3] = {L"Closes the window", Widen(about::kEmail), Widen(about::kWeb)};
  for (std::size_t i = 0; i < 3; ++i) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(buttons_[i]);
    info.lpszText = tips[i].data();
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  SetFocus(buttons_[0]);
}

LRESULT AboutWindow::OnColour(HDC dc, HWND control) {
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
  // The white rule under the banner.
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 0, TwipsToPixels(540, dpi_), nullptr);
  LineTo(dc, TwipsToPixels(5085, dpi_), TwipsToPixels(540, dpi_));
  SelectObject(dc, old);
  DeleteObject(pen);
  EndPaint(hwnd_, &ps);
}

bool AboutWindow::PreTranslate(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    form_.Commandbtn_Click(0);  // Escape closes, as "&Close" does
    return true;
  }
  // Tab order, Enter on a button, access keys: the dialog manager does these well.
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

}  // namespace vorn::win
