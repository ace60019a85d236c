// Starting with Windows as Windows decides it: the Run value, and the StartupApproved value
// that Task Manager's Startup tab and Settings' Startup apps write beside it.
#include <gtest/gtest.h>

#include "core/log_on_start.h"

namespace {

// The two values as Windows keeps them: Task Manager turns a start off by writing 12 bytes,
// the first 03 (on again: 02), and leaves the Run value as it is.
struct Registry : vorn::LogOnEntries {
  std::optional<std::string> run;
  std::optional<std::vector<unsigned char>> approval;
  bool refused = false;
  std::optional<std::string> RunCommand() override { return run; }
  void SetRunCommand(const std::optional<std::string>& command) override {
    if (refused) throw vorn::PlatformError("Access is denied.");
    run = command;
  }
  std::optional<std::vector<unsigned char>> Approval() override { return approval; }
  void RemoveApproval() override { approval.reset(); }
  void TaskManager(bool enabled) {
    approval = std::vector<unsigned char>{static_cast<unsigned char>(enabled ? 2 : 3), 0, 0, 0,
                                          0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01};
  }
};

constexpr char kExe[] = "C:\\Users\\Ann\\Programs\\Vorn Notes\\VornNotes.exe";

TEST(LogOnStart, TheTickIsOnOnlyWhenWindowsWillStartThisProgram) {
  Registry registry;
  vorn::LogOnStart start(registry, kExe);
  EXPECT_FALSE(start.WithWindows());
  start.SetWithWindows(true);
  EXPECT_EQ(registry.run, std::string("\"") + kExe + "\" /logon");
  EXPECT_TRUE(start.WithWindows());
  // Turned off in Task Manager: the Run value stays, and Windows starts nothing.
  registry.TaskManager(false);
  EXPECT_TRUE(registry.run);
  EXPECT_FALSE(start.WithWindows());
  registry.TaskManager(true);
  EXPECT_TRUE(start.WithWindows());
  // Ticked again here after Task Manager turned it off: Windows starts it again.
  registry.TaskManager(false);
  start.SetWithWindows(true);
  EXPECT_FALSE(registry.approval);
  EXPECT_TRUE(start.WithWindows());
  // Turned off here: the Run value goes, Task Manager's entry is Windows' to keep.
  registry.TaskManager(true);
  start.SetWithWindows(false);
  EXPECT_FALSE(registry.run);
  EXPECT_TRUE(registry.approval);
  EXPECT_FALSE(start.WithWindows());
  // The form an earlier version wrote counts, in any case; a copy elsewhere does not.
  registry.run = std::string("\"c:\\users\\ann\\programs\\vorn notes\\VORNNOTES.EXE\"");
  EXPECT_TRUE(start.WithWindows());
  registry.run = "\"D:\\Old\\VornNotes.exe\" /logon";
  EXPECT_FALSE(start.WithWindows());
  registry.refused = true;
  EXPECT_THROW(start.SetWithWindows(true), vorn::PlatformError);
}

TEST(LogOnStart, OnlyAUsersStartBringsTheRunningProgramForward) {
  EXPECT_TRUE(vorn::StartedByUser(""));
  EXPECT_TRUE(vorn::StartedByUser("  "));
  EXPECT_FALSE(vorn::StartedByUser("/logon"));
  EXPECT_FALSE(vorn::StartedByUser(" /LOGON "));
  EXPECT_FALSE(vorn::StartedByUser("/restart"));
}

}  // namespace
