#include "core/pad_mirror.h"

#include <gtest/gtest.h>

#include "core/utf.h"

namespace vorn {
namespace {

// What the control would report after a key: its new text, the selection before and where the
// selection ends after. True when the copy took the edit from a read of the span alone.
bool Follow(PadMirror& mirror, KeyEdit key, const std::u16string& after, TextSpan before,
            std::size_t endAfter) {
  std::optional<PadEdit> edit = mirror.GuessEdit(key, before, after.size(), endAfter);
  if (!edit) return false;
  TextSpan span = mirror.SpanToRead(*edit, after.size());
  return mirror.Apply(*edit, after.size(),
                      std::u16string_view(after).substr(span.start, span.end - span.start));
}

TEST(PadMirror, FollowsOneKeyAtTheSelection) {
  std::u16string line(200, u'a');
  PadMirror m;
  m.Reset(line + u"\r" + line);
  std::u16string t = m.Text();
  const KeyEdit typed = KeyEdit::Typed, deleted = KeyEdit::Deleted;
  struct Case {
    const char* what;
    KeyEdit key;
    std::u16string after;
    TextSpan before;
    std::size_t endAfter;
  } cases[] = {
      {"a key typed", typed, t.substr(0, 201) + u"x" + t.substr(201), {201, 201}, 202},
      {"Enter", typed, t.substr(0, 202) + u"\r" + t.substr(202), {202, 202}, 203},
      {"Backspace", deleted, t.substr(0, 202) + t.substr(203), {203, 203}, 202},
      {"Delete", deleted, t.substr(0, 201) + t.substr(203), {201, 201}, 201},
      {"a word before the caret", deleted, t.substr(0, 4) + t.substr(200), {200, 200}, 4},
      {"typing over a selection", typed, t.substr(0, 4) + u"Z" + t.substr(10), {4, 10}, 5},
      {"overtyping one character", typed, t.substr(0, 4) + u"Y" + t.substr(5), {4, 4}, 5},
      {"Delete on a selection", deleted, t.substr(0, 3) + t.substr(5), {3, 5}, 3},
  };
  for (const Case& c : cases) {
    m.Reset(t);
    ASSERT_TRUE(Follow(m, c.key, c.after, c.before, c.endAfter)) << c.what;
    ASSERT_EQ(m.Text(), c.after) << c.what;
  }
}

TEST(PadMirror, RefusesWhatOneKeyCannotHaveDone) {
  PadMirror m;
  std::u16string t = u"Monday's plan\rsecond line\rthird line";
  m.Reset(t);
  // More than a character typed, a selection deleted in part, text that grew on Delete.
  EXPECT_FALSE(Follow(m, KeyEdit::Typed, t.substr(0, 5) + u"xyz" + t.substr(5), {5, 5}, 8));
  EXPECT_FALSE(Follow(m, KeyEdit::Deleted, t.substr(0, 5) + t.substr(8), {5, 10}, 5));
  EXPECT_FALSE(Follow(m, KeyEdit::Deleted, t + u"!", {5, 5}, 5));
  // A line moved by dragging: same length, the caret after the dropped text.
  EXPECT_FALSE(Follow(m, KeyEdit::Typed, u"second line\rMonday's plan\rthird line", {0, 0}, 1));
  EXPECT_FALSE(m.GuessEdit(KeyEdit::Typed, {40, 40}, 41, 41).has_value());  // past the end
  // Numbers that fit one key, around text that differs from the copy before or after it:
  // something else changed the pad as well.
  EXPECT_FALSE(Follow(m, KeyEdit::Typed, u"T" + t.substr(1, 4) + u"x" + t.substr(5), {5, 5}, 6));
  EXPECT_FALSE(Follow(m, KeyEdit::Typed,
                      t.substr(0, 5) + u"x" + t.substr(5, 4) + u"!" + t.substr(10), {5, 5}, 6));
  EXPECT_EQ(m.Text(), t);  // nothing refused changed the copy
}

TEST(Utf, ConvertsBothWaysAsTheSystemDoes) {
  std::string text =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xF0\x9F\x99\x82 \xE2\x82\xAC";
  std::u16string wide = Utf16FromUtf8(text);
  EXPECT_EQ(wide, u"Grüße 🙂 €");
  EXPECT_EQ(Utf8FromUtf16(wide), text);
  // Each bad byte is one U+FFFD; a lone surrogate and an encoded one are ill-formed too.
  EXPECT_EQ(Utf16FromUtf8("a\xC3(\xFF\xED\xA0\x80z"), u"a\uFFFD(\uFFFD\uFFFD\uFFFD\uFFFDz");
  EXPECT_EQ(Utf8FromUtf16(std::u16string(u"x") + char16_t(0xD800) + u"y"), "x\xEF\xBF\xBDy");
  PadMirror m;
  m.Reset(u"one\rtwo\r");
  EXPECT_EQ(m.Utf8(), "one\r\ntwo\r\n");
}

}  // namespace
}  // namespace vorn
