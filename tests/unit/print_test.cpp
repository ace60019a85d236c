// Printed lines and pages.
#include "core/printing.h"

#include <gtest/gtest.h>

#include "core/print_layout.h"
#include "fakes.h"

namespace {

using vorn::LayoutLines;

// Every character is 100 twips wide.
float Width(std::string_view s) {
  float n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80 ? 100.0f : 0.0f;
  return n;
}

TEST(PrintLayout, LineBreaksStartNewLines) {
  EXPECT_EQ(LayoutLines("a\r\nb\rc\nd", 1000, Width),
            (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(LayoutLines("\n", 1000, Width), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(LayoutLines("", 1000, Width), (std::vector<std::string>{""}));
  EXPECT_EQ(LayoutLines("x\r\n", 1000, Width), (std::vector<std::string>{"x", ""}));
}

TEST(PrintLayout, LongLinesWrapAtBlanksAndLongWordsAtTheMargin) {
  EXPECT_EQ(LayoutLines("the quick brown fox", 1000, Width),
            (std::vector<std::string>{"the quick", "brown fox"}));
  EXPECT_EQ(LayoutLines("abcdefghijklmnopqrstuvwxy", 1000, Width),
            (std::vector<std::string>{"abcdefghij", "klmnopqrst", "uvwxy"}));
  // A margin narrower than one character still makes progress.
  EXPECT_EQ(LayoutLines("abc", 50, Width), (std::vector<std::string>{"a", "b", "c"}));
  // Multi-byte characters are never split.
  EXPECT_EQ(LayoutLines("\xE6\x9D\xB1\xE4\xBA\xAC\xE6\x9D\xB1", 200, Width),
            (std::vector<std::string>{"\xE6\x9D\xB1\xE4\xBA\xAC", "\xE6\x9D\xB1"}));
}

TEST(Printing, TheHeaderARuleABlankLineThenTheTextOverAsManyPagesAsItTakes) {
  fake::Printer printer;  // pages of 1000 twips: four lines of 240
  vorn::PrintText(printer, "one\r\ntwo\r\nthree");
  EXPECT_EQ(printer.calls,
            (std::vector<std::string>{"start", "text 0 Page #1", "rule 250", "text 720 one", "page",
                                      "text 0 two", "text 240 three", "finish"}));
  printer.calls.clear();
  vorn::PrintText(printer, "");  // an empty pad still prints its page
  EXPECT_EQ(printer.calls,
            (std::vector<std::string>{"start", "text 0 Page #1", "rule 250", "finish"}));
}

}  // namespace
