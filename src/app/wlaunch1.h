// Wlaunch1: small procedures any window may call.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// "" when the program's folder already ends in a backslash (a drive's root), "\" otherwise,
// so that folder + getSlash() ends in exactly one backslash.
std::string getSlash(std::string_view programFolder);

}  // namespace vorn
