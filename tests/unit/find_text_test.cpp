#include "core/find_text.h"

#include <gtest/gtest.h>

#include <array>

#include "core/utf.h"

namespace vorn {
namespace {

TEST(FindText, GoesOnThroughThePadsInOrderAndRoundToWhereItBegan) {
  std::array<std::u16string, 4> pads = {u"one apple", u"", u"an apple and an Apple", u"Äpfel"};
  auto text = [&](int pad) { return pads.at(pad - 1); };
  auto find = [&](int pad, std::size_t from, bool forward, bool matchCase = false,
                  std::u16string what = u"apple") {
    std::optional<FoundText> f = FindInPads(text, 4, pad, from, {what, matchCase, forward});
    return f ? std::to_string(f->pad) + ":" + std::to_string(f->start) : std::string("none");
  };
  EXPECT_EQ(find(3, 0, true), "3:3");
  EXPECT_EQ(find(3, 8, true), "3:16");       // after the first match: the next, any case
  EXPECT_EQ(find(3, 8, true, true), "1:4");  // matching case: round the end to pad 1
  EXPECT_EQ(find(1, 9, true), "3:3");        // past the end of pad 1, over the empty pad 2
  EXPECT_EQ(find(1, 0, false), "3:16");      // backwards from pad 1 round to the last pads
  EXPECT_EQ(find(3, 16, false), "3:3");      // backwards: the match before the selection
  EXPECT_EQ(find(3, 5, true, false, u"ÄPFEL"), "4:0");
  EXPECT_EQ(find(1, 2, true, false, u"one"), "1:0");  // round to the start of the first pad
  EXPECT_EQ(find(2, 0, true, false, u"pear"), "none");
  EXPECT_EQ(ControlForm("a\r\nb\nc\rd\n\n\r\r\n"), u"a\rb\rc\rd\r\r\r\r");
}

}  // namespace
}  // namespace vorn
