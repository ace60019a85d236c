// Being told when the pads' store may have been written by another program or computer: the
// system reports changes to the pads' folder, or to the registry key of their values. A report
// is a hint only; the pads' keeper compares what the store holds.
#pragma once

#include <string>

#include "core/pad_record.h"

namespace vorn {

class StoreWatch {
 public:
  virtual ~StoreWatch() = default;
  // From now on, reports changes to `storage` (and no longer to the other store); `folder` is
  // where the pad files are.
  virtual void Watch(Storage storage, const std::string& folder) = 0;
  // Reports come one at a time: the next is asked for here, just before the program looks at
  // the store, so that what changes after the look is reported. A burst of changes (the
  // program's own saves, one per key) makes one report.
  virtual void Resume() = 0;
  // Closes whatever it holds in the pads' folder, so that its drive can be removed; Watch
  // starts again.
  virtual void LetGo() = 0;
};

}  // namespace vorn
