#include "ui/notes_toolbar_win.h"

#include <algorithm>
#include <iterator>

#include "res/resource.h"
#include "platform/dpi_win.h"
#include "ui/child_win.h"
#include "ui/window_ids.h"

namespace vorn::ui {

namespace {

// The options' designed places on the toolbar, in twips.
constexpr TwipsRect kTopPlace{1320, 15, 492, 260};
constexpr TwipsRect kStoreInRegistryPlace{1920, 40, 1815, 255};

// The options report to the toolbar, their parent; the notes window handles everything.
LRESULT CALLBACK ForwardToOwner(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                DWORD_PTR owner) {
  if (msg == WM_COMMAND) return SendMessageW(reinterpret_cast<HWND>(owner), msg, wp, lp);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// The toolbar pictures at `side` pixels. Pixel pictures are scaled without smoothing, so that
// they stay crisp.
win::Bitmap Pictures(HINSTANCE instance, int side) {
  win::Bitmap strip(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_TOOLBAR),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (side == 16 || !strip) return strip;
  win::WindowContext screen;
  win::DeviceContext from(CreateCompatibleDC(screen.Get())), to(CreateCompatibleDC(screen.Get()));
  win::Bitmap scaled(CreateCompatibleBitmap(screen.Get(), side * 4, side));
  {
    win::Selection fromStrip(from.Get(), strip.Get()), toScaled(to.Get(), scaled.Get());
    SetStretchBltMode(to.Get(), COLORONCOLOR);
    StretchBlt(to.Get(), 0, 0, side * 4, side, from.Get(), 0, 0, 64, 16, SRCCOPY);
  }
  return scaled;
}

}  // namespace

void NotesToolbar::Create(HWND parent, HFONT font, HFONT topFont, UINT dpi) {
  // Placed by the window at its designed height, without the divider line above it, so that
  // the options sit where they were designed.
  bar_ = CreateChild(parent, kToolBar, TOOLBARCLASSNAMEW, nullptr,
                     WS_VISIBLE | WS_CLIPCHILDREN | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP |
                         CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                     font);
  SendMessageW(bar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBBUTTON buttons[6] = {};
  buttons[0].fsStyle = BTNS_SEP;
  buttons[1] = {0, kPrintButton, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  buttons[2].fsStyle = BTNS_SEP;
  buttons[3] = {1, kCutButton, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  buttons[4] = {2, kCopyButton, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  buttons[5] = {3, kPasteButton, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  SendMessageW(bar_, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  ApplyMetrics(dpi);
  SetWindowSubclass(bar_, ForwardToOwner, 1, reinterpret_cast<DWORD_PTR>(parent));

  top_ = CreateChild(bar_, kTopOption, L"BUTTON", L"&Top", WS_VISIBLE | WS_TABSTOP | BS_3STATE,
                     topFont);
  registry_ = CreateChild(bar_, kStoreInRegistryOption, L"BUTTON", L"Store in &Registry",
                          WS_VISIBLE | WS_TABSTOP | BS_3STATE, font);
  PlaceCaptioned(top_, topFont, kTopPlace, dpi);
  PlaceCaptioned(registry_, font, kStoreInRegistryPlace, dpi);
}

void NotesToolbar::Resize(int width, UINT dpi) {
  SetWindowPos(bar_, nullptr, 0, 0, width, win::TwipsToPixels(kHeight, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void NotesToolbar::ShowOptions(bool top, CheckState storeInRegistry) {
  SendMessageW(top_, BM_SETCHECK, top ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(registry_, BM_SETCHECK, static_cast<WPARAM>(storeInRegistry), 0);
}

void NotesToolbar::SetDpi(UINT dpi, HFONT font, HFONT topFont) {
  SendMessageW(top_, WM_SETFONT, reinterpret_cast<WPARAM>(topFont), TRUE);
  SendMessageW(registry_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ApplyMetrics(dpi);
  PlaceCaptioned(top_, topFont, kTopPlace, dpi);
  PlaceCaptioned(registry_, font, kStoreInRegistryPlace, dpi);
}

void NotesToolbar::ApplyMetrics(UINT dpi) {
  int side = MulDiv(16, static_cast<int>(dpi), 96);
  win::ImageList list(ImageList_Create(side, side, ILC_COLOR24 | ILC_MASK, 4, 0));
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(bar_, GWLP_HINSTANCE));
  win::Bitmap pictures = Pictures(instance, side);
  ImageList_AddMasked(list.Get(), pictures.Get(), RGB(192, 192, 192));
  SendMessageW(bar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list.Get()));
  pictures_ = std::move(list);
  // Buttons of 276 x 264 twips: the pictures with a thin border, so that the four buttons and
  // the separators end where the "&Top" check box begins.
  SendMessageW(bar_, TB_SETPADDING, 0, MAKELPARAM(2, 2));
  SendMessageW(bar_, TB_SETBUTTONSIZE, 0,
               MAKELPARAM(std::max(side + 2, win::TwipsToPixels(276, dpi)),
                          std::max(side + 2, win::TwipsToPixels(264, dpi))));
}

bool NotesToolbar::GiveTip(NMTTDISPINFOW& info) {
  const wchar_t* tip = nullptr;
  switch (info.hdr.idFrom) {
    case kPrintButton: tip = L""; break;
    case kCutButton: tip = L"Cut"; break;
    case kCopyButton: tip = L"Copy"; break;
    case kPasteButton: tip = L"Paste"; break;
    default: return false;
  }
  info.lpszText = const_cast<wchar_t*>(tip);
  return true;
}

}  // namespace vorn::ui
