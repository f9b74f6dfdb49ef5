#include <gtest/gtest.h>

#include <random>

#include "text/unit_search.h"
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

// The eight-at-a-time searches against the standard library's: every start,
// short texts and patterns (the tails that do not fill a block), hits at the
// very end, patterns whose first and last units repeat, and units that share
// a low or high byte with the ones searched for.
TEST(UnitSearchTest, AgreesWithThePlainSearchEverywhere) {
  std::mt19937 rng(8);
  const Text alphabet = u"<a>\0\u3042\u4100\u0141";
  for (int round = 0; round < 3000; ++round) {
    Text text;
    const std::size_t n = rng() % 40;
    for (std::size_t i = 0; i < n; ++i) text += alphabet[rng() % alphabet.size()];
    Text find;
    const std::size_t m = 1 + rng() % 4;
    for (std::size_t i = 0; i < m; ++i) find += alphabet[rng() % 3];
    const TextView t = text;
    for (std::size_t from = 0; from <= n + 1; ++from) {
      ASSERT_EQ(units::FindUnits(t, find, from), t.find(find, from)) << round << " " << from;
      ASSERT_EQ(units::FindUnit(t, find[0], from), t.find(find[0], from)) << round << " " << from;
      ASSERT_EQ(units::FindUnit(t, u'\0', from), t.find(u'\0', from)) << round << " " << from;
    }
  }
  Text page(5000, u'a');
  page += u"<style>";
  EXPECT_EQ(units::FindUnits(page, u"<style>", 0), 5000u);
  EXPECT_EQ(units::FindUnits(page, u"<style>>", 0), TextView::npos);
  EXPECT_EQ(units::FindUnits(page, page, 0), 0u);
}

// The sweep for several markers against searching each alone, with both
// cases of ASCII, Latin-1 and full-width letters, the multiplication and
// division signs (which have no other case), and a unit sharing the low byte
// of "<"; texts long enough for the eight-at-a-time filter and its tail.
TEST(InStrAllTest, AgreesWithSearchingEachMarkerAlone) {
  std::mt19937 rng(2);
  const Text alphabet = u"<aA\u00E9\u00C9\u00D7\u00F7\uFF21\uFF41\u413C:";
  for (int round = 0; round < 1500; ++round) {
    Text text;
    const std::size_t n = rng() % 70;
    for (std::size_t i = 0; i < n; ++i) text += alphabet[rng() % alphabet.size()];
    std::vector<Text> finds(1 + rng() % 4);
    const std::size_t shortest = round % 3 == 0 ? 1 : 2;
    for (Text& f : finds) {
      const std::size_t m = shortest + rng() % 3;
      for (std::size_t i = 0; i < m; ++i) f += alphabet[rng() % alphabet.size()];
    }
    for (const Compare cmp : {Compare::Binary, Compare::TextCompare}) {
      const auto all = InStrAll(text, finds, cmp);
      for (std::size_t k = 0; k < finds.size(); ++k) {
        std::vector<Pos> alone;
        for (Pos p = InStr(1, text, finds[k], cmp); p != 0; p = InStr(p + 1, text, finds[k], cmp)) {
          alone.push_back(p);
        }
        ASSERT_EQ(all[k], alone) << round << " " << k << " " << static_cast<int>(cmp);
      }
    }
  }
}

}  // namespace
}  // namespace qp
