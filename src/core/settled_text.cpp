#include "core/settled_text.h"

namespace vorn {

void SettledText::Settle() {
  edits_.clear();
  followsStore_ = true;
}

void SettledText::Edited(const std::optional<std::string>& stored, std::size_t at,
                         std::string removed, std::size_t inserted) {
  if (!followsStore_) return;
  edits_.push_back({at, std::move(removed), inserted});
  if (edits_.size() > kMostEdits) Text(stored);
}

void SettledText::Replacing(const std::optional<std::string>& stored) {
  if (followsStore_) Text(stored);
}

const std::optional<std::string>& SettledText::Text(const std::optional<std::string>& stored) {
  if (followsStore_) {
    text_ = stored;
    for (auto edit = edits_.rbegin(); text_ && edit != edits_.rend(); ++edit) {
      text_->replace(edit->at, edit->inserted, edit->removed);
    }
    edits_.clear();
    followsStore_ = false;
  }
  return text_;
}

}  // namespace vorn
