#include "core/version_keeper.h"

namespace vorn {

VersionKeeper::KeptIn VersionKeeper::AddText(int pad, std::string_view text, Worth worth) {
  if (!AddSomewhere([&](History& h) { h.AddText(pad, text, worth); }).empty()) {
    return KeptIn::Nowhere;
  }
  return historyProblem_.empty() ? KeptIn::History : KeptIn::Rescue;
}

std::string VersionKeeper::AddStoredBytes(int pad, const StoredBytes& bytes, Worth worth) {
  return AddSomewhere([&](History& h) { h.AddStoredBytes(pad, bytes, worth); });
}

std::string VersionKeeper::AddSomewhere(const std::function<void(History&)>& add) {
  try {
    add(history_);
    historyProblem_.clear();
    rescueWorks_ = true;
    return {};
  } catch (const PlatformError& e) {
    historyProblem_ = e.what();
  }
  try {
    add(rescue_);
    rescueWorks_ = true;
    return {};
  } catch (const PlatformError& e) {
    rescueWorks_ = false;
    return e.what();
  }
}

}  // namespace vorn
