#include "core/line_merge.h"

#include <gtest/gtest.h>

#include <string>

using vorn::HoldsLinesOf;
using vorn::MergeLines;

namespace {

// A text of one-letter lines, each ending in CR LF.
std::string Text(std::string letters) {
  std::string text;
  for (char c : letters) text += std::string(1, c) + "\r\n";
  return text;
}

}  // namespace

TEST(LineMerge, EditsToDifferentLinesBothStayWithTheirLineBreaks) {
  std::string base = Text("abcdefgh");
  // Apart, next to each other, and one side removing a line while the other adds one.
  EXPECT_EQ(MergeLines(base, Text("aBcdefgh"), Text("abcdefGh")), Text("aBcdefGh"));
  EXPECT_EQ(MergeLines(base, Text("aBcdefgh"), Text("abCdefgh")), Text("aBCdefgh"));
  EXPECT_EQ(MergeLines(base, Text("abdefgh"), Text("abcdefgXh")), Text("abdefgXh"));
  EXPECT_EQ(MergeLines(base, Text("Xabcdefgh"), Text("abcdefghY")), Text("XabcdefghY"));
  // Both made the same change: it is made once.
  EXPECT_EQ(MergeLines(base, Text("abcDefgh"), Text("abcDefgh")), Text("abcDefgh"));
  // One side did nothing.
  EXPECT_EQ(MergeLines(base, base, Text("abcdeFgh")), Text("abcdeFgh"));
  // A last line without a break takes one when the other side adds a line after it.
  EXPECT_EQ(MergeLines("a\r\nb", "X\r\na\r\nb", "a\r\nb\r\nc"), "X\r\na\r\nb\r\nc");
}

// Two computers typing at once, each in a line of its own: one side's copy of the other's line
// is an earlier state of it, and the fuller one stays.
TEST(LineMerge, ALineTypedOnOrIntoOnBothKeepsEverythingTyped) {
  std::string base = "desk: d1\r\n\r\nlaptop: l1\r\n";
  std::string ours = "desk: d1\r\n\r\nlaptop: l1 l2 l3\r\n";
  std::string theirs = "desk: d1 d2\r\n\r\nlaptop: l1 l2\r\n";
  EXPECT_EQ(MergeLines(base, ours, theirs), "desk: d1 d2\r\n\r\nlaptop: l1 l2 l3\r\n");
  EXPECT_EQ(MergeLines(base, theirs, ours), "desk: d1 d2\r\n\r\nlaptop: l1 l2 l3\r\n");
  // Typed into the same line on both, nothing taken out: both stay, in the same order on both
  // computers. Whole texts made on both from nothing are not stretches put in: no merge.
  EXPECT_EQ(MergeLines("one:\r\n", "one: L1\r\n", "one: D1\r\n"), "one: D1 L1\r\n");
  EXPECT_EQ(MergeLines("one:\r\n", "one: D1\r\n", "one: L1\r\n"), "one: D1 L1\r\n");
  EXPECT_EQ(MergeLines("say hi\r\n", "say, hi\r\n", "say hi!\r\n"), "say, hi!\r\n");
  EXPECT_FALSE(MergeLines("", "desk: d1\r\nlaptop:", "desk:\r\nlaptop: l1"));
}

TEST(LineMerge, BothChangingTheSameLinesDoesNotMerge) {
  std::string base = Text("abcdefgh");
  EXPECT_FALSE(MergeLines(base, Text("abcXefgh"), Text("abcYefgh")));
  EXPECT_FALSE(MergeLines(base, Text("abXYZfgh"), Text("abcdQfgh")));    // overlapping stretches
  EXPECT_FALSE(MergeLines(base, Text("abcdefghX"), Text("abcdefghY")));  // both added at the end
  EXPECT_FALSE(MergeLines(base, Text("abcefgh"), Text("abcDefgh")));  // removed here, changed there
}

TEST(LineMerge, TextsTooDifferentAreNotMergedByLines) {
  std::string base, ours, theirs;
  for (int i = 0; i < 3000; ++i) {
    base += std::to_string(i) + "\r\n";
    ours += std::to_string(i * 7) + "x\r\n";
    theirs += "first\r\n" + std::to_string(i) + "\r\n";
  }
  EXPECT_FALSE(MergeLines(base, ours, theirs));
}

TEST(LineMerge, AFullerTextHoldsTheLinesOfTheOtherInOrder) {
  EXPECT_TRUE(HoldsLinesOf(Text("abXcdY"), Text("abcd")));
  EXPECT_TRUE(HoldsLinesOf("a\r\nb\r\nc", "a\r\nb"));  // "b" had no break yet
  EXPECT_FALSE(HoldsLinesOf(Text("abdc"), Text("abcd")));
  EXPECT_FALSE(HoldsLinesOf(Text("abc"), Text("abcd")));
  EXPECT_TRUE(HoldsLinesOf(Text("abc"), ""));
  // Typed within a line elsewhere.
  EXPECT_TRUE(HoldsLinesOf("from here, and there\r\nnext", "from here\r\nnext"));
  EXPECT_FALSE(HoldsLinesOf("from here, and there", "from where"));
}
