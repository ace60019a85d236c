#include "ui/pad_control_win.h"

#include <richedit.h>

#include <imm.h>

#include <utility>

#include "core/utf.h"
#include "core/window_settings.h"
#include "core/text_pieces.h"
#include "ui/child_win.h"
#include "ui/window_colours_win.h"
#include "platform/dpi_win.h"
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
    case EM_GETEVENTMASK:
    case EM_SETEVENTMASK:
    case EM_SETBKGNDCOLOR:
    case EM_SETCHARFORMAT:  // the colours, applied to the text still to come too
    // Drawn as far as it is filled: text taken in from elsewhere appears piece by piece while
    // the window goes on answering.
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_DESTROY:
    case WM_NCDESTROY: return true;
    case WM_SHOWWINDOW:  // shown in a window that is itself hidden, it is still not seen
      return !wp || !IsWindowVisible(GetParent(pad));
    default: return false;
  }
}

// The key a message brings whose edit the copy can follow without reading the whole text: a
// character typed, or Backspace or Delete (Ctrl+Backspace comes as character 0x7F).
std::optional<KeyEdit> FollowedKey(UINT msg, WPARAM wp) {
  if (msg == WM_KEYDOWN) {
    if (wp == VK_BACK || wp == VK_DELETE) return KeyEdit::Deleted;
  } else if (msg == WM_CHAR) {
    if (wp == 0x08 || wp == 0x7F) return KeyEdit::Deleted;
    if (wp >= 0x20 || wp == '\r' || wp == '\n' || wp == '\t') return KeyEdit::Typed;
  }
  return std::nullopt;
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
  // Text an input method is still composing raises changes too, so that it is stored as it is
  // shown.
  LRESULT options = SendMessageW(hwnd_, EM_GETLANGOPTIONS, 0, 0);
  SendMessageW(hwnd_, EM_SETLANGOPTIONS, 0, options | IMF_IMEALWAYSSENDNOTIFY);
  // A window procedure of our own in front of the control's. Not the comctl32 subclass
  // helpers: under Wine they made each message to a pad cost some 0.1 ms, and a keystroke
  // sends a pad several.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PadControl::Guard)));
  SetEditable(editable_);
  SetZoom(zoom_);
  if (dark_) ColourTextBox(hwnd_, true);
  std::string text;
  text.swap(held_);
  SetText(text);
}

// The pad's own settings leave its text alone: they pass the guard while a fill goes on, with
// whatever the control sends itself on the way (a control made read-only may read and set its
// own options).
void PadControl::SetZoom(int percent) {
  zoom_ = percent;
  if (!hwnd_) return;
  bool outer = std::exchange(inside_, true);
  ZoomRatio ratio = PadZoom(percent, dpi_, win::SystemDpi());
  SendMessageW(hwnd_, EM_SETZOOM, static_cast<WPARAM>(ratio.numerator), ratio.denominator);
  inside_ = outer;
}

void PadControl::SetDpi(UINT dpi) {
  dpi_ = dpi;
  SetZoom(zoom_);
}

void PadControl::SetEditable(bool editable) {
  editable_ = editable;
  if (!hwnd_) return;
  bool outer = std::exchange(inside_, true);
  SendMessageW(hwnd_, EM_SETREADONLY, editable ? FALSE : TRUE, 0);
  inside_ = outer;
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
  std::optional<KeyEdit> key = FollowedKey(msg, wp);
  if (!pad->mirrored_ || pad->inside_ || !key) return CallWindowProcW(original, hwnd, msg, wp, lp);
  CHARRANGE selection{};
  CallWindowProcW(original, hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  Edit outer = pad->edit_;
  pad->edit_ = {
      true,
      *key,
      {static_cast<std::size_t>(selection.cpMin), static_cast<std::size_t>(selection.cpMax)}};
  LRESULT result = CallWindowProcW(original, hwnd, msg, wp, lp);
  pad->edit_ = outer;
  return result;
}

bool PadControl::Visible() const {
  return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void PadControl::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

std::optional<ShownEdit> PadControl::TakeEdit() {
  if (!mirrored_) return std::nullopt;
  return mirror_.TakeEdit();
}

std::string PadControl::Text() const { return mirrored_ ? mirror_.Utf8() : held_; }

std::u16string PadControl::Content() const {
  return mirrored_ ? mirror_.Text() : ControlForm(held_);
}

std::size_t PadControl::ControlLength() const {
  GETTEXTLENGTHEX length{GTL_PRECISE | GTL_NUMCHARS, 1200};
  LRESULT n = SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

// [start, end) of what the control holds, a line break as CR alone; `end` past the text stands
// for its end.
std::wstring PadControl::ControlText(std::size_t start, std::size_t end) const {
  if (end <= start) return {};
  std::wstring text(end - start + 1, L'\0');
  TEXTRANGEW range{{static_cast<LONG>(start), static_cast<LONG>(end)}, text.data()};
  LRESULT got = SendMessageW(hwnd_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

void PadControl::TextChanged() {
  if (!mirrored_) {
    // Only a change that came past the window procedure (text services, UI Automation, a drop)
    // finds the pad still filling: the rest goes in after it, and the copy reads it all.
    if (Filling()) {
      changedWhileFilling_ = true;
      FillAll();
    }
    return;
  }
  std::size_t length = ControlLength();
  if (edit_.open) {
    edit_.open = false;  // a second change in the same message is read whole
    CHARRANGE after{};
    SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&after));
    std::optional<PadEdit> edit = mirror_.GuessEdit(edit_.key, edit_.selection, length,
                                                    static_cast<std::size_t>(after.cpMax));
    if (edit) {
      TextSpan span = mirror_.SpanToRead(*edit, length);
      std::wstring read = ControlText(span.start, span.end);
      if (mirror_.Apply(*edit, length,
                        {reinterpret_cast<const char16_t*>(read.data()), read.size()})) {
        return;
      }
    }
  }
  ReadWholeText(length);
}

void PadControl::ReadWholeText(std::size_t length) {
  std::wstring all = ControlText(0, length);
  mirror_.Reset(std::u16string(reinterpret_cast<const char16_t*>(all.data()), all.size()));
}

std::optional<std::string> PadControl::CheckCopy(bool whole) {
  if (!mirrored_) return std::nullopt;  // while filling, the control holds only part of it
  std::size_t length = ControlLength();
  if (!whole && length == mirror_.Length()) return std::nullopt;
  std::wstring all = ControlText(0, length);
  std::u16string_view shown(reinterpret_cast<const char16_t*>(all.data()), all.size());
  if (shown == mirror_.Text()) return std::nullopt;
  std::string copy = mirror_.Utf8();
  mirror_.Reset(std::u16string(shown));
  return copy;
}

void PadControl::CompleteComposition() {
  if (!hwnd_) return;
  if (HIMC context = ImmGetContext(hwnd_)) {
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(hwnd_, context);
  }
}

void PadControl::SetText(std::string_view text, bool fillShownAtOnce) {
  if (!hwnd_) {
    held_ = text;
    return;
  }
  taken_.open = false;
  // Much text is taken out in pieces from its end: all at once, some systems' control needs
  // time that grows with the square of its lines.
  std::wstring removing;
  if (mirrored_ && mirror_.Length() > kPiece) {
    removing.assign(mirror_.Text().begin(), mirror_.Text().end());
  } else {
    QuietControl control(hwnd_, inside_);
    SETTEXTEX how{ST_DEFAULT, 1200};
    control.Send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(L""));
  }
  // The text given goes in with its own line breaks after all the control holds: the control
  // counts a CR LF as one.
  StartFill(text, 0, std::move(removing), kAtEnd, win::Widen(text));
  if (Filling() && fillShownAtOnce && IsWindowVisible(hwnd_)) FillAll();
}

bool PadControl::FillStep() {
  if (!Filling()) return false;
  QuietControl control(hwnd_, inside_);
  // Without undo; the selection stays where it was.
  CHARRANGE selection{};
  control.Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  if (removeLeft_ > 0) {
    // What goes out, from its end.
    std::size_t start = PreviousPieceStart<wchar_t>(removing_, removeLeft_, kPiece, kPieceLines);
    control.Send(EM_SETSEL, removeAt_ + start, removeAt_ + removeLeft_);
    control.Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    removeLeft_ = start;
    if (!removeLeft_) std::wstring().swap(removing_);
  } else {
    // What comes in, at its place (a position past the end stands for the end).
    std::wstring_view all(pending_);
    std::size_t end = NextPieceEnd(all, filled_, kPiece, kPieceLines);
    std::wstring piece(all.substr(filled_, end - filled_));
    const WPARAM at = fillAt_ == kAtEnd ? 0x7FFFFFFF : fillAt_ + filled_;
    control.Send(EM_SETSEL, at, at);
    control.Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
    filled_ = end;
  }
  control.Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  if (!Filling()) EndFill();
  return Filling();
}

void PadControl::FillAll() {
  while (FillStep()) {
  }
}

void PadControl::EndFill() {
  // As after setting the text at once: the caret at the start, in view, and nothing to undo;
  // unless the user changed the pad meanwhile, whose caret and undo stay as they are. Text
  // taken in from elsewhere keeps the selection with the text it was in.
  if (taken_.open && !changedWhileFilling_) {
    EndTakeIn();
  } else if (!changedWhileFilling_) {
    QuietControl control(hwnd_, inside_);
    control.Send(EM_SETSEL, 0, 0);
    control.Send(EM_SCROLLCARET, 0, 0);
    control.Send(EM_EMPTYUNDOBUFFER, 0, 0);
  }
  changedWhileFilling_ = false;
  taken_.open = false;
  std::wstring().swap(pending_);
  filled_ = 0;
  // From now on the copy follows the control, from what the control made of the text.
  std::string().swap(held_);
  mirrored_ = true;
  edit_.open = false;
  ReadWholeText(ControlLength());
}

TextSpan PadControl::SelectedSpan() const {
  CHARRANGE range{};
  SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return {static_cast<std::size_t>(range.cpMin), static_cast<std::size_t>(range.cpMax)};
}

void PadControl::SelectSpan(TextSpan span) {
  SendMessageW(hwnd_, EM_SETSEL, span.start, span.end);
  SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

std::string PadControl::Selection() const {
  CHARRANGE range{};
  SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  if (range.cpMax <= range.cpMin) return {};
  std::wstring text(static_cast<std::size_t>(range.cpMax - range.cpMin) + 1, L'\0');
  LRESULT n = SendMessageW(hwnd_, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  // The control keeps a line break as CR alone; give it back as CR LF, as Text() does.
  return Utf8FromUtf16<wchar_t>(text, true);
}

void PadControl::ReplaceAll(std::string_view text) {
  SendMessageW(hwnd_, EM_SETSEL, 0, -1);
  ReplaceSelection(text);
}

// Only the stretch that differs is replaced: the control's time grows faster than the text it
// is given, and a change elsewhere is mostly a few lines. A long stretch goes in in pieces as a
// new text does, after the old one is taken out.
void PadControl::TakeText(std::string_view text) {
  if (!hwnd_ || !mirrored_) return SetText(text);  // nothing to keep yet
  std::u16string after = ControlForm(text);
  const PadEdit change = EditBetween(mirror_.Text(), after);
  CHARRANGE selection{};
  SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  taken_ = {true,
            {PositionAfter(change, static_cast<std::size_t>(selection.cpMin)),
             PositionAfter(change, static_cast<std::size_t>(selection.cpMax))},
            SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0)};
  std::wstring_view inserted(reinterpret_cast<const wchar_t*>(after.data()) + change.at,
                             change.inserted);
  auto small = [](std::wstring_view stretch) {
    return NextPieceEnd<wchar_t>(stretch, 0, kPiece, kPieceLines) == stretch.size();
  };
  std::wstring_view removed(reinterpret_cast<const wchar_t*>(mirror_.Text().data()) + change.at,
                            change.removed);
  if (small(inserted) && small(removed)) {
    {
      // Goes in at once, and can be undone as typing can.
      QuietControl control(hwnd_, inside_);
      std::wstring put(inserted);
      control.Send(EM_SETSEL, change.at, change.at + change.removed);
      control.Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(put.c_str()));
    }
    EndTakeIn();
    // The copy takes the new text where the control holds what it was given.
    if (ControlLength() == after.size()) {
      mirror_.Reset(std::move(after));
    } else {
      ReadWholeText(ControlLength());
    }
    return;
  }
  // A long stretch goes out and in in pieces while the program waits for input. Nothing of it
  // can be undone.
  SendMessageW(hwnd_, EM_EMPTYUNDOBUFFER, 0, 0);
  StartFill(text, change.at, std::wstring(removed), change.at, std::wstring(inserted));
}

void PadControl::StartFill(std::string_view text, std::size_t removeAt, std::wstring removing,
                           std::size_t fillAt, std::wstring inserting) {
  held_ = text;
  mirrored_ = false;
  changedWhileFilling_ = false;
  removeAt_ = removeAt;
  removing_ = std::move(removing);
  removeLeft_ = removing_.size();
  fillAt_ = fillAt;
  pending_ = std::move(inserting);
  filled_ = 0;
  if (!Filling()) EndFill();
}

// The selection moved with the text it was in, and the same first line in view.
void PadControl::EndTakeIn() {
  if (!taken_.open) return;
  taken_.open = false;
  QuietControl control(hwnd_, inside_);
  CHARRANGE selection{static_cast<LONG>(taken_.selection.start),
                      static_cast<LONG>(taken_.selection.end)};
  control.Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  LRESULT nowFirst = control.Send(EM_GETFIRSTVISIBLELINE, 0, 0);
  control.Send(EM_LINESCROLL, 0, taken_.firstLine - nowFirst);
}

void PadControl::ReplaceSelection(std::string_view text) {
  std::wstring wide = win::Widen(text);
  SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace vorn::ui
