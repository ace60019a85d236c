#include "ui/find_window_win.h"

#include <string>

#include "platform/dpi_win.h"
#include "platform/text_win.h"
#include "ui/child_win.h"
#include "ui/window_placement_win.h"

namespace vorn::ui {

namespace {

// The window's client area and its controls, in twips.
constexpr TwipsRect kClient{0, 0, 5520, 1140};
constexpr TwipsRect kLabelPlace{120, 180, 960, 255};
constexpr TwipsRect kWhatPlace{1140, 120, 2760, 315};
constexpr TwipsRect kMatchCasePlace{1140, 600, 1680, 255};
constexpr TwipsRect kNextPlace{4080, 120, 1320, 375};
constexpr TwipsRect kClosePlace{4080, 600, 1320, 375};

}  // namespace

void FindTextWindow::DescribeClass(WNDCLASSEXW& wc) {
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
}

void FindTextWindow::Open(std::string_view what, bool matchCase) {
  // Over the lower part of the pad, where a match near its top stays in sight.
  if (!hwnd_ && !CreateFor(instance_, kSmallWindowExStyle, L"Find", kSmallWindowStyle,
                           SmallWindowRect(owner_, kClient, true), owner_)) {
    return;
  }
  SetWindowTextW(what_, win::Widen(what).c_str());
  SendMessageW(what_, EM_SETSEL, 0, -1);
  SendMessageW(matchCase_, BM_SETCHECK, matchCase ? BST_CHECKED : BST_UNCHECKED, 0);
  BringForward(hwnd_, what_);
}

LRESULT FindTextWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT result; colours_.Answer(hwnd_, msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) OnCommand(LOWORD(wp));
      return 0;
    case DM_GETDEFID: return MAKELRESULT(kFindNextButton, DC_HASDEFID);
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
    default: return Default(msg, wp, lp);
  }
}

void FindTextWindow::OnCreate() {
  // Created in the focus order; the label's access key reaches the box after it.
  HWND label = CreateChild(hwnd_, -1, L"STATIC", L"Fi&nd what:", WS_VISIBLE, nullptr);
  what_ = CreatePlainTextBox(hwnd_, kFindWhat, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, nullptr);
  matchCase_ = CreateChild(hwnd_, kFindMatchCase, L"BUTTON", L"Match &case",
                           WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, nullptr);
  HWND next = CreateChild(hwnd_, kFindNextButton, L"BUTTON", L"Find &Next",
                          WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, nullptr);
  HWND close = CreateChild(hwnd_, kFindCloseButton, L"BUTTON", L"&Close",
                           WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, nullptr);
  places_.Add(label, font_, kLabelPlace, true);
  places_.Add(what_, font_, kWhatPlace);
  places_.Add(matchCase_, font_, kMatchCasePlace, true);
  places_.Add(next, font_, kNextPlace, true);
  places_.Add(close, font_, kClosePlace, true);
  Scale(win::DpiOf(hwnd_));
  colours_.Start(hwnd_);
}

void FindTextWindow::Scale(UINT dpi) {
  font_.Reset(CreateTahoma(8.4f, dpi));
  places_.PlaceAll(dpi);
}

void FindTextWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  Scale(dpi);
  MoveToSuggested(hwnd_, suggested);
}

void FindTextWindow::OnCommand(int id) {
  switch (id) {
    case IDOK:
    case kFindNextButton: {
      int n = GetWindowTextLengthW(what_);
      std::wstring what(static_cast<std::size_t>(n) + 1, L'\0');
      what.resize(static_cast<std::size_t>(GetWindowTextW(what_, what.data(), n + 1)));
      if (what.empty()) return;
      model_->FindNext(win::Narrow(what),
                       SendMessageW(matchCase_, BM_GETCHECK, 0, 0) == BST_CHECKED);
      break;
    }
    case kFindCloseButton:
    case IDCANCEL: Destroy(); break;
  }
}

}  // namespace vorn::ui
