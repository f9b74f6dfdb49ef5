#include "fixtures.h"

namespace qp::revise {
namespace {

using testing::ExpectExamples;

constexpr auto kPage = &RevisionState::PageText;
const auto kPass = [](RevisionState& st) { Rev_IEE_Style(st); };

TEST(RevIEEStyle, RowHeightsBecomeStyleHeights) {
  ExpectExamples(kPass, kPage,
                 {
                     {"<tr height=20 class=x>", "<tr style='height:20pt' class=x>"},
                     {"<tr height=12.750>", "<tr style='height:12.75pt'>"},
                     {"<tr height=20px>", "<tr style='height:20pt'>"},
                     {"<tr height=abc>", "<tr style='height:0pt'>"},
                     {"<tr style='x' height=5>", "<tr style='x' style='height:5pt'>"},
                     {"<tr>", "<tr>"},
                     {"<tr class=x  >", "<tr class=x  >"},  // unchanged tags keep their blanks
                     {"<tr height= x>", "<tr height= x>"},  // empty value
                     // the next search starts 7 characters on: a short tag hides the next one
                     {"<tr ><tr height=20>", "<tr ><tr height=20>"},
                     {"<tr height=1", "<tr height=1"},  // no ">"
                     {"<TR HEIGHT=20>", "<TR HEIGHT=20>"},
                     // an opening inside a value starts a tag ending at the same ">"
                     {"<tr title='<tr height=2' height=1>",
                      "<tr title='<tr style='height:2pt' style='height:1pt'>"},
                 });
}

TEST(RevIEEStyle, ImagesAndTablesGainTheirAttributes) {
  ExpectExamples(kPass, kPage,
                 {
                     {R"(<img src="a.gif">)", R"(<img src="a.gif" alt="">)"},
                     {R"(<img src="a.gif" alt="x">)", R"(<img src="a.gif" alt="x">)"},
                     {R"(<img src="a.gif" >)", R"(<img src="a.gif"  alt="">)"},
                     {"<table border=1>", R"(<table border=1 summary=" ">)"},
                     {"<table layout=fixed>", "<table layout=fixed>"},
                     {R"(<table summary="x">)", R"(<table summary="x" summary=" ">)"},
                 });
}

TEST(RevIEEStyle, AttributesThatRepeatAStylePropertyGo) {
  ExpectExamples(
      kPass, kPage,
      {
          {"<td width=120 style='width:90.0pt;border:solid'>",
           "<td style='width:90.0pt;border:solid'>"},
          {"<td style='width:90.0pt' width=120>", "<td style='width:90.0pt' width=120>"},
          {"<td width=120 style='border-width:1pt'>", "<td width=120 style='border-width:1pt'>"},
          {"<td width=120>x</td><td style='width:1pt'>",
           "<td width=120>x</td><td style='width:1pt'>"},
          {"<p align=center style='text-align:center'>", "<p style='text-align:center'>"},
          {"<p style='text-align:center' align=center>",
           "<p style='text-align:center' align=center>"},
          {"<TD WIDTH=1 style='width:1pt'>", "<TD WIDTH=1 style='width:1pt'>"},
      });
}

TEST(RevIEEStyle, ClassFromALinkTitle) {
  ExpectExamples(
      kPass, kPage,
      {
          {R"(<a href="x" title="Home%nav">)", R"(<a href="x" class="nav" title="Home">)"},
          {R"(<a href="x" title="%nav">)", R"(<a href="x" class="nav">)"},
          {R"(<a title="a%b%c">)", R"(<a class="b%c" title="a">)"},
          {R"(<a title="Home">)", R"(<a title="Home">)"},
          {R"(<a title="x%y>")", R"(<a title="x%y>")"},  // closes after the ">"
      });
}

}  // namespace
}  // namespace qp::revise
