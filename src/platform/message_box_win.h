// Message boxes over the notes window: OK only, no icon.
#pragma once

#include <windows.h>

#include "core/notes_view.h"

namespace vorn::win {

class WinMessageBox : public MessageDialog {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void Show(std::string_view text, std::string_view title) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace vorn::win
