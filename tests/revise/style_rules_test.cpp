#include <gtest/gtest.h>

#include "driver_fixture.h"
#include "revise/driver_steps.h"

namespace qp::revise {
namespace {

using test::S;
using test::StateWithPage;
using test::V;

TEST(StyleBlock, CutIntoRuleLines) {
  Text sheet = V("<!--⏎ /* Font */⏎@font-face⏎{font-family:x;}⏎p.a, li.a⏎{ margin:0; }⏎-->");
  std::vector<std::string> lines;
  for (const Text& rule : StyleBlockToRules(sheet)) lines.push_back(S(rule));
  EXPECT_EQ(lines, (std::vector<std::string>{"/* Font */", "@font-face {font-family:x;}",
                                             "p.a, li.a {margin:0; }"}));
  EXPECT_FALSE(IsCheckedRule(u"@page Section1 {size:x;}"));
  EXPECT_FALSE(IsCheckedRule(u"/* comment */"));
  EXPECT_FALSE(IsCheckedRule(u"div.Section1 {page:Section1;}"));
  EXPECT_FALSE(IsCheckedRule(u""));
  EXPECT_TRUE(IsCheckedRule(u"div.WordSection1 {page:WordSection1;}"));
}

TEST(StyleBlock, ABraceInAQuotedValueDoesNotEndItsRule) {
  // "} " inside a quote is no rule end; a quote left open ends with its line
  Text sheet =
      V("<!--⏎p.A {font-family:\"A} B\";color:red;} p.B {color:blue;}⏎"
        "p.C {font-family:\"x;}⏎p.D {color:navy;}⏎-->");
  std::vector<std::string> lines;
  for (const Text& rule : StyleBlockToRules(sheet)) lines.push_back(S(rule));
  EXPECT_EQ(lines,
            (std::vector<std::string>{"p.A {font-family:\"A} B\";color:red;}", "p.B {color:blue;}",
                                      "p.C {font-family:\"x;}", "p.D {color:navy;}"}));
}

TEST(BodyRule, PresentationalAttributesBecomeTheBodyRule) {
  RevisionState st =
      StateWithPage("<body bgcolor=white lang=JA link=blue vlink=purple alink=red style='x'>⏎<p>");
  st.StyleSheetText = u"old";
  BodyRule(st);
  EXPECT_EQ(S(st.PageText), "<body lang=JA style='x'>⏎<p>");
  EXPECT_EQ(S(st.StyleSheetText), "body       {background-color:white;}⏎");

  st = StateWithPage("<body bgcolor=\"#ffffff\" background=\"a b.gif\" x>");
  st.PageInfo.BodyMargin = 1;
  st.PageInfo.MarginTop = 1;
  st.PageInfo.MarginRight = 2;
  st.PageInfo.MarginBottom = 3;
  st.PageInfo.MarginLeft = 4;
  BodyRule(st);
  EXPECT_EQ(S(st.PageText), "<body b.gif\" x>");  // the image value ends at the blank
  EXPECT_EQ(S(st.StyleSheetText),
            "body       {background-color:#ffffff;background-image:url(\"a);"
            "mmmmmm:1px 2px 3px 4px;}⏎");
}

TEST(BodyRule, UnfinishedOrEmptyValuesStay) {
  RevisionState st = StateWithPage("<body bgcolor=\"red x>");
  BodyRule(st);
  EXPECT_EQ(S(st.PageText), "<body bgcolor=\"red x>");
  EXPECT_EQ(st.StyleSheetText, u"");
  st = StateWithPage("<body>⏎<p>");  // nothing to take, still no failure
  BodyRule(st);
  EXPECT_EQ(S(st.PageText), "<body>⏎<p>");
}

TEST(TidyRules, DefaultsGoAndSpacingIsEven) {
  RevisionState st;
  st.StyleSheetText =
      V("body       {mmmmmm:0px 0px 0px 0px;}⏎span.x     {margin-top:0px;text-align:justify;"
        "font-weight:normal;MARGIN-TOP:0px;color:windowtext}⏎");
  st.PageInfo.BodyMargin = 1;
  TidyStyleRules(st);
  EXPECT_EQ(S(st.StyleSheetText),
            "body       {margin:0px 0px 0px 0px}⏎span.x     {text-align:left; MARGIN-TOP:0px}⏎");
  st.StyleSheetText = V("body       {mmmmmm:0px;}⏎");
  st.PageInfo.BodyMargin = 0;
  TidyStyleRules(st);
  EXPECT_EQ(S(st.StyleSheetText), "body       {mmmmmm:0px}⏎");
}

TEST(TidyRules, AValueStaysWhereTheElementsDefaultDiffers) {
  RevisionState st;
  st.StyleSheetText =
      V("p          {margin-top:0px;margin-bottom:0px;font-weight:normal}⏎"
        "h2         {font-weight:normal;margin-left:0px}⏎"
        "table.MsoNormalTable⏎           {border-collapse:collapse;margin-left:0px}⏎"
        "td         {padding:0px 0px 0px 0px}⏎"
        "span.a, h1 {font-weight:normal}⏎"
        "body .c1   {margin-top:0px;font-weight:normal}⏎");  // a class on any element
  TidyStyleRules(st);
  EXPECT_EQ(S(st.StyleSheetText),
            "p          {margin-top:0px; margin-bottom:0px}⏎"
            "h2         {font-weight:normal; margin-left:0px}⏎"
            "table.MsoNormalTable⏎           {border-collapse:collapse}⏎"
            "td         {padding:0px 0px 0px 0px}⏎"
            "span.a, h1 {font-weight:normal}⏎"
            "body .c1   {margin-top:0px; font-weight:normal}⏎");
}

TEST(TidyRules, NoValueKeepsAnUnbalancedQuoteOrAQuotedSemicolon) {
  RevisionState st;
  st.StyleSheetText =
      V("p          {font-family:\"ＭＳ 明朝;MSMincho\";MSMincho\";font-size:88%;}⏎"
        "h1         {font-family:\"Arial;font-size:9px;color:red}⏎"
        "body .c1   {content:'a;b';x\"y:1;font-family:'A; B',serif}⏎"
        "body .c2   {font-family:\"Old Style\",serif;}⏎"  // nothing to mend
        "p.A        {font:9pt \"A;B\";color:teal;}⏎"      // the shorthand's list too
        "p.B        {font-family:\"C;\",serif}⏎p.C        {font-family:\";\"}⏎");
  TidyStyleRules(st);
  EXPECT_EQ(S(st.StyleSheetText),
            "p          {font-family:\"ＭＳ 明朝\",\"MSMincho\"; font-size:88%}⏎"
            "h1         {font-size:9px; color:red}⏎"
            "body .c1   {font-family:'A','B',serif}⏎"
            "body .c2   {font-family:\"Old Style\",serif}⏎"
            "p.A        {font:9pt \"A\",\"B\"; color:teal}⏎"
            "p.B        {font-family:\"C\",serif}⏎p.C        {}⏎");
}

TEST(TidyRules, ABraceInAQuotedValueStaysInside) {
  RevisionState st;
  st.StyleSheetText =
      V("p.A        {font-family:\"A}B\";color:red;}⏎p.B        {color:blue;}⏎"
        "body .c3   {font-family:'x}y';color:navy}⏎"
        "h1         {font-family:\"z;}⏎h2         {color:teal}⏎");  // open to the line's end
  TidyStyleRules(st);
  EXPECT_EQ(S(st.StyleSheetText),
            "p.A        {font-family:\"A}B\"; color:red}⏎p.B        {color:blue}⏎"
            "body .c3   {font-family:'x}y'; color:navy}⏎"
            "h1         {}⏎h2         {color:teal}⏎");
}

TEST(NormalParagraph, BecomesTheRuleForP) {
  RevisionState st = StateWithPage(
      "<p class=\"MsoNormal\">a</p><p class=\"MsoNormal c1\">b</p><p class=\"MsoNormalX\">");
  st.StyleSheetText = V("h1         {a:b;}⏎p.MsoNormal⏎           {margin:0px;}⏎");
  NormalParagraphRule(st);
  EXPECT_EQ(S(st.StyleSheetText), "h1         {a:b;}⏎p          {margin:0px;}⏎");
  EXPECT_EQ(S(st.PageText), "<p>a</p><p class=\"c1\">b</p><p class=\"MsoNormalX\">");

  st = StateWithPage("<p class=\"MsoNormal\">a</p>");
  st.StyleSheetText = V("h1 {}⏎p          {x}⏎p.MsoNormal⏎           {y}⏎");
  NormalParagraphRule(st);  // a rule for p already starts a line
  EXPECT_EQ(S(st.PageText), "<p class=\"MsoNormal\">a</p>");
}

}  // namespace
}  // namespace qp::revise
