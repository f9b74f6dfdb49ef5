#include <gtest/gtest.h>

#include "text/ustring.h"

namespace qp {
namespace {

TEST(InStrAllTest, EveryOccurrenceOfEachPatternInOneSweep) {
  const auto hits = InStrAll(u"aaa<Link x<link", {u"aa", u"<link", u"", u"zz"});
  ASSERT_EQ(hits.size(), 4u);
  EXPECT_EQ(hits[0], (std::vector<Pos>{1, 2}));  // overlapping ones too
  EXPECT_EQ(hits[1], (std::vector<Pos>{11}));
  EXPECT_TRUE(hits[2].empty());
  EXPECT_TRUE(hits[3].empty());
  const auto folded = InStrAll(u"File-List FILE-list", {u"file-list"}, Compare::TextCompare);
  EXPECT_EQ(folded[0], (std::vector<Pos>{1, 11}));
}

TEST(InStrTest, LongStretchesGiveTheSameAnswers) {
  // Long texts take the skipping search; it must agree with the plain one.
  Text text(3000, u'x');
  text += u"<LINK rel=a><link rel=b>";
  text += Text(3000, u'\u3042');
  EXPECT_EQ(InStr(text, u"<link rel="), 3013);
  EXPECT_EQ(InStr(text, u"<link rel=", Compare::TextCompare), 3001);
  EXPECT_EQ(InStr(3002, text, u"<LINK", Compare::TextCompare), 3013);
  EXPECT_EQ(InStr(text, u"\u3042\u3042\u3043"), 0);
  EXPECT_EQ(InStrBefore(1, text, u"<link", 3013), 0);
  EXPECT_EQ(InStrBefore(1, text, u"<link", 3014), 3013);
}

}  // namespace
}  // namespace qp
