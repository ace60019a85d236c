#include "core/pad_mirror.h"

#include <algorithm>

#include "core/utf.h"

namespace vorn {

std::optional<PadEdit> PadMirror::GuessEdit(KeyEdit key, const TextSpan& selectionBefore,
                                            std::size_t lengthAfter,
                                            std::size_t selectionEndAfter) const {
  const std::size_t before = text_.size();
  const TextSpan sel = selectionBefore;
  const std::size_t selected = sel.end - sel.start;
  if (sel.end < sel.start || sel.end > before) return std::nullopt;
  PadEdit edit;
  edit.at = std::min(sel.start, selectionEndAfter);
  edit.inserted = selectionEndAfter - edit.at;
  // inserted - removed is how much the text grew.
  if (edit.at + edit.inserted > lengthAfter || edit.inserted + before < lengthAfter) {
    return std::nullopt;
  }
  edit.removed = edit.inserted + before - lengthAfter;
  if (edit.at + edit.removed > before) return std::nullopt;
  bool fits = false;
  if (key == KeyEdit::Typed) {
    // One character (a pair of surrogates at most) at the selection's start, in place of the
    // selection, or of the next character when overtyping.
    fits = edit.at == sel.start && edit.inserted >= 1 && edit.inserted <= 2 &&
           (selected ? edit.removed == selected : edit.removed <= 2);
  } else {
    // The selection, or what lies just before the caret (Backspace) or just after it (Delete).
    fits = edit.inserted == 0 && edit.removed > 0 &&
           (selected ? edit.at == sel.start && edit.removed == selected
                     : edit.at == sel.start || edit.at + edit.removed == sel.start);
  }
  if (!fits) return std::nullopt;
  return edit;
}

TextSpan PadMirror::SpanToRead(const PadEdit& edit, std::size_t lengthAfter) const {
  return {edit.at > kContext ? edit.at - kContext : 0,
          std::min(lengthAfter, edit.at + edit.inserted + kContext)};
}

bool PadMirror::Apply(const PadEdit& edit, std::size_t lengthAfter, std::u16string_view read) {
  TextSpan span = SpanToRead(edit, lengthAfter);
  if (read.size() != span.end - span.start) return false;
  std::size_t head = edit.at - span.start;
  std::size_t tail = read.size() - head - edit.inserted;
  std::u16string_view old(text_);
  if (read.substr(0, head) != old.substr(span.start, head)) return false;
  if (read.substr(head + edit.inserted) != old.substr(edit.at + edit.removed, tail)) return false;
  if (edit.removed >= kLargeRemoval) beforeLargeRemovals_.push_back(text_);
  text_.replace(edit.at, edit.removed, read.substr(head, edit.inserted));
  ++editsSinceTaken_;
  lastEdit_ = edit;
  return true;
}

void PadMirror::Reset(std::u16string text) {
  // A change read whole (a paste, an undo) removed at least the one stretch the texts differ in.
  if (EditBetween(text_, text).removed >= kLargeRemoval) beforeLargeRemovals_.push_back(text_);
  text_ = std::move(text);
  wholeSinceTaken_ = true;
}

ShownEdit PadMirror::TakeEdit() {
  bool one = editsSinceTaken_ == 1 && !wholeSinceTaken_;
  ShownEdit taken{text_, one ? std::optional<PadEdit>(lastEdit_) : std::nullopt,
                  std::move(beforeLargeRemovals_)};
  beforeLargeRemovals_.clear();
  editsSinceTaken_ = 0;
  wholeSinceTaken_ = false;
  return taken;
}

namespace {

bool HighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool LowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

PadEdit EditBetween(std::u16string_view before, std::u16string_view after) {
  std::size_t shorter = std::min(before.size(), after.size());
  std::size_t head = 0;
  while (head < shorter && before[head] == after[head]) ++head;
  if (head > 0 && HighSurrogate(before[head - 1])) --head;
  std::size_t tail = 0;
  while (tail < shorter - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  if (tail > 0 && LowSurrogate(before[before.size() - tail])) --tail;
  return {head, before.size() - head - tail, after.size() - head - tail};
}

std::size_t PositionAfter(const PadEdit& edit, std::size_t position) {
  if (position <= edit.at) return position;
  if (position >= edit.at + edit.removed) return position - edit.removed + edit.inserted;
  return edit.at + std::min(position - edit.at, edit.inserted);
}

std::string PadMirror::Utf8() const { return Utf8FromUtf16(text_, true); }

}  // namespace vorn
