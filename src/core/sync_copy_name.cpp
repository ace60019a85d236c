#include "core/sync_copy_name.h"

#include <string>

#include "core/pad_record.h"

namespace vorn {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a name from its start, one expected piece at a time; a piece that is not there takes
// nothing and says so.
class NameReader {
 public:
  explicit NameReader(std::string_view rest) : rest_(rest) {}
  bool Done() const { return rest_.empty(); }
  std::string_view Rest() const { return rest_; }

  bool Literal(std::string_view text) {
    if (!SameLetters(rest_.substr(0, text.size()), text)) return false;
    rest_.remove_prefix(text.size());
    return true;
  }
  bool Digits(std::size_t count) {
    if (rest_.size() < count) return false;
    for (std::size_t i = 0; i < count; ++i) {
      if (!IsDigit(rest_[i])) return false;
    }
    rest_.remove_prefix(count);
    return true;
  }
  bool SomeDigits() {
    std::size_t n = 0;
    while (n < rest_.size() && IsDigit(rest_[n])) ++n;
    rest_.remove_prefix(n);
    return n > 0;
  }
  // "2026-12-09", and with `time` " 101010" after it.
  bool Date(bool time) {
    return Digits(4) && Literal("-") && Digits(2) && Literal("-") && Digits(2) &&
           (!time || (Literal(" ") && Digits(6)));
  }
  // "20261209-101010"
  bool Stamp() { return Digits(8) && Literal("-") && Digits(6); }
  // Moves past `text`, found anywhere ahead (any case); what lay before it comes back.
  std::optional<std::string_view> Until(std::string_view text) {
    for (std::size_t at = 0; at + text.size() <= rest_.size(); ++at) {
      if (!SameLetters(rest_.substr(at, text.size()), text)) continue;
      std::string_view before = rest_.substr(0, at);
      rest_.remove_prefix(at + text.size());
      return before;
    }
    return std::nullopt;
  }

 private:
  std::string_view rest_;
};

bool NoBrackets(std::string_view s) { return s.find_first_of("()") == std::string_view::npos; }

// ".sync-conflict-20261209-101010-K3X2R2T": the device's short id is seven of base32's letters
// and digits; syncthing before 2017 wrote none.
bool Syncthing(std::string_view added) {
  NameReader r(added);
  if (!r.Literal(".sync-conflict-") || !r.Stamp()) return false;
  if (r.Done()) return true;
  if (!r.Literal("-")) return false;
  std::string_view id = r.Rest();
  if (id.size() != 7) return false;
  for (char c : id) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '2' && c <= '7'))) return false;
  }
  return true;
}

// " (Anna's conflicted copy 2026-12-09)", perhaps without the date, perhaps with " (1)" after.
bool Dropbox(std::string_view added) {
  NameReader r(added);
  if (!r.Literal(" (")) return false;
  std::optional<std::string_view> who = r.Until("'s conflicted copy");
  if (!who || who->empty() || !NoBrackets(*who)) return false;
  if (!r.Literal(")") && !(r.Literal(" ") && r.Date(false) && r.Literal(")"))) return false;
  if (r.Done()) return true;
  return r.Literal(" (") && r.SomeDigits() && r.Literal(")") && r.Done();
}

// " (conflicted copy 2026-12-09 101010)", perhaps with the user's name before the date; and the
// older "_conflict-20261209-101010", "_conflict_anna-20261209-101010".
bool Nextcloud(std::string_view added) {
  NameReader r(added);
  if (r.Literal(" (conflicted copy ")) {
    constexpr std::size_t kWhen = 18;  // "2026-12-09 101010)"
    std::string_view rest = r.Rest();
    if (rest.size() < kWhen) return false;
    std::string_view who = rest.substr(0, rest.size() - kWhen);
    if (!who.empty() && (who.back() != ' ' || !NoBrackets(who))) return false;
    NameReader when(rest.substr(who.size()));
    return when.Date(true) && when.Literal(")") && when.Done();
  }
  if (!r.Literal("_conflict")) return false;
  constexpr std::size_t kWhen = 16;  // "-20261209-101010"
  std::string_view rest = r.Rest();
  if (rest.size() < kWhen) return false;
  std::string_view who = rest.substr(0, rest.size() - kWhen);
  if (!who.empty() && (who.size() < 2 || who.front() != '_')) return false;
  NameReader when(rest.substr(who.size()));
  return when.Literal("-") && when.Stamp() && when.Done();
}

// "-LAPTOP", "-DESKTOP-4KJ9P2A-2": a computer's name (at most 15 of these characters, no
// spaces), perhaps numbered.
bool OneDrive(std::string_view added) {
  if (added.size() < 2 || added.size() > 1 + 15 + 4 || added.front() != '-') return false;
  for (char c : added.substr(1)) {
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c);
    if (!letter && std::string_view("!@#$%^&')(.-_{}~").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return true;
}

}  // namespace

SyncCopyName ClassifySyncCopy(std::string_view name) {
  constexpr std::string_view kExtension = ".txt";
  if (name.size() <= kExtension.size() ||
      !SameLetters(name.substr(name.size() - kExtension.size()), kExtension)) {
    return {};
  }
  name.remove_suffix(kExtension.size());
  // Pad 10 first: "Doc 10..." is no copy of Doc 1.
  for (int pad = kPadCount; pad >= 1; --pad) {
    std::string stem = "Doc " + std::to_string(pad);
    if (!SameLetters(name.substr(0, stem.size()), stem)) continue;
    std::string_view added = name.substr(stem.size());
    if (added.empty() || IsDigit(added.front())) return {};
    if (Syncthing(added)) return {SyncCopyName::Kind::Certain, pad, "syncthing"};
    if (Dropbox(added)) return {SyncCopyName::Kind::Certain, pad, "Dropbox"};
    if (Nextcloud(added)) return {SyncCopyName::Kind::Certain, pad, "Nextcloud"};
    if (OneDrive(added)) return {SyncCopyName::Kind::Ambiguous, pad, "OneDrive"};
    return {};
  }
  return {};
}

}  // namespace vorn
