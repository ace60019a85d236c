// Messages over the notes window: a message box that waits for OK, one that asks Yes or No, and
// a notice that comes up beside the user's typing without taking the keyboard from it.
#pragma once

#include <windows.h>

#include <string>

#include "core/notes_view.h"

namespace vorn::ui {

class Messages : public MessageDialog {
 public:
  Messages() = default;
  Messages(const Messages&) = delete;
  Messages& operator=(const Messages&) = delete;
  ~Messages() override;

  void SetOwner(HWND owner) { owner_ = owner; }
  void Show(std::string_view text, std::string_view title) override;
  void Notify(std::string_view text, std::string_view title) override;
  bool Ask(std::string_view text, std::string_view title) override;
  // Enter and Escape on the notice, when the user turns to it.
  bool PreTranslate(MSG& msg);

 private:
  HWND owner_ = nullptr;
  HWND notice_ = nullptr;
  std::wstring noticeText_;  // what the open notice tells
};

}  // namespace vorn::ui
