#include "platform/controls_win.h"

#include <commctrl.h>
#include <richedit.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/geometry.h"
#include "platform/text_chunks.h"
#include "platform/win.h"

namespace vorn::win {

namespace {

int Pick(const RECT& r, TwipsGeometry::Field f) {
  switch (f) {
    case TwipsGeometry::kLeft: return r.left;
    case TwipsGeometry::kTop: return r.top;
    case TwipsGeometry::kWidth: return r.right - r.left;
    case TwipsGeometry::kHeight: return r.bottom - r.top;
  }
  return 0;
}

void Put(RECT& r, TwipsGeometry::Field f, int pixels) {
  switch (f) {
    case TwipsGeometry::kLeft: r.right += pixels - r.left; r.left = pixels; break;
    case TwipsGeometry::kTop: r.bottom += pixels - r.top; r.top = pixels; break;
    case TwipsGeometry::kWidth: r.right = r.left + pixels; break;
    case TwipsGeometry::kHeight: r.bottom = r.top + pixels; break;
  }
}

// Window coordinates are 16-bit on some window systems; anything past that is garbage.
constexpr int kPixelLimit = 32767;

}  // namespace

float TwipsGeometry::Read(Field f, int pixels, UINT dpi) const {
  const Slot& s = slots_[f];
  if (s.set && s.pixels == pixels) return s.twips;
  return static_cast<float>(pixels) * TwipsPerPixel(dpi);
}

int TwipsGeometry::Remember(Field f, float twips, UINT dpi) {
  if ((f == kWidth || f == kHeight) && twips < 0) throw ControlError("Invalid property value");
  float pixels = twips / TwipsPerPixel(dpi);
  if (!std::isfinite(pixels) || std::fabs(pixels) > kPixelLimit) {
    throw ControlError("Invalid property value");
  }
  slots_[f] = {twips, TwipsToPixels(twips, dpi), true};
  return slots_[f].pixels;
}

bool TwipsGeometry::Rescale(Field f, UINT dpi, int& pixels) {
  Slot& s = slots_[f];
  if (!s.set) return false;
  s.pixels = TwipsToPixels(s.twips, dpi);
  pixels = s.pixels;
  return true;
}

// ---- ChildControl ------------------------------------------------------------------------

float TwipsControl::Get(TwipsGeometry::Field f) const {
  return geometry_.Read(f, Pick(CurrentRect(), f), DpiOf(Window()));
}

void TwipsControl::Set(TwipsGeometry::Field f, float twips) {
  int pixels = geometry_.Remember(f, twips, DpiOf(Window()));
  RECT r = CurrentRect();
  Put(r, f, pixels);
  Apply(r, f);
}

RECT ChildControl::CurrentRect() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ChildControl::Apply(const RECT& r, TwipsGeometry::Field f) {
  UINT how = (f == TwipsGeometry::kLeft || f == TwipsGeometry::kTop) ? SWP_NOSIZE : SWP_NOMOVE;
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               how | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChildControl::Place(float left, float top, float width, float height) {
  SetLeft(left);
  SetTop(top);
  SetWidth(width);
  SetHeight(height);
}

void ChildControl::Rescale() {
  RECT r = CurrentRect();
  UINT dpi = DpiOf(hwnd_);
  for (auto f : {TwipsGeometry::kLeft, TwipsGeometry::kTop, TwipsGeometry::kWidth,
                 TwipsGeometry::kHeight}) {
    int pixels = 0;
    if (geometry_.Rescale(f, dpi, pixels)) Put(r, f, pixels);
  }
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ChildControl::Visible() const {
  return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void ChildControl::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

// ---- Check box ---------------------------------------------------------------------------

std::int16_t WinCheckBox::Value() const {
  return static_cast<std::int16_t>(SendMessageW(hwnd_, BM_GETCHECK, 0, 0));
}

void WinCheckBox::SetValue(std::int16_t value) {
  if (value < 0 || value > 2) throw ControlError("Invalid property value");
  SendMessageW(hwnd_, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

// ---- Tab strip ---------------------------------------------------------------------------

std::int16_t WinTabStrip::SelectedIndex() const {
  return static_cast<std::int16_t>(TabCtrl_GetCurSel(hwnd_) + 1);
}

std::int16_t WinTabStrip::TabCount() const {
  return static_cast<std::int16_t>(TabCtrl_GetItemCount(hwnd_));
}

float WinTabStrip::FirstTabHeight() const {
  RECT r{};
  if (!TabCtrl_GetItemRect(hwnd_, 0, &r)) throw ControlError("no first tab");
  return static_cast<float>(r.bottom - r.top) * TwipsPerPixel(DpiOf(hwnd_));
}

// ---- Pad ---------------------------------------------------------------------------------

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
    case WM_NCDESTROY:
      return true;
    case WM_SHOWWINDOW:  // shown in a window that is itself hidden, it is still not seen
      return !wp || !IsWindowVisible(GetParent(pad));
    default:
      return false;
  }
}

// The pads of the process, for their window procedure, which is set directly: under Wine the
// comctl32 subclass helpers made each message to a pad cost some 0.1 ms (a plain window
// procedure costs nothing measurable), and a keystroke's autosave sends a pad two messages.
// Never destroyed: a pad may outlive any static list at the end of the process.
std::vector<WinPad*>& Pads() {
  static auto* pads = new std::vector<WinPad*>;
  return *pads;
}

}  // namespace

WinPad::~WinPad() {
  if (hwnd_ && original_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  }
  std::erase(Pads(), this);
}

void WinPad::Attach(HWND hwnd) {
  ChildControl::Attach(hwnd);
  Pads().push_back(this);
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinPad::Guard)));
}

LRESULT CALLBACK WinPad::Guard(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  WinPad* pad = nullptr;
  for (WinPad* p : Pads()) {
    if (p->hwnd_ == hwnd) pad = p;
  }
  if (!pad || !pad->original_) return DefWindowProcW(hwnd, msg, wp, lp);
  if (pad->Filling() && !pad->inside_ && !LeavesTextAlone(hwnd, msg, wp)) pad->FillAll();
  return CallWindowProcW(pad->original_, hwnd, msg, wp, lp);
}

std::string WinPad::Text() const {
  GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
  LRESULT n = SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  get.flags = GT_USECRLF;
  get.codepage = 1200;
  LRESULT got = SendMessageW(hwnd_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                             reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return Narrow(text);
}

void WinPad::SetText(std::string_view text) {
  std::wstring wide = Widen(text);
  inside_ = true;
  LRESULT mask = SendMessageW(hwnd_, EM_GETEVENTMASK, 0, 0);
  SendMessageW(hwnd_, EM_SETEVENTMASK, 0, 0);
  SETTEXTEX how{ST_DEFAULT, 1200};
  SendMessageW(hwnd_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
               reinterpret_cast<LPARAM>(L""));
  SendMessageW(hwnd_, EM_SETEVENTMASK, 0, mask);
  inside_ = false;
  pending_ = std::move(wide);
  filled_ = 0;
  if (IsWindowVisible(hwnd_)) FillAll();
  // The change event, once, as the control raises it when its text is set.
  if (mask & ENM_CHANGE) {
    SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), EN_CHANGE),
                 reinterpret_cast<LPARAM>(hwnd_));
  }
}

bool WinPad::FillStep() {
  if (!Filling()) return false;
  std::wstring_view all(pending_);
  std::size_t end = NextPieceEnd(all, filled_, kPiece, kPieceLines);
  std::wstring piece(all.substr(filled_, end - filled_));
  inside_ = true;
  LRESULT mask = SendMessageW(hwnd_, EM_GETEVENTMASK, 0, 0);
  SendMessageW(hwnd_, EM_SETEVENTMASK, 0, 0);
  // At the end of what is in (a position past the end stands for the end), without undo.
  SendMessageW(hwnd_, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
  SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
  SendMessageW(hwnd_, EM_SETEVENTMASK, 0, mask);
  inside_ = false;
  filled_ = end;
  if (!Filling()) Finish();
  return Filling();
}

void WinPad::FillAll() {
  while (FillStep()) {
  }
}

void WinPad::Finish() {
  // As after setting the text at once: the caret at the start, in view, and nothing to undo.
  inside_ = true;
  SendMessageW(hwnd_, EM_SETSEL, 0, 0);
  SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
  SendMessageW(hwnd_, EM_EMPTYUNDOBUFFER, 0, 0);
  inside_ = false;
  std::wstring().swap(pending_);
  filled_ = 0;
}

std::string WinPad::SelText() const {
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
  return Narrow(crlf);
}

void WinPad::ReplaceSel(std::string_view text) {
  std::wstring wide = Widen(text);
  SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

// ---- Status bar --------------------------------------------------------------------------

void WinStatusBar::SetPanelText(int panel, std::string_view text) {
  std::wstring wide = Widen(text);
  SendMessageW(hwnd_, SB_SETTEXTW, static_cast<WPARAM>(panel - 1),
               reinterpret_cast<LPARAM>(wide.c_str()));
}

// ---- The top-level window ----------------------------------------------------------------

namespace {

// GetWindowPlacement works in workspace coordinates: screen coordinates less the space that
// a taskbar at the top or left of the monitor takes.
POINT WorkspaceOffset(HWND hwnd) {
  MONITORINFO mi{sizeof mi};
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
  return {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
}

bool Parked(HWND hwnd) { return IsIconic(hwnd) || IsZoomed(hwnd); }

}  // namespace

RECT WinForm::CurrentRect() const {
  RECT r{};
  if (!Parked(hwnd_)) {
    GetWindowRect(hwnd_, &r);
    return r;
  }
  WINDOWPLACEMENT wp{sizeof wp};
  GetWindowPlacement(hwnd_, &wp);
  POINT off = WorkspaceOffset(hwnd_);
  r = wp.rcNormalPosition;
  OffsetRect(&r, off.x, off.y);
  return r;
}

void WinForm::Apply(const RECT& r, TwipsGeometry::Field) {
  if (!Parked(hwnd_)) {
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  WINDOWPLACEMENT wp{sizeof wp};
  GetWindowPlacement(hwnd_, &wp);
  POINT off = WorkspaceOffset(hwnd_);
  wp.rcNormalPosition = r;
  OffsetRect(&wp.rcNormalPosition, -off.x, -off.y);
  wp.showCmd = IsWindowVisible(hwnd_) ? (IsIconic(hwnd_) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED)
                                      : SW_HIDE;
  SetWindowPlacement(hwnd_, &wp);
}

bool WinForm::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }

void WinForm::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

float WinForm::ScaleWidth() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return static_cast<float>(r.right) * TwipsPerPixel(DpiOf(hwnd_));
}

float WinForm::ScaleHeight() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return static_cast<float>(r.bottom) * TwipsPerPixel(DpiOf(hwnd_));
}

void WinForm::SetFocus() {
  SetForegroundWindow(hwnd_);
  if (focusActiveControl_) focusActiveControl_();
}

void WinForm::KeepReachable() {
  RECT r = CurrentRect();
  if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return;
  MONITORINFO mi{sizeof mi};
  GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi);
  vorn::PixelRect moved = MoveInto({r.left, r.top, r.right, r.bottom},
                                   {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom});
  Apply({moved.left, moved.top, moved.right, moved.bottom}, TwipsGeometry::kLeft);
}

}  // namespace vorn::win
