#include "core/layout.h"

#include <gtest/gtest.h>

namespace {

using vorn::LayOut;
using vorn::LayoutInput;
using vorn::NotesLayout;

// The designed client area: 6216 x 5028 twips, a toolbar of 336 and a status bar of 252.
constexpr LayoutInput kDesigned{6216, 5028, 336, 252, 300};

void ExpectPads(const NotesLayout& l, float bottom, float width) {
  EXPECT_FLOAT_EQ(l.pads.top + l.pads.height, bottom);
  EXPECT_FLOAT_EQ(l.pads.width, width);
}

TEST(Layout, AtTheDesignedClientArea) {
  NotesLayout l = LayOut(kDesigned, {});
  EXPECT_FLOAT_EQ(l.buttonPanel.top, 4440);
  EXPECT_FLOAT_EQ(l.buttonPanel.left, 60);
  EXPECT_FLOAT_EQ(l.buttonPanel.width, 2856);
  EXPECT_FLOAT_EQ(l.tabStrip.left, 60);
  EXPECT_FLOAT_EQ(l.tabStrip.top, 480);
  EXPECT_FLOAT_EQ(l.tabStrip.width, 6096);
  EXPECT_FLOAT_EQ(l.tabStrip.height, 3910);
  EXPECT_FLOAT_EQ(l.pads.left, 110);
  EXPECT_FLOAT_EQ(l.pads.top, 880);  // below the row of tabs
  ExpectPads(l, 4246, 5986);
}

TEST(Layout, FollowsTheClientAreaAndTheSameSizeGivesTheSameLayout) {
  LayoutInput in = kDesigned;
  in.clientWidth += 600;
  NotesLayout l = LayOut(in, LayOut(kDesigned, {}));
  EXPECT_FLOAT_EQ(l.tabStrip.width, 6696);
  EXPECT_FLOAT_EQ(l.buttonPanel.top, 4440);
  ExpectPads(l, 4246, 6586);
  in.clientHeight += 600;
  l = LayOut(in, l);
  EXPECT_FLOAT_EQ(l.buttonPanel.top, 5040);
  EXPECT_FLOAT_EQ(l.tabStrip.height, 4510);
  ExpectPads(l, 4846, 6586);
  NotesLayout again = LayOut(in, l);
  EXPECT_FLOAT_EQ(again.tabStrip.height, 4510);
  ExpectPads(again, 4846, 6586);
}

TEST(Layout, TooLowAWindowKeepsTheSizesButMovesThePanel) {
  NotesLayout designed = LayOut(kDesigned, {});
  LayoutInput low = kDesigned;
  low.clientHeight = 1000;  // below the 1118 the fixed parts need
  NotesLayout l = LayOut(low, designed);
  EXPECT_FLOAT_EQ(l.buttonPanel.top, 1000 - 252 - 336);
  EXPECT_FLOAT_EQ(l.tabStrip.height, 3910);
  ExpectPads(l, 4246, 5986);
}

TEST(Layout, MinimizingKeepsTheSizesAndRestoringGivesTheSameLayout) {
  NotesLayout designed = LayOut(kDesigned, {});
  NotesLayout minimized = LayOut({0, 0, 336, 252, 300}, designed);
  EXPECT_FLOAT_EQ(minimized.buttonPanel.top, -588);
  EXPECT_FLOAT_EQ(minimized.tabStrip.width, 6096);
  EXPECT_FLOAT_EQ(minimized.tabStrip.height, 3910);
  ExpectPads(minimized, 4246, 5986);
  NotesLayout restored = LayOut(kDesigned, minimized);
  EXPECT_FLOAT_EQ(restored.buttonPanel.top, 4440);
  ExpectPads(restored, 4246, 5986);
}

}  // namespace
