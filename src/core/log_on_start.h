// Starting with Windows as Windows sees it. Two entries decide it: the value "Vorn Notes" under
// HKCU\Software\Microsoft\Windows\CurrentVersion\Run holds the command, and a value of the same
// name under ...\Explorer\StartupApproved\Run, which the Startup tab of Task Manager and
// Settings' Startup apps write, turns it off without touching the first (its first byte odd:
// 03 off, 02 on; no value: on).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/start_up.h"

namespace vorn {

// The argument of a start Windows made at log-on, through the Run value...
inline constexpr std::string_view kLogOnArgument = "/logon";
// ...and of one it made again after a restart for an update.
inline constexpr std::string_view kRestartArgument = "/restart";

// The two entries. Each call throws PlatformError when the system refuses.
class LogOnEntries {
 public:
  virtual ~LogOnEntries() = default;
  virtual std::optional<std::string> RunCommand() = 0;
  // Nothing removes the value.
  virtual void SetRunCommand(const std::optional<std::string>& command) = 0;
  virtual std::optional<std::vector<unsigned char>> Approval() = 0;
  virtual void RemoveApproval() = 0;
};

class LogOnStart : public StartUp {
 public:
  LogOnStart(LogOnEntries& entries, std::string exePath)
      : entries_(entries), exePath_(std::move(exePath)) {}
  // On only while the Run value starts this very exe and nothing turned it off.
  bool WithWindows() override;
  // On: the Run value, and a turning off from Task Manager cleared. Off: the Run value
  // removed; what Task Manager wrote stays Windows' own.
  void SetWithWindows(bool on) override;

 private:
  LogOnEntries& entries_;
  std::string exePath_;
};

// The Run value's command for the exe at `exePath`: the quoted path and kLogOnArgument.
std::string LogOnCommand(std::string_view exePath);

// Whether the user started the program (a double click, the Start menu), rather than Windows
// at log-on or after a restart, from the arguments it was given. Only a user's start brings
// a running program's window forward.
bool StartedByUser(std::string_view arguments);

}  // namespace vorn
