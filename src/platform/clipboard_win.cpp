#include "platform/clipboard_win.h"

#include <cstring>

#include "platform/handles_win.h"
#include "platform/text_win.h"

namespace vorn::win {

namespace {

// The clipboard, open for the life of this object. Another program may hold it for a moment,
// so opening waits a little before it gives up.
class OpenClipboardSession {
 public:
  explicit OpenClipboardSession(HWND owner) {
    for (int tries = 0; tries < 20; ++tries) {
      if (OpenClipboard(owner)) return;
      Sleep(10);
    }
    throw PlatformError(
        "The clipboard is in use by another program, so nothing was copied or "
        "pasted. Try again in a moment.");
  }
  OpenClipboardSession(const OpenClipboardSession&) = delete;
  OpenClipboardSession& operator=(const OpenClipboardSession&) = delete;
  ~OpenClipboardSession() { CloseClipboard(); }
};

// Global memory locked for the life of this object.
template <class T>
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL memory)
      : memory_(memory), data_(static_cast<T*>(GlobalLock(memory))) {}
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  ~GlobalLockGuard() {
    if (data_) GlobalUnlock(memory_);
  }
  T* Data() const { return data_; }

 private:
  HGLOBAL memory_;
  T* data_;
};

}  // namespace

void WinClipboard::SetText(std::string_view text) {
  std::wstring wide = Widen(text);
  std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) throw PlatformError(ErrorText(GetLastError()));
  {
    GlobalLockGuard<wchar_t> lock(memory.Get());
    if (!lock.Data()) throw PlatformError(ErrorText(GetLastError()));
    std::memcpy(lock.Data(), wide.c_str(), bytes);
  }
  OpenClipboardSession session(owner_);
  // Taking ownership is what lets other programs (and the X clipboard under Wine) see the text.
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, memory.Get())) {
    throw PlatformError(ErrorText(GetLastError()));
  }
  memory.Detach();  // the clipboard owns it now
}

std::string WinClipboard::Text() {
  OpenClipboardSession session(owner_);
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  GlobalLockGuard<const wchar_t> lock(data);
  if (!lock.Data()) return {};
  return Narrow(
      std::wstring_view(lock.Data(), wcsnlen(lock.Data(), GlobalSize(data) / sizeof(wchar_t))));
}

}  // namespace vorn::win
