// Puts versions of the pads' text where they survive: in the history or, where that cannot be
// written, in the rescue history (in the temporary folder), and remembers why the history failed
// until it works again, for the user to be told.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/history.h"

namespace vorn {

class VersionKeeper {
 public:
  // Where a version of a pad's text went.
  enum class KeptIn { History, Rescue, Nowhere };

  VersionKeeper(History& history, History& rescue) : history_(history), rescue_(rescue) {}

  KeptIn AddText(int pad, std::string_view text, Worth worth = Worth::Kept);
  // The bytes a store held, as it held them; "" when they were kept, else why they could not be.
  std::string AddStoredBytes(int pad, const StoredBytes& bytes, Worth worth = Worth::Kept);

  History& Main() { return history_; }
  // Why the history cannot be written, and whether the rescue history took the versions
  // instead; "" while the history works.
  const std::string& HistoryProblem() const { return historyProblem_; }
  bool RescueWorks() const { return rescueWorks_; }
  std::string RescueFolder() const { return rescue_.Root(); }

 private:
  // Adds a version with `add` to the history, or to the rescue history where the history cannot
  // be written; the last reason when neither could, "" when one did.
  std::string AddSomewhere(const std::function<void(History&)>& add);

  History& history_;
  History& rescue_;
  std::string historyProblem_;
  bool rescueWorks_ = true;
};

}  // namespace vorn
