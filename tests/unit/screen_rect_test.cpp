#include "core/screen_rect.h"

#include <gtest/gtest.h>

#include <vector>

using vorn::MoveInto;
using vorn::PixelRect;

TEST(Reachable, AWindowOffEveryMonitorMovesInsideWithItsSize) {
  PixelRect work{0, 0, 1024, 768};
  PixelRect gone{3000, 200, 3400, 500};  // on a monitor that was unplugged
  PixelRect moved = MoveInto(gone, work);
  EXPECT_EQ(moved.left, 624);
  EXPECT_EQ(moved.top, 200);
  EXPECT_EQ(moved.Width(), 400);
  EXPECT_EQ(moved.Height(), 300);
}

TEST(Reachable, OnlyAWindowWhoseTitleBarsMiddleThirdLiesOnTheMonitorsIsWithinReach) {
  const std::vector<PixelRect> one{{0, 0, 1024, 738}};  // a taskbar below
  EXPECT_TRUE(vorn::WithinReach({100, 100, 700, 500}, 30, one));
  // Mostly off to the left: the right third shows, the title bar's middle third does not.
  EXPECT_FALSE(vorn::WithinReach({-500, 100, 100, 500}, 30, one));
  EXPECT_FALSE(vorn::WithinReach({100, -20, 700, 500}, 30, one));   // title bar above the top
  EXPECT_FALSE(vorn::WithinReach({100, 720, 700, 1100}, 30, one));  // under the taskbar
  // Across two monitors side by side the grip may lie on both; a gap between them is off.
  const std::vector<PixelRect> two{{0, 0, 1024, 768}, {1024, 0, 2048, 768}};
  EXPECT_TRUE(vorn::WithinReach({700, 100, 1500, 500}, 30, two));
  const std::vector<PixelRect> apart{{0, 0, 1000, 768}, {1100, 0, 2100, 768}};
  EXPECT_FALSE(vorn::WithinReach({700, 100, 1500, 500}, 30, apart));
}

TEST(Reachable, FarAboveAndLeftComesBackToTheCorner) {
  PixelRect moved = MoveInto({-5000, -5000, -4600, -4700}, {0, 0, 1024, 768});
  EXPECT_EQ(moved.left, 0);
  EXPECT_EQ(moved.top, 0);
}

TEST(Reachable, LargerThanTheScreenKeepsItsTopLeftCornerVisible) {
  PixelRect moved = MoveInto({5000, 5000, 7000, 6000}, {0, 0, 1024, 768});
  EXPECT_EQ(moved.left, 0);
  EXPECT_EQ(moved.top, 0);
  EXPECT_EQ(moved.Width(), 2000);
}
