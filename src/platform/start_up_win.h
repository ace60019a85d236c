// Starting with Windows: the value "Vorn Notes" under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run holds the quoted path of the
// running exe while the user wants it; and a restart after an update or a reboot that closed the
// program, which Windows does for a program that asks.
#pragma once

#include "core/start_up.h"

namespace vorn::win {

class RunAtLogOn : public StartUp {
 public:
  bool WithWindows() override;
  void SetWithWindows(bool on) override;
};

// Asks Windows to start the program again (with no arguments, so hidden as at any start) when
// an update or a restart of the system closes it; not after a crash or a hang.
void AskToBeRestartedAfterUpdates();

}  // namespace vorn::win
