#include <gtest/gtest.h>

#include "driver_fixture.h"
#include "revise/passes.h"

namespace qp::revise {
namespace {

using test::S;
using test::StateWithPage;
using test::V;

constexpr const char* kNormalRule =
    "p.MsoNormal, li.MsoNormal, div.MsoNormal {margin:0mm; font-size:10.5pt; "
    "font-family:\"Old Style\",serif;}";

TEST(CheckClass, KeepsUsedSelectorsInThePageLayout) {
  RevisionState st = StateWithPage("<p class=MsoNormal>x</p>");
  EXPECT_EQ(
      S(Check_Class(st, V(kNormalRule))),
      "p.MsoNormal⏎           {margin:0mm;font-size:10.5pt;font-family:\"Old Style\",serif;}⏎");
  EXPECT_EQ(S(st.PageText), "<p class=\"MsoNormal\">x</p>");
  EXPECT_TRUE(st.ClassNameSet.Contains(u" class=\"msonormal\""));
  EXPECT_TRUE(st.ClassFontSizeList.empty());  // FontSizeFlag 0
}

TEST(CheckClass, EveryPassingSelectorKeepsItsRuleInOrder) {
  RevisionState st = StateWithPage("<h2>a</h2><p class=A>b</p><h1>c</h1>");
  const Text out = Check_Class(st, V("h1, p.A, h3, h2 {color:red;}"));
  EXPECT_EQ(S(out), "h1         {color:red;}⏎p.A        {color:red;}⏎h2         {color:red;}⏎");
  // once quoted for the first selector, the class no longer reads as bare
  st = StateWithPage("<li class=MsoNormal>a</li><p class=MsoNormal>b</p>");
  EXPECT_EQ(S(Check_Class(st, V("p.MsoNormal, li.MsoNormal {color:red;}"))),
            "p.MsoNormal⏎           {color:red;}⏎");
  EXPECT_EQ(S(st.PageText), "<li class=\"MsoNormal\">a</li><p class=\"MsoNormal\">b</p>");
}

TEST(CheckClass, SelectorWidthsAndUseTests) {
  struct Case {
    const char* page;
    const char* rule;
    const char* out;
  };
  const Case cases[] = {
      {"<h1>x</h1>", "h1 {color:red;}", "h1         {color:red;}⏎"},
      {"<div class=abcdefghi>", "div.abcdef {a:b;}", ""},                 // other class
      {"<p class=abcdefgh>", "p.abcdefgh {a:b;}", "p.abcdefgh {a:b;}⏎"},  // 10 characters
      {"<p class=abcdefghi>", "p.abcdefghi {a:b;}", "p.abcdefghi⏎           {a:b;}⏎"},
      {"<link rel=x>", "li {a:b;}", "li         {a:b;}⏎"},  // a prefix match
      {"<p style=x class=T>", "p.T {a:b;}", ""},            // class not right after <p
      {"<p class=T style=x>", ".T {a:b;}", ".T         {a:b;}⏎"},
      {"<p class=T>", "p {a:b;}", ""},  // bare p always dropped
      {"<a href=x>", "a:link, a:visited {a:b;}", ""},
      {"", "span.x:hover {a:b;}", "span.x:hover⏎           {a:b;}⏎"},  // not looked up
      {"<h1>", "h1 {mso-x:1; mso-y:2;}", ""},                          // nothing left
      {"<h1>", "h1 no braces", ""},
      {"<h1>", "h1 {a:1; mso-b:2; c:3;}", "h1         {a:1;mso-b:2;c:3;}⏎"},  // mso- after ";"
      // the font shorthand keeps its blanks, as font-family does
      {"<h1>", "h1 {font:italic 9pt \"Old Style\"; color:teal;}",
       "h1         {font:italic 9pt \"Old Style\";color:teal;}⏎"},
  };
  for (const Case& c : cases) {
    RevisionState st = StateWithPage(c.page);
    EXPECT_EQ(S(Check_Class(st, V(c.rule))), c.out) << c.rule;
  }
}

TEST(CheckClass, DroppedRuleQuotesNothing) {
  RevisionState st = StateWithPage("<p class=X>");
  EXPECT_EQ(Check_Class(st, V("p.X {mso-a:b;}")), u"");
  EXPECT_EQ(S(st.PageText), "<p class=X>");
  EXPECT_EQ(st.ClassNameSet.size(), 0u);
}

TEST(ClassFontSize, PercentOfTwelvePointsHalvesToEven) {
  struct Case {
    const char* rule;
    const char* out;
  };
  const Case cases[] = {
      {"font-size:7.5pt;", "font-size:62%;"},  {"font-size:13.5pt;", "font-size:112%;"},
      {"font-size:10.5pt;", "font-size:88%;"}, {"font-size:9;", "font-size:9;"},
      {"font-size:14pt;", "font-size:117%;"},  {"font-size:;", "font-size:;"},
  };
  for (const Case& c : cases) {
    RevisionState st;
    Text open = u"<h1", cls, rule = V(c.rule);
    Rev_Class_Fontsize(st, open, cls, rule);
    EXPECT_EQ(S(rule), c.out);
  }
}

TEST(ClassFontSize, EntriesForEveryClassButThePlainParagraph) {
  RevisionState st = StateWithPage("<p class=MsoNormal><p class=MsoTitle><p>");
  st.PageInfo.FontSizeFlag = 1;
  Check_Class(st, V("p.MsoNormal {font-size:10.5pt;}"));
  Check_Class(st, V(".MsoTitle {font-size:14pt;}"));
  Check_Class(st, V("h1 {font-size:16pt;}"));  // no <h1 in the page
  ASSERT_EQ(st.ClassFontSizeList.size(), 2u);
  EXPECT_EQ(S(st.ClassFontSizeList[0]), "<p class=\"MsoNormal\"|</p|10.5pt");
  EXPECT_EQ(S(st.ClassFontSizeList[1]), " class=\"MsoTitle\"||14pt");
  Text open = u"<p", cls, rule = V("p {font-size:12pt;}");
  Rev_Class_Fontsize(st, open, cls, rule);
  EXPECT_EQ(st.ClassFontSizeList.size(), 2u);  // a bare <p adds none
  EXPECT_EQ(S(rule), "p {font-size:100%;}");
}

}  // namespace
}  // namespace qp::revise
