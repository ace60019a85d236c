#include "core/window_settings.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

using vorn::CheckState;
using vorn::LoadWindowSettings;

TEST(WindowSettings, NothingStoredKeepsTheDesignedWindowAndOptions) {
  fake::Settings store;
  vorn::WindowSettings s = LoadWindowSettings(store);
  EXPECT_FALSE(s.top || s.left || s.width || s.height);
  EXPECT_EQ(s.storeInRegistry, CheckState::Ticked);
  EXPECT_FALSE(s.onTop);
}

TEST(WindowSettings, OnlyCoordinatesThatCanBeAppliedAreTaken) {
  struct Case {
    const char* key;
    const char* stored;
    std::optional<float> taken;
  } cases[] = {{"Top", "-1200", -1200.0f},  {"Top", "0", {}},
               {"Top", "abc", {}},          {"Top", "1e999", {}},
               {"Left", "1e39", {}},        {"Left", "60000", 60000.0f},
               {"Left", "-1500", -1500.0f}, {"Width", "7000.5", 7000.5f},
               {"Width", "-6000", {}},      {"Height", "-50", {}},
               {"Height", "12abc", 12.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
    fake::Settings store;
    store.Set(c.key, c.stored);
    vorn::WindowSettings s = LoadWindowSettings(store);
    std::string key = c.key;
    std::optional<float> got = key == "Top"     ? s.top
                               : key == "Left"  ? s.left
                               : key == "Width" ? s.width
                                                : s.height;
    EXPECT_EQ(got, c.taken);
  }
}

TEST(WindowSettings, RegIsRoundedHalfToEvenAndTakenOnlyAsACheckBoxState) {
  struct Case {
    const char* stored;
    int state;
  } cases[] = {{"0", 0},   {"1", 1},     {"2", 2},   {"1.5", 2},  {"2.5", 2},
               {"0.5", 0}, {"abc", 0},   {"", 0},    {"7", 1},    {"40000", 1},
               {"-1", 1},  {"1e999", 1}, {"2.6", 1}, {"12abc", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    fake::Settings store;
    store.Set("Reg", c.stored);
    EXPECT_EQ(static_cast<int>(LoadWindowSettings(store).storeInRegistry), c.state);
  }
}

TEST(WindowSettings, OnTopOnlyWhenItReadsAsExactlyOne) {
  for (const char* on : {"1", "1.0", " 1", "1abc"}) {
    fake::Settings store;
    store.Set("OnTop", on);
    EXPECT_TRUE(LoadWindowSettings(store).onTop) << on;
  }
  for (const char* off : {"0.99", "2", "", "yes", "0"}) {
    fake::Settings store;
    store.Set("OnTop", off);
    EXPECT_FALSE(LoadWindowSettings(store).onTop) << off;
  }
}

TEST(WindowSettings, HotKeyIsTakenAsAUsableKeyOrOffOrElseTheDefault) {
  const std::pair<const char*, const char*> cases[] = {{"alt + ctrl + f12", "Ctrl+Alt+F12"},
                                                       {"Win+Shift+3", "Shift+Win+3"},
                                                       {"", ""},
                                                       {"  ", ""},
                                                       {"Shift+N", "Ctrl+Alt+F9"},
                                                       {"Ctrl+Ctrl+N", "Ctrl+Alt+F9"},
                                                       {"Ctrl+Alt+", "Ctrl+Alt+F9"},
                                                       {"Ctrl+Alt+F25", "Ctrl+Alt+F9"},
                                                       {"Ctrl+Alt+NN", "Ctrl+Alt+F9"},
                                                       {"Hyper+N", "Ctrl+Alt+F9"},
                                                       {"Ctrl+F0", "Ctrl+Alt+F9"},
                                                       {"Ctrl+\xC3\xA4", "Ctrl+Alt+F9"}};
  for (const auto& [stored, taken] : cases) {
    fake::Settings store;
    store.Set("HotKey", stored);
    EXPECT_EQ(LoadWindowSettings(store).hotKey, taken) << stored;
  }
  fake::Settings none;
  EXPECT_EQ(LoadWindowSettings(none).hotKey, "Ctrl+Alt+F9");
  EXPECT_EQ(vorn::ParseHotKey("Ctrl+Alt+N"), (vorn::HotKey{true, true, false, false, 'N'}));
  EXPECT_EQ(vorn::ParseHotKey("Ctrl+F1")->key, 0x70u);
}

TEST(WindowSettings, ZoomGoesInStepsWithinItsRangeAndAnythingUnreadableIsNormal) {
  EXPECT_EQ(vorn::ZoomedBy(100, 2), 120);
  EXPECT_EQ(vorn::ZoomedBy(60, -2), 50);
  EXPECT_EQ(vorn::ZoomedBy(390, 3), 400);
  const std::pair<const char*, int> cases[] = {{"130", 130},  {"abc", 100}, {"0", 100},
                                               {"1000", 400}, {"-20", 50},  {"124.5", 124}};
  for (const auto& [stored, taken] : cases) {
    fake::Settings store;
    store.Set("Zoom", stored);
    EXPECT_EQ(LoadWindowSettings(store).zoom, taken) << stored;
  }
  fake::Settings none;
  EXPECT_EQ(LoadWindowSettings(none).zoom, 100);
}

// A pad's control draws at the resolution of the log-on on every monitor: moved to a monitor
// at 150 % from one at 100 %, or the other way, its text keeps the monitor's scale.
TEST(WindowSettings, APadsZoomMakesUpForAMonitorOfAnotherScale) {
  using vorn::PadZoom, vorn::ZoomRatio;
  EXPECT_EQ(PadZoom(100, 96, 96), ZoomRatio{});
  EXPECT_EQ(PadZoom(120, 96, 96), (ZoomRatio{6, 5}));
  EXPECT_EQ(PadZoom(100, 144, 96), (ZoomRatio{3, 2}));
  EXPECT_EQ(PadZoom(100, 96, 144), (ZoomRatio{2, 3}));
  EXPECT_EQ(PadZoom(150, 96, 144), ZoomRatio{});
  EXPECT_EQ(PadZoom(400, 192, 96), (ZoomRatio{8, 1}));
}

TEST(WindowSettings, ARefusedWriteStillWritesTheRest) {
  fake::Settings store;
  store.refused = {"Top", "Reg"};
  EXPECT_FALSE(vorn::SaveWindowSettings(store, {1215, -1200, 6336.5f, 5433}, CheckState::Greyed,
                                        true, "", 120));
  EXPECT_EQ(store.writes.size(), 8u);
  EXPECT_EQ(store.Get("Setting", "Top"), "<absent>");
  EXPECT_EQ(store.Get("Setting", "Left"), "1215");
  EXPECT_EQ(store.Get("Setting", "Width"), "6336.5");
  EXPECT_EQ(store.Get("Setting", "OnTop"), "1");
}

}  // namespace
