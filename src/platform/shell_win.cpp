#include "platform/shell_win.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/text_win.h"

namespace vorn::win {

void OpenLink(std::string_view link) {
  std::string narrow = FromUtf16(Widen(link), CP_ACP);
  ShellExecuteA(nullptr, nullptr, narrow.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vorn::win
