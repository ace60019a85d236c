#include "core/pad_mirror.h"

#include <gtest/gtest.h>

#include "core/utf.h"

namespace vorn {
namespace {

// What the control would report after an edit: its new text, and where the selection started
// before and ends after. True when the copy took the edit from a read of the span alone.
bool Follow(PadMirror& mirror, const std::u16string& after, std::size_t startBefore,
            std::size_t endAfter) {
  std::optional<PadEdit> edit = mirror.GuessEdit(startBefore, after.size(), endAfter);
  if (!edit) return false;
  TextSpan span = mirror.SpanToRead(*edit, after.size());
  return mirror.Apply(*edit, after.size(),
                      std::u16string_view(after).substr(span.start, span.end - span.start));
}

TEST(PadMirror, FollowsEditsThatReplaceTheSelection) {
  std::u16string line(200, u'a');
  PadMirror m;
  m.Reset(line + u"\r" + line);
  std::u16string t = m.Text();
  struct Case {
    const char* what;
    std::u16string after;
    std::size_t startBefore, endAfter;
  } cases[] = {
      {"a key typed", t.substr(0, 201) + u"x" + t.substr(201), 201, 202},
      {"Enter", t.substr(0, 201) + u"x\r" + t.substr(201), 202, 203},
      {"Backspace", t.substr(0, 201) + u"x" + t.substr(201), 203, 202},
      {"Delete", t.substr(0, 201) + t.substr(201), 201, 201},
      {"typing over a selection", t.substr(0, 10) + u"Z" + t.substr(201), 10, 11},
      // Select all reaches past the end; whatever the end, the lengths tell what went.
      {"pasting over everything", u"one\rtwo", 0, 7},
      {"an undo that puts text back selected", u"one\rtwo and more", 7, 16},
      {"overtyping one character", u"one\rTwo and more", 4, 5},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Follow(m, c.after, c.startBefore, c.endAfter)) << c.what;
    ASSERT_EQ(m.Text(), c.after) << c.what;
  }
}

TEST(PadMirror, RefusesWhatTheNumbersOrTheTextDoNotBearOut) {
  PadMirror m;
  std::u16string t = u"first line\rsecond line\rthird line";
  m.Reset(t);
  // A line moved by dragging: same length, the caret after the dropped text.
  std::u16string moved = u"second line\rfirst line\rthird line";
  EXPECT_FALSE(Follow(m, moved, 0, 11));
  // Text that grew by more than the caret moved past.
  EXPECT_FALSE(Follow(m, t + u"!!", 5, 6));
  EXPECT_FALSE(m.GuessEdit(40, 41, 41).has_value());  // a start past the end
  EXPECT_EQ(m.Text(), t);                             // nothing refused changed the copy
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
