#include "ui/pad_control_win.h"

#include <richedit.h>

#include "core/text_pieces.h"
#include "ui/child_win.h"
#include "platform/text_win.h"

namespace vorn::ui {

namespace {

// A piece of up to 16K characters and 256 lines goes into the control in some 15 ms, so a pad
// filled in the background never holds up the user's input for longer than that.
constexpr std::size_t kPiece = 16 * 1024;
constexpr std::size_t kPieceLines = 256;

// Messages that neither show, read nor change the text of a pad.
bool LeavesTextAlone(HWND pad, UINT msg, WPARAM wp) {
  switch (msg) {
    case WM_NULL:
    case WM_MOVE:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_NCCALCSIZE:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
    case WM_SETFONT:
    case WM_GETFONT:
    case WM_DESTROY:
    case WM_NCDESTROY: return true;
    case WM_SHOWWINDOW:  // shown in a window that is itself hidden, it is still not seen
      return !wp || !IsWindowVisible(GetParent(pad));
    default: return false;
  }
}

const wchar_t* RichEditClass() {
  if (LoadLibraryW(L"msftedit.dll")) return MSFTEDIT_CLASS;
  LoadLibraryW(L"riched20.dll");
  return RICHEDIT_CLASSW;
}

// Sends the control messages with its change notification off: filling a pad is no change.
class QuietControl {
 public:
  QuietControl(HWND hwnd, bool& inside) : hwnd_(hwnd), inside_(inside) {
    inside_ = true;
    mask_ = SendMessageW(hwnd_, EM_GETEVENTMASK, 0, 0);
    SendMessageW(hwnd_, EM_SETEVENTMASK, 0, 0);
  }
  QuietControl(const QuietControl&) = delete;
  QuietControl& operator=(const QuietControl&) = delete;
  ~QuietControl() {
    SendMessageW(hwnd_, EM_SETEVENTMASK, 0, mask_);
    inside_ = false;
  }
  LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) const { return SendMessageW(hwnd_, msg, wp, lp); }

 private:
  HWND hwnd_;
  bool& inside_;
  LRESULT mask_ = 0;
};

}  // namespace

PadControl::~PadControl() {
  if (hwnd_ && original_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  }
}

void PadControl::Create(HWND parent, int id) {
  // Created hidden, as all pads but the shown one stay: a hidden control moves and resizes at
  // half the cost.
  hwnd_ = CreateChild(parent, id, RichEditClass(), L"",
                      WS_CLIPSIBLINGS | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                          ES_WANTRETURN | ES_NOHIDESEL,
                      nullptr, WS_EX_CLIENTEDGE);
  SendMessageW(hwnd_, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(hwnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);  // the default stops at 32K characters
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_CHARSET;
  format.yHeight = 170;  // 8.5 points
  format.bCharSet = DEFAULT_CHARSET;
  lstrcpynW(format.szFaceName, L"Tahoma", LF_FACESIZE);
  SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  SendMessageW(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE);
  // A window procedure of our own in front of the control's. Not the comctl32 subclass
  // helpers: under Wine they made each message to a pad cost some 0.1 ms, and a keystroke
  // sends a pad several.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PadControl::Guard)));
}

LRESULT CALLBACK PadControl::Guard(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* pad = reinterpret_cast<PadControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!pad || !pad->original_) return DefWindowProcW(hwnd, msg, wp, lp);
  WNDPROC original = pad->original_;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    pad->hwnd_ = nullptr;
  } else if (pad->Filling() && !pad->inside_ && !LeavesTextAlone(hwnd, msg, wp)) {
    pad->FillAll();
  }
  return CallWindowProcW(original, hwnd, msg, wp, lp);
}

bool PadControl::Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void PadControl::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

std::string PadControl::Text() const {
  GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
  LRESULT n = SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  get.flags = GT_USECRLF;
  get.codepage = 1200;  // UTF-16
  LRESULT got = SendMessageW(hwnd_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                             reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return win::Narrow(text);
}

void PadControl::SetText(std::string_view text) {
  {
    QuietControl control(hwnd_, inside_);
    SETTEXTEX how{ST_DEFAULT, 1200};
    control.Send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(L""));
  }
  pending_ = win::Widen(text);
  filled_ = 0;
  if (IsWindowVisible(hwnd_)) FillAll();
}

bool PadControl::FillStep() {
  if (!Filling()) return false;
  std::wstring_view all(pending_);
  std::size_t end = NextPieceEnd(all, filled_, kPiece, kPieceLines);
  std::wstring piece(all.substr(filled_, end - filled_));
  {
    QuietControl control(hwnd_, inside_);
    // At the end of what is in (a position past the end stands for the end), without undo.
    control.Send(EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    control.Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
  }
  filled_ = end;
  if (!Filling()) Finish();
  return Filling();
}

void PadControl::FillAll() {
  while (FillStep()) {
  }
}

void PadControl::Finish() {
  // As after setting the text at once: the caret at the start, in view, and nothing to undo.
  {
    QuietControl control(hwnd_, inside_);
    control.Send(EM_SETSEL, 0, 0);
    control.Send(EM_SCROLLCARET, 0, 0);
    control.Send(EM_EMPTYUNDOBUFFER, 0, 0);
  }
  std::wstring().swap(pending_);
  filled_ = 0;
}

std::string PadControl::Selection() const {
  CHARRANGE range{};
  SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  if (range.cpMax <= range.cpMin) return {};
  std::wstring text(static_cast<std::size_t>(range.cpMax - range.cpMin) + 1, L'\0');
  LRESULT n = SendMessageW(hwnd_, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  // The control keeps a line break as CR alone; give it back as CR LF, as Text() does.
  std::wstring crlf;
  crlf.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    crlf += text[i];
    if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n')) crlf += L'\n';
  }
  return win::Narrow(crlf);
}

void PadControl::ReplaceAll(std::string_view text) {
  SendMessageW(hwnd_, EM_SETSEL, 0, -1);
  ReplaceSelection(text);
}

void PadControl::ReplaceSelection(std::string_view text) {
  std::wstring wide = win::Widen(text);
  SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace vorn::ui
