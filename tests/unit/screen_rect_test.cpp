#include "core/screen_rect.h"

#include <gtest/gtest.h>

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
