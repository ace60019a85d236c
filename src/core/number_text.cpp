#include "core/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn {

namespace {

bool IsSkippable(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// `mantissa` x 10^`exponent`. Exact where both are exact in a double (the mantissa below 2^53,
// the power at most 10^22), as a correctly rounded reading gives; within a unit or two in the
// last place beyond, which no setting comes near. Far past the range: an infinity, or 0.
double Scaled(std::uint64_t mantissa, long exponent) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  double value = static_cast<double>(mantissa);
  if (value == 0.0) return 0.0;
  for (; exponent > 22 && value < std::numeric_limits<double>::infinity(); exponent -= 22) {
    value *= 1e22;
  }
  for (; exponent < -22 && value > 0.0; exponent += 22) value /= 1e22;
  if (exponent > 22 || exponent < -22) return value;  // gone past the range on the way
  return exponent >= 0 ? value * kPowers[exponent] : value / kPowers[-exponent];
}

}  // namespace

double ReadNumber(std::string_view text) {
  // The leading number's digits, skipping the skippable characters, read in the "C" locale's
  // terms: only "." is a decimal point. Up to 19 significant digits are kept; the rest only
  // move the decimal point.
  std::size_t i = 0;
  auto skip = [&] {
    while (i < text.size() && IsSkippable(text[i])) ++i;
  };
  std::uint64_t mantissa = 0;
  int kept = 0;
  long exponent = 0;
  auto digits = [&](bool fraction) {
    bool any = false;
    for (skip(); i < text.size() && IsDigit(text[i]); skip()) {
      int digit = text[i++] - '0';
      any = true;
      if (kept < 19) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(digit);
        if (mantissa) ++kept;
        if (fraction) --exponent;
      } else if (!fraction) {
        ++exponent;
      }
    }
    return any;
  };

  skip();
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool any = digits(false);
  if (i < text.size() && text[i] == '.') {
    ++i;
    any = digits(true) || any;
  }
  if (!any) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    ++i;
    skip();
    bool down = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) down = text[i++] == '-';
    long power = 0;
    for (skip(); i < text.size() && IsDigit(text[i]); skip()) {
      power = std::min(power * 10 + (text[i++] - '0'), 100000L);  // far past any double
    }
    exponent += down ? -power : power;
  }
  double value = Scaled(mantissa, exponent);
  return negative ? -value : value;
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
    return static_cast<long long>(std::nearbyint(Scaled(1, 6 - e) * magnitude));
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
