// The clipboard's text, as Unicode text (the system offers it as plain text too).
#pragma once

#include <windows.h>

#include "core/clipboard.h"

namespace vorn::win {

class WinClipboard : public Clipboard {
 public:
  // The window that owns what the program puts on the clipboard.
  void SetOwner(HWND owner) { owner_ = owner; }
  void SetText(std::string_view text) override;
  std::string Text() override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace vorn::win
