#include "app/wlaunch1.h"

namespace vorn {

std::string getSlash(std::string_view programFolder) {
  if (!programFolder.empty() && programFolder.back() == '\\') return "";
  return "\\";
}

}  // namespace vorn
