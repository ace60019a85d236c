// The history of a pad: when a version is taken, and what is dropped.
#include "core/history.h"
#include "core/pad_record.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes.h"
#include "latin1.h"

namespace {

using vorn::History;
using vorn::RemovedLength;
using vorn::VersionTiming;

TEST(History, VersionsAreNamedByTheirUtcTimeAndListedNewestFirst) {
  EXPECT_EQ(vorn::VersionName(0), "19700101-000000-000");
  EXPECT_EQ(vorn::VersionName(1796786122123), "20261209-031522-123");
  EXPECT_EQ(vorn::VersionTime("20261209-031522-123.txt"), 1796786122123);
  EXPECT_EQ(vorn::VersionTime("20261209-031522-123-2.file"), 1796786122123);
  EXPECT_EQ(vorn::VersionTime("notes.txt"), -1);

  fake::Files files;
  fake::Clock clock;
  History history(files, "C:\\H", clock, Latin1);
  history.AddText(2, "first");
  history.AddText(2, "first");   // the same as the newest: not kept twice
  history.AddText(2, "second");  // in the same millisecond: a second name
  clock.now += 1000;
  history.AddStoredBytes(2, {std::string("r\0a\0w\0", 6), "value-1"});
  std::vector<vorn::Version> versions = history.Versions(2);
  ASSERT_EQ(versions.size(), 3u);
  EXPECT_EQ(history.Text(2, versions[0]), "raw");
  EXPECT_EQ(history.Text(2, versions[1]), "second");
  EXPECT_EQ(history.Text(2, versions[2]), "first");
  EXPECT_TRUE(history.Versions(3).empty());
}

TEST(History, KeepsTheNewestHundredAndAtMostTwentyMegabytesPerPad) {
  fake::Files files;
  fake::Clock clock;
  History history(files, "C:\\H", clock, Latin1);
  for (int i = 0; i < 105; ++i, clock.now += 1000)
    history.AddText(1, "version " + std::to_string(i));
  std::vector<vorn::Version> versions = history.Versions(1);
  ASSERT_EQ(versions.size(), History::kMaxVersions);
  EXPECT_EQ(history.Text(1, versions.back()), "version 5");  // the oldest went first
  std::string big(7u * 1024 * 1024, 'x');
  for (char c : {'a', 'b', 'c'}) {
    big[0] = c;
    history.AddText(1, big);
    clock.now += 1000;
  }
  versions = history.Versions(1);
  std::uint64_t total = 0;
  for (const vorn::Version& v : versions) total += v.size;
  EXPECT_LE(total, History::kMaxBytes);
  EXPECT_EQ(history.Text(1, versions[0])[0], 'c');
  EXPECT_EQ(history.Text(1, versions[1])[0], 'b');
  // One version larger than the whole allowance still stays, as the newest.
  history.AddText(1, std::string(21u * 1024 * 1024, 'y'));
  EXPECT_EQ(history.Versions(1).size(), 1u);
}

// Versions nobody asked for (outside rewrites of a pad no one typed in, the ten-minute ones) never
// push out what the user removed; among them, the outside rewrites go first.
TEST(History, VersionsNobodyAskedForNeverPushOutWhatTheUserRemoved) {
  fake::Files files;
  fake::Clock clock;
  History history(files, "C:\\H", clock, Latin1);
  history.AddText(1, "the note removed with select all", vorn::Worth::Kept);
  for (int i = 0; i < 5; ++i, clock.now += 1000) {
    history.AddText(1, "ten minutes " + std::to_string(i), vorn::Worth::Routine);
  }
  for (int i = 0; i < 400; ++i, clock.now += 100) {
    history.AddText(1, "rewritten elsewhere " + std::to_string(i), vorn::Worth::Outside);
  }
  std::vector<vorn::Version> versions = history.Versions(1);
  ASSERT_EQ(versions.size(), History::kMaxVersions + 1);
  EXPECT_EQ(history.Text(1, versions.back()), "the note removed with select all");
  EXPECT_EQ(versions.back().worth, vorn::Worth::Kept);
  std::size_t routine = std::count_if(versions.begin(), versions.end(), [](const vorn::Version& v) {
    return v.worth == vorn::Worth::Routine;
  });
  EXPECT_EQ(routine, 5u);
  EXPECT_EQ(history.Text(1, versions.front()), "rewritten elsewhere 399");
  // Two rewrites of 12 MB push out no kept version either.
  std::string big(12u * 1024 * 1024, 'x');
  history.AddText(1, big, vorn::Worth::Outside);
  big[0] = 'y';
  history.AddText(1, big, vorn::Worth::Outside);
  versions = history.Versions(1);
  EXPECT_EQ(history.Text(1, versions.back()), "the note removed with select all");
}

TEST(History, AClockSetBackNeitherReordersNorDropsTheNewVersion) {
  fake::Files files;
  fake::Clock clock;
  History history(files, "C:\\H", clock, Latin1);
  clock.now = 1900000000000;
  for (int i = 0; i < 100; ++i, clock.now += 1000)
    history.AddText(1, "version " + std::to_string(i));
  clock.now = 1800000000000;
  history.AddText(1, "after the clock went back");
  std::vector<vorn::Version> versions = history.Versions(1);
  ASSERT_EQ(versions.size(), History::kMaxVersions);
  EXPECT_EQ(history.Text(1, versions.front()), "after the clock went back");
  EXPECT_EQ(history.Text(1, versions.back()), "version 1");
}

TEST(VersionTiming, BeforeALargeRemovalAndEveryTenMinutesOfEditing) {
  EXPECT_EQ(RemovedLength("Hello, world", "Hello, world!"), 0u);
  EXPECT_EQ(RemovedLength("Hello, world", "Hello"), 7u);
  EXPECT_EQ(RemovedLength("Hello, world", "x"), 12u);  // select all and type
  EXPECT_EQ(RemovedLength("Gr\xC3\xBC\xC3\x9F"
                          "e",
                          "Gr\xC3\xA4\xC3\x9F"
                          "e"),
            1u);
  EXPECT_EQ(RemovedLength("a\xF0\x9F\x99\x82"
                          "b",
                          "ab"),
            2u);  // two UTF-16 units

  VersionTiming timing, otherPad;
  std::int64_t t = 1000000;
  EXPECT_FALSE(timing.WantsTextBefore(0, t));  // a character typed
  EXPECT_FALSE(timing.WantsTextBefore(31, t));
  EXPECT_TRUE(timing.WantsTextBefore(32, t));
  EXPECT_FALSE(timing.WantsTextBefore(1, t + VersionTiming::kEditInterval - 1));
  EXPECT_TRUE(timing.WantsTextBefore(1, t + VersionTiming::kEditInterval));
  timing.VersionTaken(t + VersionTiming::kEditInterval);
  EXPECT_FALSE(timing.WantsTextBefore(1, t + VersionTiming::kEditInterval + 1));
  EXPECT_FALSE(otherPad.WantsTextBefore(1, t + VersionTiming::kEditInterval));
}

}  // namespace
