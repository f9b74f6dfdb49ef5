#include <gtest/gtest.h>

#include "driver_fixture.h"
#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {
namespace {

using test::S;
using test::StateWithPage;
using test::V;

std::string Revised(const char* page, const char* entry) {
  RevisionState st = StateWithPage(page);
  Rev_Font_Size(st, V(entry));
  return S(st.PageText);
}

constexpr const char* kNormal = "<p class=\"MsoNormal\"|</p|10.5pt";

TEST(FontSize, InlinePointsBecomePercentOfTheClassSize) {
  EXPECT_EQ(Revised("<p class=\"MsoNormal\"><span style='font-size:9.0pt'>x</span></p>", kNormal),
            "<p class=\"MsoNormal\"><span style='font-size:86%␀␀'>x</span></p>");
  EXPECT_EQ(Revised("<p class=\"MsoNormal\" style='font-size:10.5pt'>x</p>", kNormal),
            "<p class=\"MsoNormal\" style='font-size:100%␀␀'>x</p>");
  // a value broken across lines reads as one number
  EXPECT_EQ(Revised("<p class=\"MsoNormal\"><span style='font-size:⏎9.0pt'></p>", kNormal),
            "<p class=\"MsoNormal\"><span style='font-size:86%␀␀␀␀'></p>");
  // longer than the value: unchanged
  EXPECT_EQ(Revised("<h1><span style='font-size:8pt'>x</span></h1>", "<h1|</h1|7pt"),
            "<h1><span style='font-size:8pt'>x</span></h1>");
  EXPECT_EQ(Revised("<h1 x><span style='font-size:7.5pt'>y</span></h1>", "<h1|</h1|12pt"),
            "<h1 x><span style='font-size:62%␀␀'>y</span></h1>");
}

TEST(FontSize, OnlyInsideElementStartsUpToTheFirstClosing) {
  // not a start: the class is not right after the element name
  EXPECT_EQ(Revised("<p style=x class=\"MsoNormal\"><span style='font-size:9pt'></p>", kNormal),
            "<p style=x class=\"MsoNormal\"><span style='font-size:9pt'></p>");
  // a size after the first closing is outside the range
  EXPECT_EQ(Revised("<p class=\"MsoNormal\">a</p><span style='font-size:9pt'>", kNormal),
            "<p class=\"MsoNormal\">a</p><span style='font-size:9pt'>");
  // an empty closing text changes nothing
  EXPECT_EQ(Revised("<p class=\"T\"><span style='font-size:9pt'>", " class=\"T\"||14pt"),
            "<p class=\"T\"><span style='font-size:9pt'>");
}

TEST(FontSize, ValuesInOtherUnitsAreLeftAndNothingAfterThemIsLost) {
  EXPECT_EQ(
      Revised("<p class=\"MsoNormal\"><span style='font-size:80%'>keep this 9pt</p>", kNormal),
      "<p class=\"MsoNormal\"><span style='font-size:80%'>keep this 9pt</p>");
  // a value an earlier entry already converted is not read a second time
  RevisionState st = StateWithPage(
      "<p class=\"A\"><span class=\"B\" style='font-size:9.0pt'>text 12pt</span></p>");
  Rev_Font_Size(st, V("<p class=\"A\"|</p|10pt"));
  Rev_Font_Size(st, V("<span class=\"B\"|</span|18pt"));
  EXPECT_EQ(S(st.PageText),
            "<p class=\"A\"><span class=\"B\" style='font-size:90%␀␀'>text 12pt</span></p>");
}

TEST(FontSize, RuntimeFailures) {
  const auto code = [](const char* page, const char* entry) {
    RevisionState st = StateWithPage(page);
    try {
      Rev_Font_Size(st, V(entry));
    } catch (const Failure& f) {
      EXPECT_EQ(f.location(), "Mod_HtmlRev -> Rev_Font_Size");
      return f.code();
    }
    return 0;
  };
  EXPECT_EQ(code("<h1><span style='font-size:9pt'></h1>", "<h1|</h1|x"), err::kDivisionByZero);
  EXPECT_EQ(code("<h1><span style='font-size:9px'></h1>", "<h1|</h1|12pt"), err::kInvalidArgument);
  EXPECT_EQ(code("<h1>no size</h1>", "<h1|</h1|x"), 0);
}

}  // namespace
}  // namespace qp::revise
