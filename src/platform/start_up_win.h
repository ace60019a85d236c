// Starting with Windows: the Run value and Task Manager's StartupApproved value of "Vorn
// Notes" in the user's registry; and a restart after an update or a reboot that closed the
// program, which Windows does for a program that asks.
#pragma once

#include "core/log_on_start.h"

namespace vorn::win {

class LogOnEntriesInRegistry : public LogOnEntries {
 public:
  std::optional<std::string> RunCommand() override;
  void SetRunCommand(const std::optional<std::string>& command) override;
  std::optional<std::vector<unsigned char>> Approval() override;
  void RemoveApproval() override;
};

// Asks Windows to start the program again, hidden as at any start and with kRestartArgument,
// when an update or a restart of the system closes it; not after a crash or a hang.
void AskToBeRestartedAfterUpdates();

}  // namespace vorn::win
