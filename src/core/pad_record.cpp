#include "core/pad_record.h"

#include <algorithm>

#include "core/utf.h"

namespace vorn {

bool VersionTiming::WantsTextBefore(std::size_t removed, std::int64_t now) {
  if (!edited_) {
    // The first edit of a run: the stored content is kept before it is first replaced.
    edited_ = true;
    lastTaken_ = now;
  }
  if (removed >= kLargeRemoval) return true;
  return now - lastTaken_ >= kEditInterval;
}

void VersionTiming::VersionTaken(std::int64_t now) {
  edited_ = true;
  lastTaken_ = now;
}

std::size_t RemovedLength(std::string_view before, std::string_view after) {
  std::size_t shorter = std::min(before.size(), after.size());
  std::size_t prefix = 0;
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  // Back to the start of a character, so that a character changed in its last byte counts.
  while (prefix > 0 && prefix < before.size() &&
         (static_cast<unsigned char>(before[prefix]) & 0xC0) == 0x80) {
    --prefix;
  }
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  return Utf16Length(before.substr(prefix, before.size() - prefix - suffix));
}

}  // namespace vorn
