#include "text/ustring.h"

#include <gtest/gtest.h>

#include "text/line_ends.h"

namespace qp {
namespace {

TEST(InStrTest, PositionsAreOneBasedAndZeroMeansNotFound) {
  EXPECT_EQ(InStr(u"abcabc", u"c"), 3);
  EXPECT_EQ(InStr(4, u"abcabc", u"c"), 6);
  EXPECT_EQ(InStr(7, u"abcabc", u"c"), 0);
  EXPECT_EQ(InStr(u"abc", u"C"), 0);
  EXPECT_EQ(InStr(u"abc", u"C", Compare::TextCompare), 3);
  EXPECT_EQ(InStr(u"<LINK REL=File-List", u"<link rel=file-list", Compare::TextCompare), 1);
  EXPECT_EQ(InStr(u"", u"a"), 0);
}

TEST(InStrRevTest, FindsLastOccurrenceLyingWhollyBeforeStart) {
  EXPECT_EQ(InStrRev(u"a<b<c", u"<"), 4);
  EXPECT_EQ(InStrRev(u"a<b<c", u"<", 3), 2);
  EXPECT_EQ(InStrRev(u"<span<span", u"<span", 9), 1);  // second one ends at 10
  EXPECT_EQ(InStrRev(u"<span<span", u"<span", 10), 6);
  EXPECT_EQ(InStrRev(u"abc", u"x"), 0);
  EXPECT_EQ(InStrRev(u"ABC", u"b", -1, Compare::TextCompare), 2);
}

TEST(ReplaceTest, AllNonOverlappingOccurrencesInOneSweep) {
  EXPECT_EQ(Replace(u"aaaa", u"aa", u"a"), u"aa");  // inserted text is not searched again
  EXPECT_EQ(Replace(u"\r\n\r\n\r\n", u"\r\n\r\n", u"\r\n"), u"\r\n\r\n");
  EXPECT_EQ(Replace(u"x.DOC\" y.doc\"", u".doc\"", u".htm\""), u"x.DOC\" y.htm\"");
  Text t = u"abAB";
  EXPECT_EQ(ReplaceAll(t, u"ab", u"-", Compare::TextCompare), 2u);
  EXPECT_EQ(t, u"--");
}

TEST(MarkingTest, MarksAreClampedAndCompactRemovesThem) {
  Text t = u"abcdef";
  MarkDeleted(t, 2, 2);
  MarkDeleted(t, 6, 10);  // past the end: only what exists
  EXPECT_EQ(t.size(), 6u);
  EXPECT_TRUE(Compact(t));
  EXPECT_EQ(t, u"ade");
  EXPECT_FALSE(Compact(t));
}

TEST(PiecesTest, MidTrimSplit) {
  EXPECT_EQ(Mid(u"abcdef", 3, 2), u"cd");
  EXPECT_EQ(Mid(u"abcdef", 5), u"ef");
  EXPECT_EQ(Mid(u"abc", 9), u"");
  EXPECT_EQ(Trim(u"  a b \t "), u"a b \t");  // only blanks are trimmed
  const auto pieces = Split(u"a|b||", u"|");
  ASSERT_EQ(pieces.size(), 4u);
  EXPECT_EQ(pieces[3], u"");
}

TEST(LineEndsTest, LoneLineFeedsBecomeCrLfAndCrLfStays) {
  EXPECT_EQ(LoneLfToCrLf(u"a\nb\r\nc\n"), u"a\r\nb\r\nc\r\n");
  EXPECT_EQ(LoneLfToCrLf(u"\n\n"), u"\r\n\r\n");
  EXPECT_EQ(LoneLfToCrLf(u"\r\r\n\r"), u"\r\r\n\r");
  EXPECT_EQ(LoneLfToCrLf(u"no breaks"), u"no breaks");
  EXPECT_EQ(LoneLfToCrLf(u""), u"");
}

}  // namespace
}  // namespace qp
