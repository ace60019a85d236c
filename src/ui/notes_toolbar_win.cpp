#include "ui/notes_toolbar_win.h"

#include <algorithm>
#include <cstdlib>
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

// The options report to the toolbar, their parent; the notes window handles everything. The
// bar keeps the system's ground in every mode: its pictures are drawn in black.
LRESULT CALLBACK ForwardToOwner(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                DWORD_PTR owner) {
  if (msg == WM_COMMAND) return SendMessageW(reinterpret_cast<HWND>(owner), msg, wp, lp);
  if (msg == WM_ERASEBKGND) {
    RECT r{};
    GetClientRect(hwnd, &r);
    FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// The buttons' names, which are their tips but for Print's.
struct ButtonName {
  int id;
  const wchar_t* name;
} constexpr kButtonNames[] = {{kPrintButton, L"Print"},
                              {kCutButton, L"Cut"},
                              {kCopyButton, L"Copy"},
                              {kPasteButton, L"Paste"}};

// The pictures are drawn for 100, 125, 150 and 200 % screens; a window takes the size nearest
// to its resolution (the larger one when two are as near), never one stretched.
struct PictureSize {
  int side;
  int resource;
} constexpr kPictureSizes[] = {
    {16, IDB_TOOLBAR16}, {20, IDB_TOOLBAR20}, {24, IDB_TOOLBAR24}, {32, IDB_TOOLBAR32}};

PictureSize NearestPictures(UINT dpi) {
  int wanted = MulDiv(16, static_cast<int>(dpi), 96);
  PictureSize best = kPictureSizes[0];
  for (const PictureSize& size : kPictureSizes) {
    if (std::abs(size.side - wanted) <= std::abs(best.side - wanted)) best = size;
  }
  return best;
}

}  // namespace

void NotesToolbar::Create(HWND parent, HFONT font, HFONT topFont, UINT dpi) {
  // Placed by the window at its designed height, without the divider line above it, so that
  // the options sit where they were designed.
  bar_ = CreateChild(parent, kToolBar, TOOLBARCLASSNAMEW, L"Toolbar",
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
  PictureSize size = NearestPictures(dpi);
  int side = size.side;
  win::ImageList list(ImageList_Create(side, side, ILC_COLOR24 | ILC_MASK, 4, 0));
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(bar_, GWLP_HINSTANCE));
  // Run-length compressed: loaded as a bitmap of the screen's kind, not as a DIB section.
  win::Bitmap pictures(static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(size.resource), IMAGE_BITMAP, 0, 0, 0)));
  ImageList_AddMasked(list.Get(), pictures.Get(), RGB(192, 192, 192));  // the ground
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
  for (const ButtonName& button : kButtonNames) {
    if (info.hdr.idFrom != static_cast<UINT_PTR>(button.id)) continue;
    info.lpszText = const_cast<wchar_t*>(button.id == kPrintButton ? L"" : button.name);
    return true;
  }
  return false;
}

void NotesToolbar::Name(win::AccessibleNames& names) const {
  names.Name(bar_, L"Toolbar");
  for (const ButtonName& button : kButtonNames) {
    // The bar's items are its buttons and separators in order, counted from 1.
    LRESULT index = SendMessageW(bar_, TB_COMMANDTOINDEX, static_cast<WPARAM>(button.id), 0);
    if (index >= 0) names.Name(bar_, button.name, static_cast<long>(index) + 1);
  }
}

}  // namespace vorn::ui
