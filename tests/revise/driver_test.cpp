#include <gtest/gtest.h>

#include "driver_fixture.h"
#include "revise/driver_steps.h"
#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {
namespace {

using test::S;
using test::V;

TEST(PreClean, LineStructureForTheLaterSteps) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"<p>⏎<p>", "<p>⏎<p>"},                      // between tags: stays
      {"<p>two⏎words</p>", "<p>two words</p>"},    // in running text: a blank
      {"<p>⏎text</p>", "<p>text</p>"},             // after a tag, before text: gone
      {"<p>⏎<br>x", "<p><br>x"},                   // before a line-break tag: gone
      {"<a>⏎⏎⏎<b>", "<a>⏎<b>"},                    // empty lines collapse
      {"<a>⏎                    <b>", "<a>⏎<b>"},  // leading blanks
      {"<p→lang=EN-US>x lang=en-us", "<plang=EN-US>x lang=en-us"},  // tab first, then lang
      {"<p lang=EN-US>␀␁x", "<p>x"},
  };
  for (const Case& c : cases) {
    Text source = V(c.in);
    PreClean(source);
    EXPECT_EQ(S(source), c.out) << c.in;
  }
}

TEST(Split, HeadStyleRulesAndBody) {
  RevisionState st;
  st.SourceText = V("<html><head><style>⏎<!-- p {a:b} -->⏎</style></head>⏎<body lang=JA>x</body>");
  SplitSource(st);
  EXPECT_EQ(S(st.HeadText), "<html><head>");
  EXPECT_EQ(S(st.StyleSheetText), "<!-- p {a:b} -->⏎");
  EXPECT_EQ(S(st.PageText), "<body lang=JA>x</body>");

  st = RevisionState{};
  st.SourceText = V("<head><style><!-- p {a:b} --></style><body>");  // content starts 3 on
  SplitSource(st);
  EXPECT_EQ(S(st.StyleSheetText), "-- p {a:b} -->");  // "<!" lost
  st = RevisionState{};
  st.SourceText = V("<head><style>⏎p {a:b}⏎<body>");  // no </style>: no rules
  SplitSource(st);
  EXPECT_EQ(st.StyleSheetText, u"");
}

Failure FailureOf(const char* page, PageInfoRecord info = {}) {
  Text text = V(page);
  const Text before = text;
  try {
    Rev_Html_State(text, info, {});
  } catch (const Failure& f) {
    EXPECT_EQ(text, before);  // left unchanged
    return f;
  }
  ADD_FAILURE() << "no failure for " << page;
  return Failure("", 0, 0, {});
}

TEST(Driver, FailuresCarryTheDriverLocationAndStep) {
  Failure f = FailureOf("<html><head></head><body lang=JA>x</body></html>");
  EXPECT_EQ(f.location(), "Mod_HtmlRev -> Rev_Html_State");
  EXPECT_EQ(f.step(), 3);
  EXPECT_EQ(f.code(), err::kInvalidArgument);
  PageInfoRecord centred;
  centred.Centering = 1;
  f = FailureOf("<html><head><style>⏎</style></head>⏎<body/>⏎<p>x</p>⏎</body></html>", centred);
  EXPECT_EQ(f.step(), 17);
  EXPECT_EQ(f.code(), err::kInvalidArgument);
}

// The marks of a step (NUL, code 1) never outlive it, except the class
// marks of step 7, which step 9 removes with its own.
struct NoMarksLeft : StepObserver {
  void AfterStep(int step, const RevisionState& st) override {
    const bool classMarks = step == 7 || step == 8;
    for (const Text* buffer : {&st.SourceText, &st.HeadText, &st.StyleSheetText, &st.PageText}) {
      if (classMarks && buffer == &st.PageText) continue;
      EXPECT_FALSE(testing::HasNulOrOne(*buffer)) << "after step " << step << ": " << S(*buffer);
    }
  }
};

// A small page as Word writes it, revised in full.
TEST(Driver, SmallPageRevisedInFull) {
  Text page =
      V("<html xmlns:o=\"urn:schemas-microsoft-com:office:office\">⏎⏎<head>⏎"
        "<meta http-equiv=Content-Type content=\"text/html; charset=shift_jis\">⏎"
        "<meta name=ProgId content=Word.Document>⏎<title>doc</title>⏎"
        "<style>⏎<!--⏎ /* Style Definitions */⏎ p.MsoNormal, li.MsoNormal, div.MsoNormal⏎"
        "\t{mso-style-parent:\"\";⏎\tmargin:0mm;⏎\tfont-size:10.5pt;⏎"
        "\tfont-family:\"Times New Roman\";}⏎h1⏎\t{font-size:16.0pt;⏎\tfont-family:\"A} B\";}⏎"
        "span.Unused⏎\t{color:red;}⏎@page Section1⏎\t{size:595.3pt 841.9pt;}⏎"
        "div.Section1⏎\t{page:Section1;}⏎-->⏎</style>⏎</head>⏎⏎"
        "<body lang=JA bgcolor=white style='tab-interval:42.0pt'>⏎⏎"
        "<div class=Section1 style='layout-grid:18.0pt'>⏎⏎"
        "<h1>Head <span style='font-size:12.0pt'>line</span></h1>⏎⏎"
        "<p class=MsoNormal>one two<span lang=EN-US><o:p></o:p></span></p>⏎⏎"
        "<p class=MsoNormal><span class=Unused>ｶﾅ</span></p>⏎⏎"
        "</div>⏎⏎</body>⏎⏎</html>⏎");
  PageInfoRecord info = test::DefaultInfo();
  info.PageTitle = u"Doc";
  NoMarksLeft noMarksLeft;
  EXPECT_EQ(Rev_Html_State(page, info, {}, &noMarksLeft), u"");
  EXPECT_EQ(S(page),
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"  "
            "\"http://www.w3.org/TR/html4/loose.dtd\">⏎<html lang=\"ja\">⏎<head>⏎"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">⏎"
            "<title>Doc</title>⏎"
            "<meta http-equiv=\"Content-Style-Type\" content=\"text/css\">⏎"
            "<meta http-equiv=\"Content-Script-Type\" content=\"text/javascript\">⏎"
            "<style type=\"text/css\">⏎<!--⏎"
            "body       {background-color:white; margin:0px 0px 0px 0px}⏎"
            "p          {margin:0px; font-size:88%; font-family:\"Times New Roman\"}⏎"
            "h1         {font-size:133%; font-family:\"A} B\"}⏎"
            "span.Unused⏎           {color:red}⏎"
            "body .c1   {layout-grid:24px}⏎"
            "body .c2   {font-size:75%}⏎"
            "-->⏎</style>⏎</head>⏎"
            "<body lang=\"ja\">⏎"
            "    <div id=\"divsec1\" class=\"c1\">⏎"
            "        <h1>Head <span class=\"c2\">line</span></h1>⏎"
            "        <p>one two</p>⏎"
            "        <p><span class=\"Unused\">カナ</span></p>⏎"
            "    </div>⏎"
            "</body>⏎"
            "</html>⏎⏎");
}

}  // namespace
}  // namespace qp::revise
