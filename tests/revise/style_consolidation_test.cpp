#include "fixtures.h"
#include "text/number.h"

namespace qp::revise {
namespace {

using testing::ExpectFailure;
using testing::Show;
using testing::V;

struct Consolidated {
  std::string page;
  std::string sheet;
};

Consolidated Consolidate(std::string_view page, std::string_view sheet = "") {
  RevisionState st;
  st.PageText = V(page);
  st.StyleSheetText = V(sheet);
  Toget_Style(st);
  return {Show(st.PageText), Show(st.StyleSheetText)};
}

TEST(TogetStyle, EachDistinctStyleTextBecomesANumberedClass) {
  const auto r =
      Consolidate("<p style='margin:0mm'>a</p><span style='color:red'>b</span>", "p {x:y}¶");
  EXPECT_EQ(r.page, R"(<p class="c1">a</p><span class="c2">b</span>)");
  EXPECT_EQ(r.sheet, Show(V("p {x:y}¶body .c1   {margin:0mm}¶body .c2   {color:red}¶")));
}

TEST(TogetStyle, ClassesAreNumberedByElementNameFirst) {
  const auto r = Consolidate("<p style='a:1'>x</p><span style='b:2'>y</span><p style='c:3'>z</p>");
  EXPECT_EQ(r.page, R"(<p class="c1">x</p><span class="c3">y</span><p class="c2">z</p>)");
  EXPECT_EQ(r.sheet, Show(V("body .c1   {a:1}¶body .c2   {c:3}¶body .c3   {b:2}¶")));
}

TEST(TogetStyle, OneStyleTextOnTwoElementsGivesTwoRulesButOneClassInThePage) {
  const auto r = Consolidate(
      "<p style='color:red'>a</p><p style='color:red'>b</p><span style='color:red'>c</span>");
  EXPECT_EQ(r.page, R"(<p class="c1">a</p><p class="c1">b</p><span class="c1">c</span>)");
  EXPECT_EQ(r.sheet, Show(V("body .c1   {color:red}¶body .c2   {color:red}¶")));
}

TEST(TogetStyle, StyleTextsDifferingInCaseCountOnce) {
  const auto r = Consolidate("<p style='color:red'>a</p><p style='COLOR:red'>b</p>");
  EXPECT_EQ(r.page, R"(<p class="c1">a</p><p style='COLOR:red'>b</p>)");
  EXPECT_EQ(r.sheet, Show(V("body .c1   {color:red}¶")));
}

TEST(TogetStyle, OnlySingleQuotedStylesAfterABlankAreTaken) {
  const auto r = Consolidate(R"(<p style="a:b">x</p><p→style='c:d'>y</p>)");
  EXPECT_EQ(r.page, R"(<p style="a:b">x</p><p→style='c:d'>y</p>)");
  EXPECT_EQ(r.sheet, "");
}

TEST(TogetStyle, DoubledClassAttributesMerge) {
  EXPECT_EQ(Consolidate(R"(<p class="x" style='a:1'>t</p>)").page, R"(<p class="x c1">t</p>)");
  EXPECT_EQ(Consolidate(R"(<td class="x" id=y style='a:1' title=z>)").page,
            R"(<td class="x c1" id=y title=z>)");
  // already doubled classes merge without any style
  EXPECT_EQ(Consolidate(R"(<p class="a"  class="b">)").page, R"(<p class="a b" >)");
  EXPECT_EQ(Consolidate(R"(<p class="a">x<p class="b">)").page, R"(<p class="a">x<p class="b">)");
  // a bare opener counts as an empty value
  EXPECT_EQ(Consolidate(R"(<p class=" class="b">)").page, R"(<p class=" b">)");
  EXPECT_EQ(Consolidate(R"(<p class=MsoNormal style='a:1'>)").page,
            R"(<p class=MsoNormal class="c1">)");
}

TEST(TogetStyle, RuleBracesStandInOneColumn) {
  RevisionState st;
  Text page;
  for (int i = 0; i < 10; ++i) page += u"<p style='n:" + FormatInteger(i) + u"'>";
  st.PageText = page;
  Toget_Style(st);
  EXPECT_NE(st.StyleSheetText.find(u"body .c10  {n:9}\r\n"), Text::npos);
}

TEST(TogetStyle, AStyleValueEndingInAnotherOpenerIsReplacedClassByClass) {
  // The stretch of the first attribute runs into the second one; the page
  // then gets the replacements one class after another.
  const auto r = Consolidate("<p style='a style='b'><i style='a style='>");
  EXPECT_EQ(r.page, R"(<p class="c1"b'><i class="c1">)");
  EXPECT_EQ(r.sheet, Show(V("body .c1   {a style=}¶body .c2   {a style=}¶")));
}

TEST(TogetStyle, StructureFailures) {
  const auto pass = [](RevisionState& st) { Toget_Style(st); };
  constexpr auto page = &RevisionState::PageText;
  constexpr char where[] = "Mod_HtmlRev -> Toget_Style";
  ExpectFailure(pass, page, "a style='b' c", where, err::kStructure, 1);
  ExpectFailure(pass, page, "<p style='a:b>x</p>", where, err::kStructure, 1);
  ExpectFailure(pass, page, "<p>x</p> style='a'", where, err::kStructure, 1);
  ExpectFailure(pass, page, R"(<p class="a")", where, err::kStructure, 3);
}

}  // namespace
}  // namespace qp::revise
