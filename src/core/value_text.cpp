#include "core/value_text.h"

namespace vorn {

namespace {

// Appends `shown` to `value` with each line break as a value keeps it.
void AppendAsValue(std::u16string& value, std::u16string_view shown) {
  for (char16_t c : shown) {
    value += c;
    if (c == u'\r') value += u'\n';
  }
}

}  // namespace

const std::u16string& ValueText::Of(int pad, std::u16string_view shown,
                                    const std::optional<PadEdit>& edit) {
  if (pad == pad_ && edit && Follow(shown, *edit)) return value_;
  value_.clear();
  AppendAsValue(value_, shown);
  breaks_ = value_.size() - shown.size();
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
  AppendAsValue(inserted, shown.substr(edit.at, edit.inserted));
  breaks_ += inserted.size() - edit.inserted;
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
