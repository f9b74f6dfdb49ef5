#include "fixtures.h"

namespace qp::revise {
namespace {

using testing::ExpectExamples;
using testing::ExpectFailure;
using testing::V;

const auto kPass = [](RevisionState& st) { Del_Xml_State(st); };
constexpr auto kSource = &RevisionState::SourceText;
constexpr char kWhere[] = "Mod_HtmlRev -> Del_Xml_State";

TEST(DelXmlState, HeadElementsOfficeWritesForItself) {
  ExpectExamples(
      kPass, kSource,
      {
          {R"(<html xmlns:o="urn:o" lang=ja>¶<body>)", "<html>¶<body>"},
          {"<HTML lang=ja>¶<body>", "<HTML lang=ja>¶<body>"},  // case counts
          {"<html>¶<body>", "<html>¶<body>"},
          {"<meta name=Generator content=\"Word\">¶<title>t</title><body>",
           "<title>t</title><body>"},
          // the two characters after the ">" go, whatever they are
          {"<meta name=ProgId content=Word.Document>XYZ<body>", "Z<body>"},
          {"<META NAME=Generator>¶<body>", "<META NAME=Generator>¶<body>"},
          {"<body><meta name=ProgId x>", "<body>"},  // at the very end
          {"<LINK REL=FILE-LIST href=x.xml>¶<body>", "<body>"},
          {"<link rel=themeData href=t.thmx>¶<body>", "<body>"},
          {"<link rel=stylesheet href=a.css>¶<body>", "<link rel=stylesheet href=a.css>¶<body>"},
          {"<!--[if gte mso 9]><xml><w:x/></xml><![endif]-->¶<body>", "¶<body>"},
          {"<body><![if !supportLists]>1.<![endif]>Text", "<body>1.Text"},
          {"", ""},
      });
}

TEST(DelXmlState, OfficeTagsAndAttributesInTheBody) {
  ExpectExamples(kPass, kSource,
                 {
                     {"<body><p>a<o:p>&nbsp;</o:p></p><o:p></o:p>", "<body><p>a&nbsp;</p>"},
                     {"<body><v:shape id=a><v:imagedata src=x></v:shape>", "<body>"},
                     {R"(<body><img width=10 v:shapes="s1">)", "<body><img width=10>"},
                     {R"(<body><img↵v:shapes="s1" src=x>)", "<body><img↵ src=x>"},
                     {R"(<body><img xv:foo="1">)", R"(<body><img xv:foo="1">)"},
                     // a "v:" word in running text is not an attribute
                     {"<body><p>see v: here</p>", "<body><p>see v: here</p>"},
                     {"v: first<body>", "v: first<body>"},
                     {"<body><object><param name=a value=b>¶</object>", "<body><object></object>"},
                     {R"(<body><div class=WordSection1 id="x">)", "<body><div class=WordSection1>"},
                     {R"(<body><div class=A>¶<p id="y">)", R"(<body><div class=A>¶<p id="y">)"},
                     {R"(<body><div class=A id="y>)", R"(<body><div class=A id="y>)"},
                     {R"(<body><td x:str="abc" x:num>)", "<body><td>"},
                     {R"(<body><td x:num=5 class=a>"z)", "<body><tdz"},
                 });
}

TEST(DelXmlState, CommentsBeforeTheBodyStayAndTheOnesInItAreCutAtTheirFirstTagEnd) {
  ExpectExamples(kPass, kSource,
                 {
                     {"<style><!-- p {} --></style><body>x", "<style><!-- p {} --></style><body>x"},
                     {"<body><!-- a > b -->x", "<body> -->x"},
                     {"<body>a<!-- note -->¶b", "<body>ab"},
                 });
}

TEST(DelXmlState, StyleProperties) {
  ExpectExamples(
      kPass, kSource,
      {
          {"<body><p style='mso-bidi-font-size:10.5pt;font-size:9.0pt'>",
           "<body><p style='font-size:9.0pt'>"},
          {"<body><p style='font-size:9.0pt;mso-ansi-language:EN-US'>",
           "<body><p style='font-size:9.0pt;'>"},
          // neither ";" nor "'": the character before ">" stays
          {R"(<body><td style="mso-x:1">)", R"(<body><td style="">)"},
          {"<style><!--¶p.MsoNormal¶{mso-style-parent:\"\";¶margin:0mm;}¶--></style><body>",
           "<style><!--¶p.MsoNormal¶{¶margin:0mm;}¶--></style><body>"},
          {"<body><p>mso-rocks</p>", "<body><p>mso-rocks</p>"},
          {"<body><p style='text-justify:inter-ideograph;color:red'>",
           "<body><p style='color:red'>"},
          // "anguage" is matched from its a: the l in front of it stays
          {"<body><span style='font-language:x;color:red'>",
           "<body><span style='font-lcolor:red'>"},
          {"<body><p style='MSO-X:1;color:red'>", "<body><p style='MSO-X:1;color:red'>"},
      });
}

TEST(DelXmlState, MarkersThatDoNotCloseEndTheRun) {
  const auto structure = err::kStructure;
  ExpectFailure(kPass, kSource, "<body><meta name=ProgId", kWhere, structure, 2);
  ExpectFailure(kPass, kSource, "<!--[if x <body>", kWhere, structure, 3);
  ExpectFailure(kPass, kSource, "<body><![if x", kWhere, structure, 4);
  ExpectFailure(kPass, kSource, "<body>x<link rel=File-List href", kWhere, structure, 5);
  ExpectFailure(kPass, kSource, "<body><o:p", kWhere, structure, 6);
  ExpectFailure(kPass, kSource, R"(<body><img v:shapes="x>)", kWhere, structure, 7);
  ExpectFailure(kPass, kSource, "<body><param", kWhere, structure, 10);
  ExpectFailure(kPass, kSource, "<body><!-- x", kWhere, structure, 12);
  ExpectFailure(kPass, kSource, R"(<body><td x:str="abc>)", kWhere, structure, 13);
  // Searches that would restart at position 0 are runtime failures.
  ExpectFailure(kPass, kSource, "<body><img v:shapes=x>", kWhere, err::kInvalidArgument, 7);
  ExpectFailure(kPass, kSource, "<body><div class=x", kWhere, err::kInvalidArgument, 11);
  ExpectFailure(kPass, kSource, "<html><p>no body</p>", kWhere, err::kInvalidArgument, 12);
}

TEST(DelStdProperty, MarksWithoutRemovingTheMarks) {
  RevisionState st;
  st.SourceText = V("<p style='color:red;x:y'>color:blue</p>");
  Del_Std_Property(st, u"color");
  EXPECT_EQ(testing::Show(st.SourceText),
            testing::Show(V("<p style='␀␀␀␀␀␀␀␀␀␀x:y'>color:blue</p>")));
}

}  // namespace
}  // namespace qp::revise
