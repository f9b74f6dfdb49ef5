#include "text/codec.h"

#include <gtest/gtest.h>

#include "text/number.h"

namespace qp {
namespace {

TEST(Cp932Test, JapaneseRoundTripsAndMissingCharactersBecomeReferences) {
  const Text jp = u"日本語のテキスト、半角ｶﾅ";
  EXPECT_EQ(Cp932ToText(TextToCp932(jp)), jp);
  EXPECT_EQ(TextToCp932(u"あ"), "\x82\xA0");
  EXPECT_EQ(TextToCp932(u"a\u00E9b"), "a&#233;b");
  EXPECT_EQ(TextToCp932(u"\U0001F600"), "&#128512;");  // a surrogate pair is one reference
}

TEST(Cp932Test, CharactersGlibcMapsOneWayAreReferencesAsWindowsWrites) {
  EXPECT_EQ(TextToCp932(u"\u00A5\u2014\u301C\u2212"), "&#165;&#8212;&#12316;&#8722;");
  // Windows' own forms of the same glyphs do encode
  EXPECT_EQ(TextToCp932(u"\u2015"), "\x81\x5C");
  EXPECT_EQ(TextToCp932(u"\uFF5E"), "\x81\x60");
  EXPECT_EQ(Cp932ToText("\x81\x60"), u"\uFF5E");
  EXPECT_EQ(Cp932ToText("\\~"), u"\\~");
}

TEST(Cp932Test, WindowsLoneBytesRoundTripAndOtherUndecodableBytesAreReplaced) {
  // 0x80, 0xA0 and 0xFD-0xFF stand alone, even where a trail byte could follow.
  const std::string lone =
      "\x80"
      "a\xA0\xFD\xFE\xFF\x82\xA0\x80";
  EXPECT_EQ(Cp932ToText(lone),
            u"\u0080"
            u"a\uF8F0\uF8F1\uF8F2\uF8F3あ\u0080");
  EXPECT_EQ(TextToCp932(Cp932ToText(lone)), lone);
  EXPECT_EQ(TextToCp932(u"\uF8F4\u0081"), "&#63732;&#129;");  // their neighbours have no form
  EXPECT_EQ(Cp932ToText("a\x81"), u"a\uFFFD");
}

TEST(Utf8Test, RoundTripAndInvalidSequences) {
  const Text t = u"aé日\U0001F600";
  EXPECT_EQ(Utf8ToText(TextToUtf8(t)), t);
  EXPECT_EQ(Utf8ToText("a\xC3"), u"a\uFFFD");
  // one U+FFFD per maximal invalid subpart, as browsers decode
  EXPECT_EQ(Utf8ToText("a\xED\xA0\x80"
                       "b\xC0\xAF"
                       "c"),
            u"a\uFFFD\uFFFD\uFFFDb\uFFFD\uFFFDc");  // a surrogate, an overlong form
  EXPECT_EQ(Utf8ToText("\xE6\x97"
                       "a\xF0\x9F\x98"
                       "b"),
            u"\uFFFDa\uFFFDb");                                               // cut short
  EXPECT_EQ(Utf8ToText("\xF4\x90\x80\x80\xF5\xFF\x80"), Text(7, u'\uFFFD'));  // past U+10FFFF
  EXPECT_EQ(Utf8ToText("\xE0\x9F\x80\xF0\x8F"), Text(5, u'\uFFFD'));          // overlong leads
  EXPECT_EQ(Utf8ToText("\xE0\xA0\x80\xF4\x8F\xBF\xBF"), u"\u0800\U0010FFFF");
}

TEST(NumberTest, LeadingNumberShortestFormAndHalvesToEven) {
  EXPECT_EQ(LeadingNumber(u"10.5pt"), 10.5);
  EXPECT_EQ(LeadingNumber(u"-.5x"), -0.5);
  EXPECT_EQ(LeadingNumber(u"pt"), 0);
  EXPECT_EQ(LeadingNumber(u"18.0"), 18);
  EXPECT_EQ(FormatNumber(18.0), u"18");
  EXPECT_EQ(FormatNumber(-0.25), u"-0.25");
  // Written out in full (the double's exact digits), never cut short.
  EXPECT_EQ(FormatNumber(1e40).size(), 41u);
  EXPECT_EQ(FormatNumber(-1e300).size(), 302u);
  EXPECT_EQ(FormatSingle(425.2f), u"425.2");
  EXPECT_EQ(FormatSingle(595.3f - 85.05f - 85.05f), u"425.2");
  EXPECT_EQ(RoundHalfEven(62.5), 62);
  EXPECT_EQ(RoundHalfEven(112.5), 112);
  EXPECT_EQ(RoundHalfEven(113.5), 114);
  EXPECT_FALSE(ParseDecimal(u"").has_value());
  EXPECT_FALSE(ParseDecimal(u"1x").has_value());
  EXPECT_EQ(*ParseDecimal(u" 2.5 "), 2.5);
}

}  // namespace
}  // namespace qp
