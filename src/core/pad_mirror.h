// A copy of the text a pad's control holds, kept in step with each edit, so that storing a
// change costs a copy of the text and not a read of all of it out of the control: on some
// systems that read takes tens of milliseconds per megabyte, far more than the write itself.
//
// A typed character and Backspace or Delete are followed: an edit at `at` removes `removed`
// units and puts `inserted` in their place, and leaves the caret after them. From the lengths
// before and after, the selection before and the selection's end after, the edit follows; it is
// taken only where every number fits that one key (a character in place of the selection or,
// in overtype mode, of the next one; the selection, a character or a word deleted), and where
// the inserted text read with a little around it agrees with the copy. Anything else (a paste,
// a cut, a drop, an undo, a key some other way) is read whole: those are rare, and a wrong guess
// would store text other than the pad's.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// What a key did to a pad, as far as the copy may follow it without reading the whole text.
enum class KeyEdit { Typed, Deleted };

struct PadEdit {
  std::size_t at = 0;
  std::size_t removed = 0;
  std::size_t inserted = 0;
};

// A stretch of the control's text, [start, end), in UTF-16 units with a line break as one CR.
struct TextSpan {
  std::size_t start = 0;
  std::size_t end = 0;
};

// A pad's text after an edit as its control holds it, and the one edit since the text was last
// stored, where the pad knows it; and the pad's text before each change since then that removed
// or replaced 32 characters or more, for the history: keys stored together (select all and a
// new text, again and again faster than a store) make texts the store never held.
struct ShownEdit {
  std::u16string_view text;
  std::optional<PadEdit> edit;
  std::vector<std::u16string> beforeLargeRemovals;
};

// The one stretch in which `after` differs from `before`, as an edit of `before`: what the two
// share at their start and at their end stays, and is never cut between a surrogate pair.
// Text taken in from elsewhere replaces that stretch only, which costs the control what changed.
PadEdit EditBetween(std::u16string_view before, std::u16string_view after);
// Where `position` in the text before `edit` lies after it: before the edit where it was, after
// it moved with the text that follows, within it as far in as the new text allows.
std::size_t PositionAfter(const PadEdit& edit, std::size_t position);

class PadMirror {
 public:
  // Units of unchanged text on each side of an edit that must agree with the copy.
  static constexpr std::size_t kContext = 64;
  // An edit that removes this much keeps the text before it (see VersionTiming).
  static constexpr std::size_t kLargeRemoval = 32;

  const std::u16string& Text() const { return text_; }
  std::size_t Length() const { return text_.size(); }
  // The copy takes the control's whole text: what changed since the last TakeEdit is unknown.
  void Reset(std::u16string text);

  // The edit with which `key` turned the copy, with `selectionBefore` selected, into a text of
  // `lengthAfter` units with the selection ending at `selectionEndAfter`; nothing when the
  // numbers fit no such edit.
  std::optional<PadEdit> GuessEdit(KeyEdit key, const TextSpan& selectionBefore,
                                   std::size_t lengthAfter, std::size_t selectionEndAfter) const;
  // What to read of the new text to take `edit`: the inserted text with its context.
  TextSpan SpanToRead(const PadEdit& edit, std::size_t lengthAfter) const;
  // Takes the edit when `read`, the new text over SpanToRead, agrees with the copy around it.
  bool Apply(const PadEdit& edit, std::size_t lengthAfter, std::u16string_view read);

  // The text as UTF-8 with each line break as CR LF, as the program stores it.
  std::string Utf8() const;

  // The text, and the one edit the copy followed since this was last asked, for the store to
  // follow it too (nothing when there were more, or the copy was read whole), with the texts
  // before the large removals since.
  ShownEdit TakeEdit();

 private:
  std::u16string text_;
  std::size_t editsSinceTaken_ = 0;
  std::vector<std::u16string> beforeLargeRemovals_;
  bool wholeSinceTaken_ = true;
  PadEdit lastEdit_;
};

}  // namespace vorn
