// Number text as the settings store keeps it: decimal text written from a value and read back
// by taking the number that begins the text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// The value of the number that begins `text`; 0 when the text does not begin with one.
// Blanks, tabs and line feeds before and inside the number are skipped; a sign, digits, a
// fraction after "." and an exponent (E or D) make up the number. A comma ends it, so a value
// written with a comma as the decimal point reads back truncated there. An exponent past the
// double range gives an infinity, which callers must refuse.
double ReadNumber(std::string_view text);

// A single-precision value rounded to seven significant digits: no leading blank, "-" for
// negatives, no decimal point for whole numbers, trailing zeros of the fraction removed, and
// always "." as the decimal point so that ReadNumber gives the value back in every locale.
// Magnitudes of 1E+07 and above, or below 1E-05, use the exponent form "1.234568E+07".
std::string NumberText(float value);

// The nearest 32-bit integer, a half going to the even neighbour; nothing when the value is
// not finite or lies outside the 32-bit range.
std::optional<std::int32_t> RoundHalfEven(double value);

// 524287 as "524,287": numbers in messages.
std::string WithThousands(std::size_t n);

}  // namespace vorn
