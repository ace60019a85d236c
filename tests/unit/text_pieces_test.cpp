#include "core/text_pieces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

std::vector<std::u16string> Pieces(std::u16string_view text, std::size_t limit,
                                   std::size_t breaks) {
  std::vector<std::u16string> pieces;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = NextPieceEnd(text, start, limit, breaks);
    EXPECT_GT(end, start);
    pieces.emplace_back(text.substr(start, end - start));
    start = end;
  }
  return pieces;
}

// Cut from the end, as text is taken out of a control: the pieces in order, first to last.
std::vector<std::u16string> PiecesFromTheEnd(std::u16string_view text, std::size_t limit,
                                             std::size_t breaks) {
  std::vector<std::u16string> pieces;
  for (std::size_t end = text.size(); end > 0;) {
    std::size_t start = PreviousPieceStart(text, end, limit, breaks);
    EXPECT_LT(start, end);
    pieces.emplace(pieces.begin(), text.substr(start, end - start));
    end = start;
  }
  return pieces;
}

TEST(TextPieces, JoinBackToTheTextWithNoBreakOrPairCutInTwo) {
  const std::u16string texts[] = {u"a\r\nb\nc\rd\r\r\ne\n\rf\r\n\r\n\n\r",
                                  u"\r\r\r\r\r\r\r\r\n\r\r\nx",
                                  u"x\r\r\n\r\r\r\r\nz\r\r\n\r\n\r\r\r",
                                  u"ab\xD83D\xDE42\xD83D\xDE42\r\r\r\r\n",
                                  u"plain text without any break at all",
                                  u"\r",
                                  u""};
  for (const std::u16string& text : texts) {
    for (std::size_t limit = 1; limit <= 9; ++limit) {
      for (std::size_t breaks = 1; breaks <= 3; ++breaks) {
        for (bool backwards : {false, true}) {
          std::u16string joined;
          for (const std::u16string& piece : backwards ? PiecesFromTheEnd(text, limit, breaks)
                                                       : Pieces(text, limit, breaks)) {
            std::size_t at = joined.size();
            joined += piece;
            EXPECT_TRUE(SafeToCutAt(std::u16string_view(text), at)) << limit << " " << breaks;
          }
          EXPECT_EQ(joined, text) << "limit " << limit << ", breaks " << breaks;
        }
      }
    }
  }
}

TEST(TextPieces, WhereACutIsSafe) {
  std::u16string_view text = u"a\r\r\nb\r\rc\xD83D\xDE42";
  // a | \r | \r | \n | b | \r | \r | c | high | low
  EXPECT_TRUE(SafeToCutAt(text, 1));   // a | CR CR LF
  EXPECT_FALSE(SafeToCutAt(text, 2));  // inside CR CR LF
  EXPECT_FALSE(SafeToCutAt(text, 3));  // inside CR LF
  EXPECT_TRUE(SafeToCutAt(text, 4));
  EXPECT_TRUE(SafeToCutAt(text, 6));  // CR | CR c: two plain breaks either way
  EXPECT_TRUE(SafeToCutAt(text, 7));
  EXPECT_FALSE(SafeToCutAt(text, 9));  // between the halves of a pair
}

TEST(TextPieces, StopAtTheLimitOrTheNumberOfBreaksAndGoFurtherOnlyWithoutASafeCut) {
  std::u16string_view text = u"abcdef\r\nghij";
  EXPECT_EQ(NextPieceEnd(text, 0, 4, 100), 4u);
  EXPECT_EQ(NextPieceEnd(text, 4, 3, 100), 6u);  // "ef", not "ef\r"
  EXPECT_EQ(NextPieceEnd(text, 6, 1, 100), 8u);  // a CR is not cut from its LF
  EXPECT_EQ(NextPieceEnd(text, 8, 100, 100), text.size());
  std::u16string lines = u"1\n2\n3\n4\n5\n";
  EXPECT_EQ(NextPieceEnd(std::u16string_view(lines), 0, 100, 2), 4u);  // "1\n2\n"
  // A long run of CRs is still cut into pieces of a few breaks each.
  std::u16string crs(1000, u'\r');
  EXPECT_EQ(NextPieceEnd(std::u16string_view(crs), 0, 16384, 256), 256u);
}

}  // namespace
}  // namespace vorn
