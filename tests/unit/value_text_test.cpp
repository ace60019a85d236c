// A registry value made from the last one by a key's edit is the value converted whole.
#include <gtest/gtest.h>

#include "core/value_text.h"

namespace {

std::u16string Whole(std::u16string_view shown) {
  std::u16string value;
  for (char16_t c : shown) {
    value += c;
    if (c == u'\r') value += u'\n';
  }
  return value;
}

TEST(ValueText, AKeysEditMakesTheValueConvertedWhole) {
  struct Key {
    std::size_t at, removed;
    std::u16string inserted;
  };
  const Key keys[] = {
      {9, 0, u"!"},           // typed at the end
      {3, 0, u"\r"},          // Enter in the first line
      {4, 1, u""},            // Delete: the line break goes, its LF with it
      {3, 1, u"\r\r"},        // two lines in place of one
      {0, 0, u"\U0001F600"},  // a surrogate pair at the start, far back
      {6, 3, u"x"},           // a selection over a line break typed over
      {0, 2, u""},            // the pair deleted
  };
  vorn::ValueText kept;
  std::u16string shown = u"one\rtwo\r3";
  kept.Of(1, shown, std::nullopt);
  for (const Key& key : keys) {
    shown.replace(key.at, key.removed, key.inserted);
    EXPECT_EQ(kept.Of(1, shown, vorn::PadEdit{key.at, key.removed, key.inserted.size()}),
              Whole(shown));
  }
  // Another pad's text, or an edit that does not fit the text kept, is converted whole.
  EXPECT_EQ(kept.Of(2, u"a\rb", vorn::PadEdit{0, 0, 1}), Whole(u"a\rb"));
  EXPECT_EQ(kept.Of(2, u"a\rbcdef", vorn::PadEdit{3, 0, 1}), Whole(u"a\rbcdef"));
}

}  // namespace
