#include "core/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

using vorn::NumberText;
using vorn::ReadNumber;
using vorn::RoundHalfEven;

TEST(ReadNumber, TakesTheNumberThatBeginsTheText) {
  EXPECT_EQ(ReadNumber("1215"), 1215);
  EXPECT_EQ(ReadNumber("12abc"), 12);
  EXPECT_EQ(ReadNumber("abc"), 0);
  EXPECT_EQ(ReadNumber(""), 0);
  EXPECT_EQ(ReadNumber("-1200"), -1200);
  EXPECT_EQ(ReadNumber("+7"), 7);
  EXPECT_EQ(ReadNumber("1234,5"), 1234);  // a comma ends the number
  EXPECT_EQ(ReadNumber("1234.5"), 1234.5);
  EXPECT_EQ(ReadNumber(".5"), 0.5);
  EXPECT_EQ(ReadNumber("5."), 5);
  EXPECT_EQ(ReadNumber("-"), 0);
  EXPECT_EQ(ReadNumber("."), 0);
  EXPECT_EQ(ReadNumber("-.e5"), 0);
}

TEST(ReadNumber, SkipsBlanksTabsAndLineFeedsBeforeAndInside) {
  EXPECT_EQ(ReadNumber(" 1"), 1);
  EXPECT_EQ(ReadNumber("\t\n 1 2 3"), 123);
  EXPECT_EQ(ReadNumber("- 4 . 5"), -4.5);
  EXPECT_EQ(ReadNumber("\r1"), 0);  // a carriage return is not skipped
}

TEST(ReadNumber, ReadsExponents) {
  EXPECT_EQ(ReadNumber("1e3"), 1000);
  EXPECT_EQ(ReadNumber("1.5E+2x"), 150);
  EXPECT_EQ(ReadNumber("2D2"), 200);
  EXPECT_EQ(ReadNumber("25e-1"), 2.5);
  EXPECT_EQ(ReadNumber("3e"), 3);  // no exponent digits: the mantissa alone
  EXPECT_EQ(ReadNumber("3e+"), 3);
  EXPECT_TRUE(std::isinf(ReadNumber("1e999")));
}

TEST(ReadNumber, LongGarbageIsHarmless) {
  std::string digits(5000, '9');
  EXPECT_TRUE(std::isinf(ReadNumber(digits + "e999")));
  EXPECT_GT(ReadNumber(digits), 1e300);
  EXPECT_EQ(ReadNumber(std::string(5000, 'x')), 0);
}

TEST(NumberText, WholeNumbersHaveNoPointAndNoBlank) {
  EXPECT_EQ(NumberText(1215.0f), "1215");
  EXPECT_EQ(NumberText(0.0f), "0");
  EXPECT_EQ(NumberText(-1200.0f), "-1200");
  EXPECT_EQ(NumberText(1234567.0f), "1234567");
}

TEST(NumberText, FractionsUseSevenSignificantDigitsAndAPoint) {
  EXPECT_EQ(NumberText(1234.5f), "1234.5");
  EXPECT_EQ(NumberText(0.1f), "0.1");
  EXPECT_EQ(NumberText(-0.25f), "-0.25");
  EXPECT_EQ(NumberText(3036.123456f), "3036.124");
  EXPECT_EQ(NumberText(12345678.0f), "1.234568E+07");
  EXPECT_EQ(NumberText(0.000001f), "1E-06");
}

TEST(NumberText, DigitsAtTheEdgesOfTheFixedForm) {
  EXPECT_EQ(NumberText(9999999.0f), "9999999");
  EXPECT_EQ(NumberText(10000000.0f), "1E+07");
  EXPECT_EQ(NumberText(-12345678.0f), "-1.234568E+07");
  EXPECT_EQ(NumberText(0.00001f), "0.00001");
  EXPECT_EQ(NumberText(-0.000001f), "-1E-06");
  EXPECT_EQ(NumberText(123.456f), "123.456");
  EXPECT_EQ(NumberText(1e38f), "1E+38");
  EXPECT_EQ(NumberText(0.3f), "0.3");
  EXPECT_EQ(NumberText(99999.99f), "99999.99");
}

TEST(NumberText, ReadsBackAsWrittenInAnyLocale) {
  // A locale with a comma as decimal point must not leak into the stored text.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous ? previous : "C";
  // Any locale with a comma will do where one is installed; the C locale still checks the round
  // trip.
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
  for (float v : {1215.0f, 1234.5f, -37.75f, 3036.0f, 0.5f}) {
    EXPECT_EQ(static_cast<float>(ReadNumber(NumberText(v))), v) << NumberText(v);
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(0.49), 0);
  EXPECT_EQ(RoundHalfEven(2147483647.0), 2147483647);
  EXPECT_FALSE(RoundHalfEven(2147483648.0));
  EXPECT_FALSE(RoundHalfEven(INFINITY));
  EXPECT_FALSE(RoundHalfEven(NAN));
}
