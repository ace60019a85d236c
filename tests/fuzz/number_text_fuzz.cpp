// Fuzzes the reading of stored number text, and the writing of the numbers read back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  double value = vorn::ReadNumber(text);
  if (std::isnan(value)) std::abort();  // text never reads as "not a number"
  (void)vorn::RoundHalfEven(value);
  if (std::isfinite(value) && std::fabs(value) < 3.0e38) {
    float single = static_cast<float>(value);
    std::string written = vorn::NumberText(single);
    // What is written reads back to the same value within seven significant digits.
    double back = vorn::ReadNumber(written);
    if (std::fabs(back - single) > std::fabs(single) * 1e-6 + 1e-30) std::abort();
  }
  return 0;
}
