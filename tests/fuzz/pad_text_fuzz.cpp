// Fuzzes the decoding of pad files and the breaking of text into printed lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/pad_text.h"
#include "core/print_layout.h"
#include "core/utf.h"
#include "../unit/latin1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string text = vorn::DecodePadFile(bytes, Latin1);
  // Whatever the file holds, the pad gets well-formed text, and text we write reads back.
  if (!vorn::IsValidUtf8(text)) std::abort();
  if (vorn::DecodePadFile(vorn::EncodePadFile(text), Latin1) != text) {
    // Only a text that starts with a byte order mark may read differently.
    if (text.rfind("\xEF\xBB\xBF", 0) != 0) std::abort();
  }
  if (size > 0) {
    float width = static_cast<float>(data[0] % 40) * 100.0f;
    auto measure = [](std::string_view s) { return static_cast<float>(s.size()) * 100.0f; };
    std::size_t kept = 0;
    for (const std::string& line : vorn::LayoutLines(text, width, measure)) kept += line.size();
    if (kept > text.size()) std::abort();
  }
  return 0;
}
