// Small helpers shared by the Win32 layer: owned handles, text conversion, error text, DPI.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace vorn::win {

// A move-only owner of one handle, released by `Close`.
template <class H, auto Close>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, H{});
    }
    return *this;
  }
  ~Owned() { Reset(); }
  void Reset(H h = H{}) {
    if (h_) Close(h_);
    h_ = h;
  }
  H Get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }

 private:
  H h_{};
};

inline void CloseKey(HKEY k) { RegCloseKey(k); }
inline void DeleteGdi(HGDIOBJ o) { DeleteObject(o); }
inline void DestroyIconHandle(HICON i) { DestroyIcon(i); }

using Key = Owned<HKEY, CloseKey>;
using Font = Owned<HFONT, DeleteGdi>;
using Bitmap = Owned<HBITMAP, DeleteGdi>;
using Icon = Owned<HICON, DestroyIconHandle>;

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The platform's own description of an error code, without the trailing line break.
std::string ErrorText(DWORD code);

// The logical resolution the window is drawn at (96 when the platform cannot say).
UINT DpiOf(HWND window);
// Twips per pixel: 1440 / dpi, 15 at 96 dpi. The one place twips meet pixels.
inline float TwipsPerPixel(UINT dpi) { return 1440.0f / static_cast<float>(dpi); }
int TwipsToPixels(float twips, UINT dpi);

// The window procedure of a window class T: `this` comes from lpCreateParams at WM_NCCREATE and
// is kept with the handle; each message goes to T::OnMessage. Exceptions never cross into the
// window manager: a failed handler leaves the message to the default procedure.
template <class T>
LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return self->OnMessage(msg, wp, lp);
  } catch (...) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

// A Tahoma font of the given size in points at the given resolution.
HFONT CreateTahoma(float points, UINT dpi, bool bold = false, bool italic = false);

}  // namespace vorn::win
