// Owners of Win32 handles: each handle is released exactly once, by the object that owns it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace vorn::win {

// A move-only owner of one handle, released by `Release`. An empty owner holds H{}.
template <class H, auto Release>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, H{}));
    return *this;
  }
  ~Owned() { Reset(); }

  void Reset(H h = H{}) {
    if (h_) Release(h_);
    h_ = h;
  }
  // Gives up ownership, as when the system takes the handle over.
  H Detach() { return std::exchange(h_, H{}); }
  H Get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }

 private:
  H h_{};
};

inline void CloseKey(HKEY k) { RegCloseKey(k); }
inline void CloseFile(HANDLE h) { CloseHandle(h); }
inline void DeleteGdiObject(HGDIOBJ o) { DeleteObject(o); }
inline void DeleteDeviceContext(HDC dc) { DeleteDC(dc); }
inline void DestroyIconHandle(HICON i) { DestroyIcon(i); }
inline void DestroyImageList(HIMAGELIST l) { ImageList_Destroy(l); }
inline void FreeGlobal(HGLOBAL g) { GlobalFree(g); }
inline void CloseSearch(HANDLE h) { FindClose(h); }
inline void CloseFolderChange(HANDLE h) { FindCloseChangeNotification(h); }
inline void UnregisterDevice(HDEVNOTIFY n) { UnregisterDeviceNotification(n); }

using Key = Owned<HKEY, CloseKey>;
// A file handle; one that failed to open is kept as empty, never as INVALID_HANDLE_VALUE.
using File = Owned<HANDLE, CloseFile>;
using Font = Owned<HFONT, DeleteGdiObject>;
using Bitmap = Owned<HBITMAP, DeleteGdiObject>;
using Brush = Owned<HBRUSH, DeleteGdiObject>;
using Pen = Owned<HPEN, DeleteGdiObject>;
using DeviceContext = Owned<HDC, DeleteDeviceContext>;
using Icon = Owned<HICON, DestroyIconHandle>;
using ImageList = Owned<HIMAGELIST, DestroyImageList>;
using GlobalMemory = Owned<HGLOBAL, FreeGlobal>;
// A FindFirstFileW search; one that failed is kept as empty, never as INVALID_HANDLE_VALUE.
using FileSearch = Owned<HANDLE, CloseSearch>;
// A FindFirstChangeNotificationW watch; one that failed is kept as empty.
using FolderChange = Owned<HANDLE, CloseFolderChange>;
using DeviceNotification = Owned<HDEVNOTIFY, UnregisterDevice>;

// A GDI object selected into a device context for the life of this object.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's device context (the screen's for no window), for measuring and for making
// compatible bitmaps.
class WindowContext {
 public:
  explicit WindowContext(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  WindowContext(const WindowContext&) = delete;
  WindowContext& operator=(const WindowContext&) = delete;
  ~WindowContext() { ReleaseDC(window_, dc_); }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace vorn::win
