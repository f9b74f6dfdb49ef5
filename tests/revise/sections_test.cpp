#include <gtest/gtest.h>

#include "driver_fixture.h"
#include "revise/driver_steps.h"
#include "text/failure.h"

namespace qp::revise {
namespace {

using test::S;
using test::StateWithPage;
using test::V;

TEST(UnkeptClasses, MarkedUnlessKeptOrSection) {
  RevisionState st = StateWithPage(
      "<p class=\"MsoNormal\">a<span class=gone>b</span><div class=section1><p "
      "class=\"msonormal\">");
  st.ClassNameSet.Add(u" class=\"MsoNormal\"");
  DropUnkeptClasses(st);
  EXPECT_EQ(S(st.PageText),
            "<p class=\"MsoNormal\">a<span␀␀␀␀␀␀␀␀␀␀␀>b</span><div class=section1><p "
            "class=\"msonormal\">");
  st = StateWithPage("<p class=x");
  EXPECT_THROW(DropUnkeptClasses(st), RuntimeError);
}

TEST(Sections, NumberedIdsAndOptionStyles) {
  const char* page =
      "<div class=Section1 style='layout-grid:18.0pt'>⏎a⏎</div>⏎"
      "<span><br clear=all></span>⏎<div class=Section2>⏎b⏎</div>";
  RevisionState st = StateWithPage(page);
  RewriteSections(st);
  EXPECT_EQ(S(st.PageText),
            "<div id=divsec1>⏎a⏎</div>⏎<span><br clear=all></span>⏎<div id=divsec2>⏎b⏎</div>");

  st = StateWithPage(page);
  st.PageInfo.LayoutGrid = 1;
  RewriteSections(st);  // the second section keeps the pitch of the first
  EXPECT_EQ(S(st.PageText),
            "<div id=divsec1 style='layout-grid:18pt;'>⏎a⏎</div>⏎<span><br clear=all></span>⏎"
            "<div id=divsec2 style='layout-grid:18pt;'>⏎b⏎</div>");

  st = StateWithPage("<DIV CLASS=SECTION1>x</div>");
  st.PageInfo.FixWidth = 1;
  st.PageInfo.Centering = 1;
  st.PageInfo.TextWidth = 425.2f;
  RewriteSections(st);
  EXPECT_EQ(S(st.PageText),
            "<div id=divsec1 style='width:425.2pt;margin-left:auto;margin-right:auto;"
            "text-align:left;'>x</div>");
}

TEST(Sections, SearchGoesOnAtTheOldTagEnd) {
  // The new tag is four characters shorter than the old one, so the search
  // for the next section starts four characters further on and misses a
  // section tag that follows directly.
  RevisionState st =
      StateWithPage("<div class=Section1>⏎<div class=Section2>⏎<div class=Section3>");
  RewriteSections(st);
  EXPECT_EQ(S(st.PageText), "<div id=divsec1>⏎<div class=Section2>⏎<div id=divsec2>");
  st = StateWithPage("<div class=Section1 x");
  RewriteSections(st);  // no ">": left as it is, no endless search
  EXPECT_EQ(S(st.PageText), "<div class=Section1 x");
}

TEST(Centring, BodyContentInOneCentredBlock) {
  RevisionState st = StateWithPage("<body lang=JA>⏎<p>x</p>⏎</body>⏎</html>");
  CentreBody(st);
  EXPECT_EQ(S(st.PageText), "<body lang=JA>⏎<div align=center>⏎<p>x</p>⏎</div>⏎</body>⏎</html>");
  // An English page loses every body attribute before this step: a bare
  // body tag is centred too, whichever of the two comes first.
  st = StateWithPage("<body>⏎<p>x</p>⏎</body>");
  CentreBody(st);
  EXPECT_EQ(S(st.PageText), "<body>⏎<div align=center>⏎<p>x</p>⏎</div>⏎</body>");
  st = StateWithPage("<body>⏎<p>&lt;body x></p>⏎<body lang=JA>⏎</body>");
  CentreBody(st);
  EXPECT_TRUE(S(st.PageText).starts_with("<body>⏎<div align=center>⏎<p>")) << S(st.PageText);
  st = StateWithPage("<bodyx>⏎</body>");
  try {
    CentreBody(st);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), err::kInvalidArgument);
  }
}

}  // namespace
}  // namespace qp::revise
