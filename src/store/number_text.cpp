#include "store/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace vorn {

namespace {

bool IsSkippable(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ReadNumber(std::string_view text) {
  // Gather the characters of the leading number without the skippable ones, then let strtod
  // (in the "C" locale's terms: only "." is a decimal point) turn them into a value.
  std::string number;
  std::size_t i = 0;
  auto skip = [&] {
    while (i < text.size() && IsSkippable(text[i])) ++i;
  };
  auto digits = [&] {
    bool any = false;
    for (skip(); i < text.size() && IsDigit(text[i]); skip()) {
      number += text[i++];
      any = true;
    }
    return any;
  };

  skip();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  bool mantissa = digits();
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    mantissa = digits() || mantissa;
  }
  if (!mantissa) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::string exponent = "e";
    ++i;
    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) exponent += text[i++];
    std::string saved;
    saved.swap(number);
    bool any = digits();
    exponent += number;
    number = saved;
    if (any) number += exponent;
  }
  return std::strtod(number.c_str(), nullptr);
}

std::string NumberText(float value) {
  if (std::isnan(value)) return "0";
  if (std::isinf(value)) return value < 0 ? "-1E+39" : "1E+39";
  if (value == 0.0f) return "0";

  // Seven significant digits decide the exponent after rounding (9999999.5 becomes 1E+07).
  // to_chars ignores the locale, so the point stays a point.
  char buffer[64];
  auto format = [&](std::chars_format how, int precision) {
    auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, static_cast<double>(value),
                                how, precision);
    *result.ptr = '\0';
  };
  format(std::chars_format::scientific, 6);
  int exponent = std::atoi(std::strchr(buffer, 'e') + 1);

  auto trim = [](std::string s) {
    if (s.find('.') != std::string::npos) {
      while (!s.empty() && s.back() == '0') s.pop_back();
      if (!s.empty() && s.back() == '.') s.pop_back();
    }
    return s;
  };

  if (exponent >= 7 || exponent < -5) {
    std::string text(buffer);
    std::size_t e = text.find('e');
    std::string mantissa = trim(text.substr(0, e));
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + tail;
  }
  format(std::chars_format::fixed, 6 - exponent);
  return trim(buffer);
}

std::string IntegerText(long long value) { return std::to_string(value); }

std::optional<std::int32_t> RoundHalfEven(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = std::nearbyint(value);  // the default rounding mode sends ties to even
  if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

}  // namespace vorn
