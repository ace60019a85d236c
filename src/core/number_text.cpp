#include "core/number_text.h"

#include <cmath>
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

  // Seven significant digits as an integer: digits * 10^(exponent - 6). The rounding sends
  // ties to the even neighbour, as the usual formatting of a binary value does. Plain integer
  // arithmetic keeps the text free of the locale (the point is always ".").
  double magnitude = std::fabs(static_cast<double>(value));
  int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
  auto digitsAt = [&](int e) {
    return static_cast<long long>(std::nearbyint(magnitude * std::pow(10.0, 6 - e)));
  };
  long long digits = digitsAt(exponent);
  if (digits >= 10000000) digits = digitsAt(++exponent);
  if (digits < 1000000) digits = digitsAt(--exponent);

  std::string mantissa = std::to_string(digits);  // exactly seven digits
  std::string sign = value < 0 ? "-" : "";
  auto trimmed = [](std::string whole, std::string fraction) {
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    return fraction.empty() ? whole : whole + "." + fraction;
  };
  if (exponent >= 7 || exponent < -5) {
    std::string e = std::to_string(std::abs(exponent));
    if (e.size() < 2) e = "0" + e;
    return sign + trimmed(mantissa.substr(0, 1), mantissa.substr(1)) + "E" +
           (exponent < 0 ? "-" : "+") + e;
  }
  if (exponent >= 0) {
    return sign + trimmed(mantissa.substr(0, exponent + 1), mantissa.substr(exponent + 1));
  }
  return sign + trimmed("0", std::string(-exponent - 1, '0') + mantissa);
}

std::optional<std::int32_t> RoundHalfEven(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = std::nearbyint(value);  // the default rounding mode sends ties to even
  if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

std::string WithThousands(std::size_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace vorn
