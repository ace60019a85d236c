// Links handed to the shell, which opens them with the user's mail program or web browser.
#pragma once

#include <string_view>

namespace vorn::win {

// ShellExecuteA's default action on the link, in the system's code page. The program does not
// wait for the program that opens it, nor learn whether one did.
void OpenLink(std::string_view link);

}  // namespace vorn::win
