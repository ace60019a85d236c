#include "core/value_text.h"

#include <algorithm>

namespace vorn {

const std::u16string& ValueText::Of(int pad, std::u16string_view shown,
                                    const std::optional<PadEdit>& edit) {
  if (pad == pad_ && edit && Follow(shown, *edit)) return value_;
  breaks_ = static_cast<std::size_t>(std::count(shown.begin(), shown.end(), u'\r'));
  value_.resize(shown.size() + breaks_);
  char16_t* out = value_.data();
  for (char16_t c : shown) {
    *out++ = c;
    if (c == u'\r') *out++ = u'\n';
  }
  pad_ = pad;
  placeUnits_ = placeIndex_ = 0;
  return value_;
}

bool ValueText::Follow(std::u16string_view shown, const PadEdit& edit) {
  const std::size_t unitsBefore = value_.size() - breaks_;
  if (edit.at + edit.removed > unitsBefore || edit.at + edit.inserted > shown.size() ||
      shown.size() + edit.removed != unitsBefore + edit.inserted) {
    return false;
  }
  const std::size_t start = IndexOf(edit.at);
  std::size_t end = start;
  for (std::size_t unit = 0; unit < edit.removed; ++unit) {
    if (value_[end] == u'\r') --breaks_, ++end;  // its LF goes with it
    ++end;
  }
  std::u16string inserted;
  for (char16_t c : shown.substr(edit.at, edit.inserted)) {
    inserted += c;
    if (c == u'\r') inserted += u'\n', ++breaks_;
  }
  value_.replace(start, end - start, inserted);
  placeUnits_ = edit.at + edit.inserted;
  placeIndex_ = start + inserted.size();
  return value_.size() == shown.size() + breaks_;
}

std::size_t ValueText::IndexOf(std::size_t units) {
  // Typing moves the place a few units at a time; a jump far back is walked from the start.
  if (units < placeUnits_ / 2) placeUnits_ = placeIndex_ = 0;
  while (placeUnits_ > units) {
    --placeIndex_;
    if (value_[placeIndex_] == u'\n' && placeIndex_ > 0 && value_[placeIndex_ - 1] == u'\r') {
      --placeIndex_;
    }
    --placeUnits_;
  }
  while (placeUnits_ < units) {
    placeIndex_ += value_[placeIndex_] == u'\r' ? 2 : 1;
    ++placeUnits_;
  }
  return placeIndex_;
}

}  // namespace vorn
