// The text written here that stayed in a pad's store a while before the next write replaced it:
// a sync service had time to carry it off, and another computer may have started from it. A
// copy of it taken at the first key after each pause cost that key as much again as the text is
// long; instead the edits written since are kept, and undone from the store's text when the
// settled text is asked for (a merge, rare). A text replaced some other way is copied first.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

class SettledText {
 public:
  // The store's text as it is now is the settled one.
  void Settle();
  // The store's text, now `stored`, had `inserted` bytes put at byte `at` in place of
  // `removed`.
  void Edited(const std::optional<std::string>& stored, std::size_t at, std::string removed,
              std::size_t inserted);
  // The store's text, `stored`, is about to be replaced otherwise: the settled text stays.
  void Replacing(const std::optional<std::string>& stored);
  // The settled text, the store's text being `stored`; nothing where none is known.
  const std::optional<std::string>& Text(const std::optional<std::string>& stored);

 private:
  struct Edit {
    std::size_t at;
    std::string removed;
    std::size_t inserted;
  };
  // Past this many edits, the text is undone and kept as such.
  static constexpr std::size_t kMostEdits = 4096;

  std::optional<std::string> text_;
  bool followsStore_ = false;  // the text is the store's with edits_ undone
  std::vector<Edit> edits_;
};

}  // namespace vorn
