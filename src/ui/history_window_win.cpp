#include "ui/history_window_win.h"

#include <string>

#include "core/utf.h"
#include "platform/dpi_win.h"
#include "platform/text_win.h"
#include "ui/child_win.h"
#include "ui/window_placement_win.h"

namespace vorn::ui {

namespace {

// The window's client area and its controls, in twips.
constexpr TwipsRect kClient{0, 0, 8400, 5400};
constexpr TwipsRect kListPlace{120, 120, 3300, 4680};
constexpr TwipsRect kPreviewPlace{3540, 120, 4740, 4680};
constexpr TwipsRect kRestorePlace{5580, 4920, 1320, 375};
constexpr TwipsRect kClosePlace{6960, 4920, 1320, 375};

// A version's time in the user's time zone: "2026-12-09 14:15:22".
std::wstring LocalTime(std::int64_t utcMillis) {
  std::int64_t ticks = utcMillis * 10000 + 116444736000000000LL;
  FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME universal{}, local{};
  FileTimeToSystemTime(&utc, &universal);
  SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
  auto two = [](WORD n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return win::Widen(std::to_string(local.wYear) + "-" + two(local.wMonth) + "-" + two(local.wDay) +
                    " " + two(local.wHour) + ":" + two(local.wMinute) + ":" + two(local.wSecond));
}

std::wstring FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find_first_of("\r\n"));
  std::wstring wide = win::Widen(line);
  return wide.size() > 60 ? wide.substr(0, 60) + L"..." : wide;
}

}  // namespace

void HistoryWindow::DescribeClass(WNDCLASSEXW& wc) {
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

void HistoryWindow::Open(int pad) {
  pad_ = pad;
  if (!hwnd_ && !CreateFor(instance_, kSmallWindowExStyle, L"", kSmallWindowStyle,
                           SmallWindowRect(owner_, kClient, false), owner_)) {
    return;
  }
  SetWindowTextW(hwnd_, win::Widen("History of Doc #" + std::to_string(pad)).c_str());
  FillList();
  BringForward(hwnd_, list_);
}

LRESULT HistoryWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT result; colours_.Answer(hwnd_, msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
    case DM_GETDEFID: return MAKELRESULT(kHistoryRestore, DC_HASDEFID);
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
    default: return Default(msg, wp, lp);
  }
}

void HistoryWindow::OnCreate() {
  list_ = CreateChild(hwnd_, kHistoryList, L"LISTBOX", nullptr,
                      WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                      nullptr, WS_EX_CLIENTEDGE);
  preview_ = CreatePlainTextBox(
      hwnd_, kHistoryPreview,
      WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, nullptr);
  restore_ = CreateChild(hwnd_, kHistoryRestore, L"BUTTON", L"&Restore",
                         WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, nullptr);
  HWND close = CreateChild(hwnd_, kHistoryClose, L"BUTTON", L"&Close",
                           WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, nullptr);
  places_.Add(list_, font_, kListPlace);
  places_.Add(preview_, font_, kPreviewPlace);
  places_.Add(restore_, font_, kRestorePlace);
  places_.Add(close, font_, kClosePlace);
  Scale(win::DpiOf(hwnd_));
  colours_.Start(hwnd_);
}

void HistoryWindow::Scale(UINT dpi) {
  font_.Reset(CreateTahoma(8.4f, dpi));
  places_.PlaceAll(dpi);
}

void HistoryWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  Scale(dpi);
  MoveToSuggested(hwnd_, suggested);
}

void HistoryWindow::FillList() {
  versions_ = model_->Versions(pad_);
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  for (const Version& version : versions_) {
    std::string text = model_->VersionText(pad_, version);
    std::wstring item = LocalTime(version.utcMillis) + L"   " +
                        win::Widen(std::to_string(Utf16Length(text))) + L" characters   " +
                        FirstLine(text);
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendMessageW(list_, LB_SETCURSEL, 0, 0);  // the newest
  EnableWindow(restore_, !versions_.empty());
  ShowSelected();
}

void HistoryWindow::ShowSelected() {
  LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  std::wstring text;
  if (selected >= 0 && static_cast<std::size_t>(selected) < versions_.size()) {
    text = ControlForm<wchar_t>(
        model_->VersionText(pad_, versions_[static_cast<std::size_t>(selected)]));
  }
  SetWindowTextW(preview_, text.c_str());
}

void HistoryWindow::RestoreSelected() {
  LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<std::size_t>(selected) >= versions_.size()) return;
  Version version = versions_[static_cast<std::size_t>(selected)];
  int pad = pad_;
  Destroy();
  model_->Restore(pad, version);
}

void HistoryWindow::OnCommand(int id, int code) {
  switch (id) {
    case kHistoryList:
      if (code == LBN_SELCHANGE) ShowSelected();
      if (code == LBN_DBLCLK) RestoreSelected();
      break;
    case kHistoryRestore: RestoreSelected(); break;
    case kHistoryClose:
    case IDCANCEL: Destroy(); break;
  }
}

}  // namespace vorn::ui
