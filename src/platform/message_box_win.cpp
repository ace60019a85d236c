#include "platform/message_box_win.h"

#include "platform/text_win.h"

namespace vorn::win {

void WinMessageBox::Show(std::string_view text, std::string_view title) {
  MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_OK);
}

}  // namespace vorn::win
