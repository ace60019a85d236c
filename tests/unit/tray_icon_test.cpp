#include "app/tray_icon.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fakes.h"

using vorn::DecodeTrayMouse;
using vorn::TrayAction;

TEST(TrayDecode, FollowsTheMouseMessageTableAtAnyResolution) {
  for (float twipsPerPixel : {15.0f, 12.0f, 10.0f, 1440.0f / 144.0f, 1440.0f / 168.0f}) {
    SCOPED_TRACE(twipsPerPixel);
    for (int m = 512; m <= 521; ++m) {
      TrayAction want = m == 514 ? TrayAction::ShowAndFocus
                      : m == 517 ? TrayAction::Toggle
                                 : TrayAction::None;
      EXPECT_EQ(DecodeTrayMouse(m * twipsPerPixel, twipsPerPixel), want) << m;
    }
  }
  EXPECT_EQ(DecodeTrayMouse(7710, 15), TrayAction::ShowAndFocus);
  EXPECT_EQ(DecodeTrayMouse(6168, 12), TrayAction::ShowAndFocus);
  EXPECT_EQ(DecodeTrayMouse(517 * 12, 12), TrayAction::Toggle);
}

TEST(TrayDecode, RoundsToTheNearestMessage) {
  EXPECT_EQ(DecodeTrayMouse(514.4f * 15, 15), TrayAction::ShowAndFocus);
  EXPECT_EQ(DecodeTrayMouse(513.6f * 15, 15), TrayAction::ShowAndFocus);
  EXPECT_EQ(DecodeTrayMouse(513.4f * 15, 15), TrayAction::None);
  EXPECT_EQ(DecodeTrayMouse(1e30f, 15), TrayAction::None);
}

struct TrayFixture : ::testing::Test {
  fake::NotifyArea area;
  fake::Form notes;
  vorn::frmTrayIcon tray{area, notes};
};

TEST_F(TrayFixture, LoadAddsOneIconWithTheDescribedRecord) {
  tray.Form_Load(0xBEEF, 0x10025);
  ASSERT_EQ(area.calls.size(), 1u);
  EXPECT_EQ(area.calls[0].first, 0u);  // NIM_ADD
  const vorn::TrayRecord& r = area.calls[0].second;
  EXPECT_EQ(r.cbSize, sizeof(vorn::TrayRecord));
  EXPECT_EQ(r.hWnd, 0xBEEFu);
  EXPECT_EQ(r.uID, 0x10025u);
  EXPECT_EQ(r.hIcon, 0x10025u);
  EXPECT_EQ(r.uFlags, 7u);
  EXPECT_EQ(r.uCallbackMessage, 512u);
  EXPECT_STREQ(r.szTip, "Vorn Notes by Kalvo");
  for (std::size_t i = std::strlen("Vorn Notes by Kalvo") + 1; i < 64; ++i) {
    EXPECT_EQ(r.szTip[i], ' ') << i;
  }
}

TEST_F(TrayFixture, UnloadDeletesWithTheSameRecordAndNeverCancels) {
  tray.Form_Load(7, 9);
  std::int16_t cancel = 0;
  tray.Form_QueryUnload(cancel, 2);
  ASSERT_EQ(area.calls.size(), 2u);
  EXPECT_EQ(area.calls[1].first, 2u);  // NIM_DELETE
  EXPECT_EQ(std::memcmp(&area.calls[0].second, &area.calls[1].second, sizeof(vorn::TrayRecord)), 0);
  EXPECT_EQ(cancel, 0);
  tray.Readd();  // the icon is gone for good: a re-created notification area gets nothing
  EXPECT_EQ(area.calls.size(), 2u);
}

TEST_F(TrayFixture, ReaddGivesTheSameRecordAgain) {
  tray.Form_Load(7, 9);
  tray.Readd();
  ASSERT_EQ(area.calls.size(), 2u);
  EXPECT_EQ(area.calls[1].first, 0u);
  EXPECT_EQ(std::memcmp(&area.calls[0].second, &area.calls[1].second, sizeof(vorn::TrayRecord)), 0);
}

TEST(TrayTip, LongTextStillEndsInANul) {
  char tip[64];
  vorn::FillTip(tip, std::string(80, 'x'));
  EXPECT_EQ(tip[63], '\0');
  EXPECT_EQ(std::strlen(tip), 63u);
}

TEST_F(TrayFixture, LeftReleaseShowsAHiddenWindowAndAlwaysFocuses) {
  notes.visible = false;
  tray.Form_MouseMove(0, 0, 514 * 15, 0, 15);
  EXPECT_TRUE(notes.visible);
  EXPECT_EQ(notes.focusCalls, 1);
  tray.Form_MouseMove(0, 0, 514 * 15, 0, 15);  // a double click: shown, focused, never toggled
  EXPECT_TRUE(notes.visible);
  EXPECT_EQ(notes.focusCalls, 2);
}

TEST_F(TrayFixture, RightReleaseTogglesWithoutFocus) {
  notes.visible = true;
  tray.Form_MouseMove(0, 0, 517 * 12, 0, 12);
  EXPECT_FALSE(notes.visible);
  tray.Form_MouseMove(0, 0, 517 * 12, 0, 12);
  EXPECT_TRUE(notes.visible);
  EXPECT_EQ(notes.focusCalls, 0);
}

TEST_F(TrayFixture, OtherMessagesDoNothing) {
  notes.visible = false;
  for (int m : {512, 513, 515, 516, 518, 519, 520, 521, 0, 1024}) {
    tray.Form_MouseMove(0, 0, m * 15.0f, 0, 15);
  }
  EXPECT_FALSE(notes.visible);
  EXPECT_EQ(notes.focusCalls, 0);
}
