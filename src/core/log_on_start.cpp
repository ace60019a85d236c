#include "core/log_on_start.h"

#include <algorithm>
#include <cctype>

namespace vorn {

namespace {

// Windows' paths are the same in any case; ours differ only in ASCII, if at all.
bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trimmed(std::string_view s) {
  std::size_t from = s.find_first_not_of(" \t");
  if (from == std::string_view::npos) return {};
  return s.substr(from, s.find_last_not_of(" \t") + 1 - from);
}

// Task Manager's Startup tab turned the start off (an odd first byte).
bool TurnedOff(const std::optional<std::vector<unsigned char>>& approval) {
  return approval && !approval->empty() && ((*approval)[0] & 1) != 0;
}

}  // namespace

std::string LogOnCommand(std::string_view exePath) {
  return "\"" + std::string(exePath) + "\" " + std::string(kLogOnArgument);
}

bool LogOnStart::WithWindows() {
  std::optional<std::string> command = entries_.RunCommand();
  if (!command) return false;
  // Earlier versions wrote the quoted path alone.
  std::string quoted = "\"" + exePath_ + "\"";
  std::string_view given = Trimmed(*command);
  if (!SameIgnoringCase(given, quoted) && !SameIgnoringCase(given, LogOnCommand(exePath_))) {
    return false;  // a copy elsewhere is started, not this one
  }
  return !TurnedOff(entries_.Approval());
}

void LogOnStart::SetWithWindows(bool on) {
  if (!on) {
    entries_.SetRunCommand(std::nullopt);
    return;
  }
  entries_.SetRunCommand(LogOnCommand(exePath_));
  if (TurnedOff(entries_.Approval())) entries_.RemoveApproval();
}

bool StartedByUser(std::string_view arguments) {
  std::string_view given = Trimmed(arguments);
  return !SameIgnoringCase(given, kLogOnArgument) && !SameIgnoringCase(given, kRestartArgument);
}

}  // namespace vorn
