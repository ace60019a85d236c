#include "ui/messages_win.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/accessible_names_win.h"
#include "platform/dpi_win.h"
#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace vorn::ui {

namespace {

constexpr int kNoticeText = 100;

// A dialog template in memory: the notice's frame, its text and its OK button. The controls'
// places are set when the dialog measures its text.
std::vector<WORD> NoticeTemplate(const std::wstring& title) {
  std::vector<WORD> t;
  auto dword = [&](DWORD d) {
    t.push_back(LOWORD(d));
    t.push_back(HIWORD(d));
  };
  auto text = [&](const std::wstring& s) {
    for (wchar_t c : s) t.push_back(static_cast<WORD>(c));
    t.push_back(0);
  };
  auto align = [&] {
    if (t.size() % 2) t.push_back(0);
  };
  dword(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  // Not the window the keyboard goes to as it appears: keys typed meanwhile stay with the pad.
  // A button on the taskbar, and F6 in the notes window, reach it (NotesWindow::GoToNotice).
  dword(WS_EX_NOACTIVATE | WS_EX_APPWINDOW);
  t.push_back(2);                              // controls
  for (int i = 0; i < 4; ++i) t.push_back(0);  // x, y, cx, cy
  t.push_back(0);                              // no menu
  t.push_back(0);                              // the dialog class
  text(title);
  t.push_back(8);
  text(L"MS Shell Dlg");
  struct Item {
    DWORD style;
    WORD id;
    WORD cls;  // 0x0080 button, 0x0082 static
  } items[] = {{WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kNoticeText, 0x0082},
               {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 0x0080}};
  for (const Item& item : items) {
    align();
    dword(item.style);
    dword(0);
    for (int i = 0; i < 4; ++i) t.push_back(0);
    t.push_back(item.id);
    t.push_back(0xFFFF);
    t.push_back(item.cls);
    text(item.id == IDOK ? L"OK" : L"");
    t.push_back(0);  // no creation data
  }
  return t;
}

// Sizes the notice to its text and puts it over the middle of its owner.
void LayOutNotice(HWND dialog, const std::wstring& text) {
  UINT dpi = win::DpiOf(dialog);
  auto px = [&](int at96) { return MulDiv(at96, static_cast<int>(dpi), 96); };
  HWND label = GetDlgItem(dialog, kNoticeText), ok = GetDlgItem(dialog, IDOK);
  SetWindowTextW(label, text.c_str());
  RECT measured{0, 0, px(360), 0};
  {
    win::WindowContext dc(label);
    win::Selection font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc.Get(), text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  int margin = px(12), buttonWidth = px(80), buttonHeight = px(26);
  int width = std::max<int>(measured.right, buttonWidth) + 2 * margin;
  int height = measured.bottom + buttonHeight + 3 * margin;
  MoveWindow(label, margin, margin, measured.right, measured.bottom, FALSE);
  MoveWindow(ok, width - margin - buttonWidth, measured.bottom + 2 * margin, buttonWidth,
             buttonHeight, FALSE);
  RECT frame{0, 0, width, height};
  win::GrowToFrame(frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)),
                   static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)), win::DpiOf(dialog));
  RECT owner{};
  GetWindowRect(GetWindow(dialog, GW_OWNER), &owner);
  int w = frame.right - frame.left, h = frame.bottom - frame.top;
  SetWindowPos(dialog, HWND_TOP, (owner.left + owner.right - w) / 2,
               (owner.top + owner.bottom - h) / 2, w, h, SWP_NOACTIVATE);
}

INT_PTR CALLBACK NoticeProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      LayOutNotice(dialog, *reinterpret_cast<const std::wstring*>(lp));
      return FALSE;  // the focus stays where the user types
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) DestroyWindow(dialog);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

Messages::~Messages() {
  if (notice_ && IsWindow(notice_)) DestroyWindow(notice_);
}

void Messages::Show(std::string_view text, std::string_view title) {
  MessageBoxW(owner_, win::Widen(text).c_str(), win::Widen(title).c_str(), MB_OK);
}

bool Messages::Ask(std::string_view text, std::string_view title) {
  // No is the answer that loses nothing.
  return MessageBoxW(owner_, win::Widen(text).c_str(), win::Widen(title).c_str(),
                     MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void Messages::Notify(std::string_view text, std::string_view title) {
  std::wstring wide = win::Widen(text);
  // A notice still open is not lost under the next one: the new one tells both, the oldest
  // going first where it would grow too long to read.
  if (notice_ && IsWindow(notice_)) {
    constexpr std::wstring_view kBetween = L"\r\n\r\n";
    wide = noticeText_.find(wide) != std::wstring::npos ? noticeText_
                                                        : noticeText_ + std::wstring(kBetween) + wide;
    for (std::size_t cut; wide.size() > 2000 && (cut = wide.find(kBetween)) != std::wstring::npos;) {
      wide.erase(0, cut + kBetween.size());
    }
    DestroyWindow(notice_);
  }
  noticeText_ = wide;
  std::vector<WORD> dialog = NoticeTemplate(win::Widen(title));
  notice_ = CreateDialogIndirectParamW(
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_, GWLP_HINSTANCE)),
      reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner_, NoticeProc,
      reinterpret_cast<LPARAM>(&wide));
  if (!notice_) return;
  ShowWindow(notice_, SW_SHOWNOACTIVATE);
  win::AnnounceAlert(notice_);  // it does not take the keyboard, so a screen reader is told
}

bool Messages::PreTranslate(MSG& msg) {
  if (!notice_ || !IsWindow(notice_)) return false;
  if (msg.hwnd != notice_ && !IsChild(notice_, msg.hwnd)) return false;
  return IsDialogMessageW(notice_, &msg) != FALSE;
}

}  // namespace vorn::ui
