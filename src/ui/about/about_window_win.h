// The About window (Infofrm) as a Win32 window: created when shown, destroyed by "&Close".
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "platform/win.h"
#include "ui/about/infofrm.h"

namespace vorn::win {

// ShellExecuteA with the link in the system's code page; the result is not looked at.
class WindowsShell : public Shell {
 public:
  void Execute(std::string_view link) override;
};

class AboutWindow : public AboutHost {
 public:
  explicit AboutWindow(HINSTANCE instance);
  ~AboutWindow() override;
  bool Loaded() const override { return hwnd_ != nullptr; }
  void Load() override;
  void Unload() override;
  void Present() override;
  // Tab order and access keys while the window has the keyboard.
  bool PreTranslate(MSG& msg);

 private:
  template <class T>
  friend LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCreate();
  LRESULT OnColour(HDC dc, HWND control);
  void OnPaint();
  HWND Label(const wchar_t* text, float l, float t, float w, float h, HFONT font, DWORD style = 0);

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  WindowsShell shell_;
  Infofrm form_;
  Font font_, productFont_, creditFont_, secondCreditFont_;
  Owned<HBRUSH, DeleteGdi> black_, white_;
  HWND banner_ = nullptr, product_ = nullptr, credit_ = nullptr, secondCredit_ = nullptr;
  HWND readMe_ = nullptr, toolTips_ = nullptr;
  std::array<HWND, 3> buttons_{};  // Commandbtn(0), (1), (2)
};

}  // namespace vorn::win
