#include "core/pad_record.h"

#include <algorithm>

#include "core/number_text.h"
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

std::string TooLargeToEdit(std::string_view where, std::size_t length) {
  return std::string(where) + " holds " + WithThousands(length) +
         " characters, and a pad edits at most " + WithThousands(kMaxPadCharacters) +
         ": it shows the first of them and leaves the store as it is.";
}

std::string_view FirstUnits(std::string_view utf8, std::size_t units) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    if ((c & 0xC0) == 0x80) continue;
    std::size_t width = c >= 0xF0 ? 2 : 1;  // four bytes make a surrogate pair
    if (n + width > units) return utf8.substr(0, i);
    n += width;
  }
  return utf8;
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
