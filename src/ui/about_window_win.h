// The About window: the product line, the author's credits and addresses, a read-me text, and
// buttons that write the author an e-mail, open the web site or close the window. One at a
// time; closing it discards it, and the next one starts afresh.
#pragma once

#include <windows.h>

#include <array>

#include "core/layout.h"
#include "core/notes_view.h"
#include "platform/handles_win.h"
#include "ui/child_win.h"
#include "ui/window_base_win.h"
#include "ui/window_colours_win.h"
#include "ui/window_ids.h"

namespace vorn::ui {

class AboutWindow : public WindowBase<AboutWindow>, public AboutBox {
 public:
  static constexpr const wchar_t* kClassName = kAboutWindowClass;
  static void DescribeClass(WNDCLASSEXW& wc);

  explicit AboutWindow(HINSTANCE instance) : instance_(instance) {}
  ~AboutWindow() { Destroy(); }

  // Shows the window, creating it first when there is none.
  void Open() override;
  bool PreTranslate(MSG& msg) { return PreTranslateDialogKeys(msg); }

 private:
  friend class WindowBase<AboutWindow>;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCreate();
  void Scale(UINT dpi);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnCommand(int id);
  LRESULT OnColour(HDC dc, HWND control);
  void FillClient(HDC dc);
  void OnPaint();
  HWND Label(const char* text, const TwipsRect& place, const win::Font& font, DWORD style = 0);

  HINSTANCE instance_;
  UINT dpi_ = 96;
  win::Font font_, productFont_, creditFont_, secondCreditFont_;
  win::Brush black_, white_;
  DesignedPlaces places_;
  WindowColours colours_;
  HWND banner_ = nullptr, product_ = nullptr, credit_ = nullptr, secondCredit_ = nullptr;
  HWND readMe_ = nullptr, closeButton_ = nullptr;
};

}  // namespace vorn::ui
