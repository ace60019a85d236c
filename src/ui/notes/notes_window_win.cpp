#include "ui/notes/notes_window_win.h"

#include <richedit.h>
#include <windowsx.h>

#include <cwctype>
#include <iterator>

#include "../../../res/resource.h"
#include "app/app_win.h"

namespace vorn::win {

namespace {

constexpr wchar_t kNotesClass[] = L"VornNotesMain";
constexpr wchar_t kPanelClass[] = L"VornNotesPanel";
constexpr wchar_t kCaption[] = L"Vorn Notes - by Kalvo";

enum : int {
  kIdPrint = 101, kIdCut, kIdCopy, kIdPaste,
  kIdChkTop = 201, kIdChkRegistry,
  kIdCommand1 = 301, kIdCommand3, kIdCommand2,
  kIdTabStrip = 401,
  kIdPad1 = 501,
  kIdToolBar = 601, kIdStatusBar, kIdPicture2,
};

// The designed client area of the window, in twips on the screen.
constexpr float kDesignLeft = 3036, kDesignTop = 1812, kDesignWidth = 6216, kDesignHeight = 5028;

const wchar_t* const kIndicatorText[3] = {L"CAPS", L"NUM", L"INS"};
constexpr int kIndicatorKey[3] = {VK_CAPITAL, VK_NUMLOCK, VK_INSERT};
constexpr float kIndicatorWidth[3] = {600, 600, 700};  // twips
constexpr float kFirstPanelMinimum = 1440;

// Children of the toolbar and of the button panel report to them; the notes window handles
// everything, so they pass it on.
LRESULT CALLBACK ForwardToOwner(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                DWORD_PTR owner) {
  if (msg == WM_COMMAND || msg == WM_DRAWITEM) {
    return SendMessageW(reinterpret_cast<HWND>(owner), msg, wp, lp);
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) return SendMessageW(GetParent(hwnd), msg, wp, lp);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool IsButton(HWND hwnd) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  return lstrcmpiW(cls, L"Button") == 0;
}

const wchar_t* RichEditClass() {
  if (LoadLibraryW(L"msftedit.dll")) return MSFTEDIT_CLASS;
  LoadLibraryW(L"riched20.dll");
  return RICHEDIT_CLASSW;
}

}  // namespace

NotesWindow::NotesWindow(HINSTANCE instance)
    : instance_(instance),
      padSlots_(settings_, [this] { return logic_ ? logic_->Location() : ""; }),
      about_(instance) {}

NotesWindow::~NotesWindow() {
  if (images_) ImageList_Destroy(images_);
}

bool NotesWindow::Create() {
  bigIcon_.Reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_VORNNOTES), IMAGE_ICON,
                                               0, 0, LR_DEFAULTSIZE)));
  smallIcon_.Reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_VORNNOTES),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0)));
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = WindowProc<NotesWindow>;
  wc.hInstance = instance_;
  wc.hIcon = bigIcon_.Get();
  wc.hIconSm = smallIcon_.Get();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kNotesClass;
  RegisterClassExW(&wc);

  WNDCLASSEXW panel{sizeof panel};
  panel.lpfnWndProc = PanelProc;
  panel.hInstance = instance_;
  panel.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  panel.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  panel.lpszClassName = kPanelClass;
  RegisterClassExW(&panel);

  // The designed client rectangle on the screen, grown by the frame to the outer rectangle.
  dpi_ = DpiOf(nullptr);
  RECT r{TwipsToPixels(kDesignLeft, dpi_), TwipsToPixels(kDesignTop, dpi_), 0, 0};
  r.right = r.left + TwipsToPixels(kDesignWidth, dpi_);
  r.bottom = r.top + TwipsToPixels(kDesignHeight, dpi_);
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&r, style, FALSE, 0);

  if (!CreateWindowExW(0, kNotesClass, kCaption, style, r.left, r.top, r.right - r.left,
                       r.bottom - r.top, nullptr, nullptr, instance_, this)) {
    return false;
  }
  logic_->Form_Load();
  return true;
}

LRESULT NotesWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SIZE: OnSize(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp)); return TRUE;
    case WM_ACTIVATE: OnActivate(wp); return 0;
    case WM_SETFOCUS: FocusActiveControl(); return 0;
    case WM_CLOSE: Unload(CloseReason()); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: if (wp) Unload(kUnloadEndSession); return 0;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wp), *reinterpret_cast<RECT*>(lp)); return 0;
    case WM_SHOWWINDOW:
      // The pad about to be seen holds all its text before the window appears.
      if (wp) {
        for (WinPad& pad : pads_) {
          if (pad.Visible()) pad.FillAll();
        }
      }
      return DefWindowProcW(hwnd_, msg, wp, lp);
    default: return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

// ---- Creation ----------------------------------------------------------------------------

HWND NotesWindow::CreateChild(DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style,
                              HWND parent, int id) {
  HWND h = CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return h;
}

void NotesWindow::OnCreate() {
  dpi_ = DpiOf(hwnd_);
  form_.Attach(hwnd_, [this] { FocusActiveControl(); });
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  CreateFonts();
  CreateToolbar();
  CreateTabsAndPads();
  CreateButtonPanel();
  CreateStatusBar();
  CreateToolTips();

  tray_ = std::make_unique<TrayWindow>(
      instance_, form_, [this] { return bigIcon_.Get(); },
      [this](std::int16_t reason) { Unload(reason); });
  NotesControls controls{form_, toolBar_, chkTop_, chkRegistry_, {}, picture2_, statusBar_,
                         tabStrip_};
  for (int i = 0; i < kPadCount; ++i) controls.txtText[i] = &pads_[i];
  messageBox_.Attach(hwnd_);
  clipboard_.Attach(hwnd_);
  NotesServices services{settings_,  padSlots_, *tray_, zOrder_, process_, messageBox_,
                         clipboard_, printer_,  about_, ProgramFolder};
  logic_ = std::make_unique<frmVornNotes>(controls, services);
}

void NotesWindow::CreateFonts() {
  font_.Reset(CreateTahoma(8.4f, dpi_));
  topFont_.Reset(CreateTahoma(7.8f, dpi_));
}

void NotesWindow::CreateToolbar() {
  HWND bar = CreateChild(0, TOOLBARCLASSNAMEW, nullptr,
                         WS_VISIBLE | WS_CLIPCHILDREN | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
                         hwnd_, kIdToolBar);
  toolBar_.Attach(bar);
  SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

  TBBUTTON buttons[6] = {};
  buttons[0].fsStyle = BTNS_SEP;
  buttons[1] = {0, kIdPrint, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  buttons[2].fsStyle = BTNS_SEP;
  buttons[3] = {1, kIdCut, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  buttons[4] = {2, kIdCopy, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  buttons[5] = {3, kIdPaste, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  SendMessageW(bar, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  ApplyToolbarMetrics();
  SendMessageW(bar, TB_AUTOSIZE, 0, 0);
  SetWindowSubclass(bar, ForwardToOwner, 1, reinterpret_cast<DWORD_PTR>(hwnd_));

  // The two options sit on the toolbar, to the right of the last button.
  chkTopHwnd_ = CreateChild(0, L"BUTTON", L"&Top", WS_VISIBLE | WS_TABSTOP | BS_3STATE, bar,
                            kIdChkTop);
  SendMessageW(chkTopHwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(topFont_.Get()), FALSE);
  chkTop_.Attach(chkTopHwnd_);
  chkTopPlace_.Attach(chkTopHwnd_);
  chkTopPlace_.Place(1320, 15, 492, 260);

  chkRegistryHwnd_ = CreateChild(0, L"BUTTON", L"Store in &Registry",
                                 WS_VISIBLE | WS_TABSTOP | BS_3STATE, bar, kIdChkRegistry);
  chkRegistry_.Attach(chkRegistryHwnd_);
  chkRegistry_.SetValue(1);  // designed ticked
  chkRegistryPlace_.Attach(chkRegistryHwnd_);
  chkRegistryPlace_.Place(1920, 40, 1815, 255);
}

void NotesWindow::ApplyToolbarMetrics() {
  HWND bar = toolBar_.Hwnd();
  int side = MulDiv(16, static_cast<int>(dpi_), 96);
  HIMAGELIST list = ImageList_Create(side, side, ILC_COLOR24 | ILC_MASK, 4, 0);
  Bitmap strip(static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(IDB_TOOLBAR),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (side != 16 && strip) {
    // Pixel pictures are scaled without smoothing so that they stay crisp.
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    Bitmap scaled(CreateCompatibleBitmap(screen, side * 4, side));
    HGDIOBJ oldFrom = SelectObject(from, strip.Get());
    HGDIOBJ oldTo = SelectObject(to, scaled.Get());
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, side * 4, side, from, 0, 0, 64, 16, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    strip = std::move(scaled);
  }
  ImageList_AddMasked(list, strip.Get(), RGB(192, 192, 192));
  SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  if (images_) ImageList_Destroy(images_);
  images_ = list;
  // Buttons of 276 x 264 twips: the pictures with a thin border, so that the four buttons and
  // the separators end where the "&Top" check box begins.
  SendMessageW(bar, TB_SETPADDING, 0, MAKELPARAM(2, 2));
  SendMessageW(bar, TB_SETBUTTONSIZE, 0,
               MAKELPARAM(std::max(side + 2, TwipsToPixels(276, dpi_)),
                          std::max(side + 2, TwipsToPixels(264, dpi_))));
}

void NotesWindow::CreateTabsAndPads() {
  const wchar_t* richEdit = RichEditClass();
  for (int i = 0; i < kPadCount; ++i) {
    // Created hidden, as the start-up sequence leaves all but one: a hidden control moves
    // and resizes at half the cost.
    HWND pad = CreateChild(WS_EX_CLIENTEDGE, richEdit, L"",
                           WS_CLIPSIBLINGS | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                               ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                           hwnd_, kIdPad1 + i);
    SendMessageW(pad, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
    SendMessageW(pad, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);  // the default stops at 32K characters
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_CHARSET;
    format.yHeight = 170;  // 8.5 points
    format.bCharSet = DEFAULT_CHARSET;
    lstrcpynW(format.szFaceName, L"Tahoma", LF_FACESIZE);
    SendMessageW(pad, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageW(pad, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageW(pad, EM_SETEVENTMASK, 0, ENM_CHANGE);
    pads_[i].Attach(pad);
  }

  HWND tabs = CreateChild(0, WC_TABCONTROLW, nullptr, WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                          hwnd_, kIdTabStrip);
  for (int i = 0; i < kPadCount; ++i) {
    std::wstring caption = L"Doc #" + Widen(std::to_string(i + 1));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  tabStrip_.Attach(tabs);
  tabStrip_.Place(60, 480, 4995, 3135);
  // The pads lie in front of the tab strip.
  SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void NotesWindow::CreateButtonPanel() {
  HWND panel = CreateChild(WS_EX_CONTROLPARENT, kPanelClass, nullptr,
                           WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, hwnd_, kIdPicture2);
  picture2_.Attach(panel);
  picture2_.Place(60, 4200, 2856, 312);

  struct Button {
    HWND& hwnd;
    ChildControl& place;
    const wchar_t* caption;
    int id;
    float left, width;
  } buttons[] = {
      {command1_, command1Place_, L"&About", kIdCommand1, 0, 855},
      {command3_, command3Place_, L"&Hide", kIdCommand3, 900, 855},
      {command2_, command2Place_, L"&End", kIdCommand2, 2040, 795},
  };
  for (Button& b : buttons) {
    b.hwnd = CreateChild(0, L"BUTTON", b.caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, panel,
                         b.id);
    b.place.Attach(b.hwnd);
    b.place.Place(b.left, 0, b.width, 315);
  }
}

void NotesWindow::CreateStatusBar() {
  HWND bar = CreateChild(0, STATUSCLASSNAMEW, nullptr, WS_VISIBLE | SBARS_SIZEGRIP, hwnd_,
                         kIdStatusBar);
  statusBar_.Attach(bar);
  LayoutStatusPanels();
  UpdateIndicators();
}

void NotesWindow::CreateToolTips() {
  toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
  SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, static_cast<int>(dpi_), 96));
  struct Tip {
    HWND control;
    const wchar_t* text;
  } tips[] = {
      {chkTopHwnd_, L"Make this window the top-most window"},
      {chkRegistryHwnd_,
       L"Data will/will-not be saved in the registry from now (default is the program path)"},
      {command1_, L"Displays Information about the author and Vorn Notes"},
      {command3_, L"Hides the window (ESC does the same)"},
      {command2_, L"Ends the application (to hide press ESC)"},
  };
  for (Tip& t : tips) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(t.control);
    info.uId = reinterpret_cast<UINT_PTR>(t.control);
    info.lpszText = const_cast<wchar_t*>(t.text);
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// ---- Layout ------------------------------------------------------------------------------

void NotesWindow::LayoutStatusPanels() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  int fixed = 0;
  for (float w : kIndicatorWidth) fixed += TwipsToPixels(w, dpi_);
  int first = std::max(TwipsToPixels(kFirstPanelMinimum, dpi_), static_cast<int>(client.right) - fixed);
  int edges[4] = {first, first + TwipsToPixels(kIndicatorWidth[0], dpi_), 0, -1};
  edges[2] = edges[1] + TwipsToPixels(kIndicatorWidth[1], dpi_);
  SendMessageW(statusBar_.Hwnd(), SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  for (int i = 0; i < 3; ++i) {
    if (indicators_[i] >= 0) {
      SendMessageW(statusBar_.Hwnd(), SB_SETTEXTW, static_cast<WPARAM>(i + 1) | SBT_OWNERDRAW,
                   indicators_[i]);
    }
  }
}

void NotesWindow::OnSize() {
  // The docked bars follow the client width by themselves once told of the new size.
  if (toolBar_.Hwnd()) SendMessageW(toolBar_.Hwnd(), TB_AUTOSIZE, 0, 0);
  if (statusBar_.Hwnd()) {
    SendMessageW(statusBar_.Hwnd(), WM_SIZE, 0, 0);
    LayoutStatusPanels();
  }
  if (logic_) logic_->Form_Resize();
}

void NotesWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  CreateFonts();
  for (HWND h : {chkRegistryHwnd_, command1_, command2_, command3_, tabStrip_.Hwnd(),
                 statusBar_.Hwnd()}) {
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
  }
  SendMessageW(chkTopHwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(topFont_.Get()), TRUE);
  ApplyToolbarMetrics();
  for (ChildControl* c : {&chkTopPlace_, &chkRegistryPlace_, &command1Place_, &command2Place_,
                          &command3Place_, &picture2_, static_cast<ChildControl*>(&tabStrip_)}) {
    c->Rescale();
  }
  for (WinPad& pad : pads_) pad.Rescale();
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Commands and notifications ----------------------------------------------------------

void NotesWindow::Toggle(WinCheckBox& box) {
  // A click ticks an unticked or greyed box and clears a ticked one.
  box.SetValue(box.Value() == 1 ? 0 : 1);
}

void NotesWindow::OnCommand(int id, int code) {
  switch (id) {
    case kIdChkTop:
      if (code == BN_CLICKED) {
        Toggle(chkTop_);
        logic_->chkTop_Click();
      }
      break;
    case kIdChkRegistry:
      if (code == BN_CLICKED) Toggle(chkRegistry_);  // read again at each load and write
      break;
    case kIdPrint: logic_->ToolBar1_ButtonClick("print"); break;
    case kIdCut: logic_->ToolBar1_ButtonClick("cut"); break;
    case kIdCopy: logic_->ToolBar1_ButtonClick("copy"); break;
    case kIdPaste: logic_->ToolBar1_ButtonClick("paste"); break;
    case kIdCommand1: logic_->Command1_Click(); break;
    case kIdCommand2: logic_->Command2_Click(); break;
    case kIdCommand3: logic_->Command3_Click(); break;
    default:
      if (id >= kIdPad1 && id < kIdPad1 + kPadCount && code == EN_CHANGE) {
        logic_->txtText_Change(static_cast<std::int16_t>(id - kIdPad1 + 1));
      }
      break;
  }
}

LRESULT NotesWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == tabStrip_.Hwnd()) {
    if (header.code == TCN_SELCHANGING) {
      std::int16_t cancel = 0;
      logic_->TabStrip1_BeforeClick(cancel);
      return cancel != 0;
    }
    if (header.code == TCN_SELCHANGE) logic_->TabStrip1_Click();
    return 0;
  }
  if (header.code == TTN_GETDISPINFOW && header.hwndFrom != toolTips_) {
    // Tool tips of the toolbar buttons; the print button has none.
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    switch (info.hdr.idFrom) {
      case kIdCut: info.lpszText = const_cast<wchar_t*>(L"Cut"); break;
      case kIdCopy: info.lpszText = const_cast<wchar_t*>(L"Copy"); break;
      case kIdPaste: info.lpszText = const_cast<wchar_t*>(L"Paste"); break;
      default: info.lpszText = const_cast<wchar_t*>(L""); break;
    }
    return 0;
  }
  return DefWindowProcW(hwnd_, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void NotesWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != statusBar_.Hwnd() || item.itemID < 1 || item.itemID > 3) return;
  // An indicator panel: its word in the text colour when the key is on, greyed when off.
  RECT r = item.rcItem;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(item.itemData ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  HGDIOBJ old = SelectObject(item.hDC, font_.Get());
  DrawTextW(item.hDC, kIndicatorText[item.itemID - 1], -1, &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(item.hDC, old);
}

void NotesWindow::UpdateIndicators() {
  for (int i = 0; i < 3; ++i) {
    int on = (GetKeyState(kIndicatorKey[i]) & 1) ? 1 : 0;
    if (on == indicators_[i]) continue;
    indicators_[i] = on;
    SendMessageW(statusBar_.Hwnd(), SB_SETTEXTW, static_cast<WPARAM>(i + 1) | SBT_OWNERDRAW, on);
  }
}

// ---- Focus, keyboard and ending ----------------------------------------------------------

bool NotesWindow::FillPadsStep() {
  // The pad in view first, then the others in order.
  for (bool inView : {true, false}) {
    for (WinPad& pad : pads_) {
      if (pad.Filling() && (!inView || pad.Visible())) {
        pad.FillStep();
        return AnyPadFilling();
      }
    }
  }
  return false;
}

bool NotesWindow::AnyPadFilling() const {
  for (const WinPad& pad : pads_) {
    if (pad.Filling()) return true;
  }
  return false;
}

HWND NotesWindow::VisiblePad() const {
  for (const WinPad& pad : pads_) {
    if (pad.Visible()) return pad.Hwnd();
  }
  return nullptr;
}

void NotesWindow::OnActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  UpdateIndicators();  // the keys may have changed while another window had the keyboard
  if (!IsIconic(hwnd_)) FocusActiveControl();
}

void NotesWindow::FocusActiveControl() {
  HWND target = lastFocus_;
  if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
    target = VisiblePad();
  }
  SetFocus(target ? target : hwnd_);
}

bool NotesWindow::MoveFocus(bool backwards) {
  // The keyboard order of the window: "&End", "&About", "Store in &Registry", the tab strip,
  // the pads, "&Top", "&Hide". Hidden pads are passed over.
  std::vector<HWND> order{command2_, command1_, chkRegistryHwnd_, tabStrip_.Hwnd()};
  for (const WinPad& pad : pads_) order.push_back(pad.Hwnd());
  order.push_back(chkTopHwnd_);
  order.push_back(command3_);

  HWND focus = GetFocus();
  int n = static_cast<int>(order.size());
  int at = -1;
  for (int i = 0; i < n; ++i) {
    if (order[i] == focus || IsChild(order[i], focus)) at = i;
  }
  for (int step = 1; step <= n; ++step) {
    int i = at < 0 ? (backwards ? n - step : step - 1)
                   : ((at + (backwards ? -step : step)) % n + n) % n;
    if (IsWindowVisible(order[i]) && IsWindowEnabled(order[i])) {
      SetFocus(order[i]);
      if (IsButton(order[i])) SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
      return true;
    }
  }
  return false;
}

bool NotesWindow::HandleAccessKey(wchar_t key) {
  struct Access {
    wchar_t key;
    HWND control;
  } keys[] = {{L't', chkTopHwnd_}, {L'r', chkRegistryHwnd_}, {L'a', command1_},
              {L'h', command3_}, {L'e', command2_}};
  key = static_cast<wchar_t>(std::towlower(key));
  for (const Access& a : keys) {
    if (a.key != key || !IsWindowVisible(a.control) || !IsWindowEnabled(a.control)) continue;
    if (a.control == chkTopHwnd_ || a.control == chkRegistryHwnd_) SetFocus(a.control);
    SendMessageW(a.control, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

bool NotesWindow::PreTranslate(MSG& msg) {
  if (about_.PreTranslate(msg)) return true;
  if (!hwnd_ || !logic_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      // The window sees every key before its controls do; the key still reaches the control.
      std::int16_t key = static_cast<std::int16_t>(msg.wParam);
      std::int16_t shift = static_cast<std::int16_t>(((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) |
                                                     ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
                                                     ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
      logic_->Form_KeyDown(key, shift);
      UpdateIndicators();
      if (msg.wParam == VK_TAB && !(shift & 6)) return MoveFocus(shift & 1);
      return false;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      UpdateIndicators();
      return false;
    case WM_SYSCHAR:
      return HandleAccessKey(static_cast<wchar_t>(msg.wParam));
    case WM_CHAR:
      // On a button or check box a plain letter works as its access key.
      return IsButton(msg.hwnd) && HandleAccessKey(static_cast<wchar_t>(msg.wParam));
    default:
      return false;
  }
}

void NotesWindow::Unload(std::int16_t reason) {
  std::int16_t cancel = 0;
  logic_->Form_QueryUnload(cancel, reason);
}

}  // namespace vorn::win
