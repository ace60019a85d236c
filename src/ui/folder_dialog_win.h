// The system's folder picker for the pads' folder, over the notes window.
#pragma once

#include <windows.h>

#include "core/notes_view.h"

namespace vorn::ui {

class FolderPicker : public FolderDialog {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  std::optional<std::string> ChooseFolder(std::string_view current,
                                          std::string_view programFolder) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace vorn::ui
