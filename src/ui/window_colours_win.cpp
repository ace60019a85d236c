#include "ui/window_colours_win.h"

#include <commctrl.h>
#include <richedit.h>
#include "platform/appearance_win.h"
#include "platform/system_library_win.h"

namespace vorn::ui {

namespace {

// The dark mode's colours, near those Windows' own dark surfaces use.
constexpr COLORREF kDarkGround = RGB(32, 32, 32);
constexpr COLORREF kDarkBox = RGB(25, 25, 25);
constexpr COLORREF kDarkText = RGB(230, 230, 230);

// Themes' library, loaded when first asked for rather than with the exe: from the system's
// folder, never from beside the exe.
void SetWindowTheme(HWND window, const wchar_t* name, const wchar_t* parts) {
  using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto set = win::SystemFunction<SetTheme>(L"uxtheme.dll", "SetWindowTheme");
  if (set) set(window, name, parts);
}

bool IsOfClass(HWND window, const wchar_t* name) {
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  return lstrcmpiW(cls, name) == 0;
}

BOOL CALLBACK DressChild(HWND child, LPARAM dark) {
  // A toolbar keeps its light ground, and what lies on it its look.
  if (IsOfClass(GetParent(child), TOOLBARCLASSNAMEW)) return TRUE;
  if (IsOfClass(child, L"Button")) {
    LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
    bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    // A themed check box draws its caption in the theme's dark text whatever its parent says,
    // so in dark mode it goes without a theme, in the colours its parent gives.
    if (push) {
      SetWindowTheme(child, dark ? L"DarkMode_Explorer" : nullptr, nullptr);
    } else {
      SetWindowTheme(child, dark ? L"" : nullptr, dark ? L"" : nullptr);
    }
  } else if (IsOfClass(child, MSFTEDIT_CLASS) || IsOfClass(child, RICHEDIT_CLASSW)) {
    ColourTextBox(child, dark != 0);
  } else if (IsOfClass(child, L"ListBox")) {
    SetWindowTheme(child, dark ? L"DarkMode_Explorer" : nullptr, nullptr);  // its scroll bar
  }
  return TRUE;
}

}  // namespace

bool DarkModeWanted() { return win::AppModeDark() && !win::HighContrastOn(); }

void ColourTextBox(HWND box, bool dark) {
  // The control's change notifications stay off: the text is the same.
  LRESULT mask = SendMessageW(box, EM_SETEVENTMASK, 0, 0);
  SendMessageW(box, EM_SETBKGNDCOLOR, dark ? 0 : 1, dark ? kDarkBox : 0);
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_COLOR;
  format.dwEffects = dark ? 0 : CFE_AUTOCOLOR;
  format.crTextColor = kDarkText;
  SendMessageW(box, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  SendMessageW(box, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  SendMessageW(box, EM_SETEVENTMASK, 0, mask);
}

bool WindowColours::Answer(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (!Erase(reinterpret_cast<HDC>(wp))) return false;
      result = 1;
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: result = ColourControl(reinterpret_cast<HDC>(wp)); return result != 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      if (win::IsAppearanceChange(msg, lp) && Follow()) Dress(window);
      return false;
    default: return false;
  }
}

bool WindowColours::Follow() {
  bool dark = DarkModeWanted();
  if (dark == dark_) return false;
  dark_ = dark;
  ground_.Reset(dark ? CreateSolidBrush(kDarkGround) : nullptr);
  return true;
}

void WindowColours::Dress(HWND window) const {
  win::UseDarkTitleBar(window, dark_);
  EnumChildWindows(window, DressChild, dark_);
  RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  win::RepaintTitleBar(window);
}

bool WindowColours::Erase(HDC dc) const {
  if (!dark_) return false;
  RECT r{};
  GetClipBox(dc, &r);
  FillRect(dc, &r, ground_.Get());
  return true;
}

LRESULT WindowColours::ColourControl(HDC dc) const {
  if (!dark_) return 0;
  SetTextColor(dc, kDarkText);
  SetBkColor(dc, kDarkGround);
  return reinterpret_cast<LRESULT>(ground_.Get());
}

}  // namespace vorn::ui
