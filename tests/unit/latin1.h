// Latin-1 stands in for the system code page in tests of pad file decoding.
#pragma once

#include <string>
#include <string_view>

inline std::string Latin1(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}
