// Documents made here, each with one feature, exported and compared with
// the reviewed markup in tests/word/data/export_examples.txt: the engine's
// own earlier output, read and accepted by a person, not Word's.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/word/word_test_support.h"
#include "text/codec.h"

namespace qp::test {
namespace {

// QP_UPDATE_EXAMPLES=1 rewrites the expected parts from the engine's output;
// review the diff like code.
TEST(WordExport, ExamplesMatchTheReviewedMarkup) {
  const std::string path = QP_TEST_DATA_DIR "/export_examples.txt";
  std::vector<Example> examples = ReadExamples(path);
  ASSERT_GE(examples.size(), 10u);
  for (Example& e : examples) {
    std::string actual = FirstSection(RenderUtf8(ExampleDocument(e.input)));
    if (std::getenv("QP_UPDATE_EXAMPLES")) e.expected = actual;
    EXPECT_EQ(actual, e.expected) << "example: " << e.name;
  }
  if (std::getenv("QP_UPDATE_EXAMPLES")) WriteExamples(path, examples);
}

TEST(WordExport, PageHasTheShapeTheRevisionSplits) {
  std::string page = RenderUtf8(SampleDocument());
  // The revision cuts the style rules three characters after "<style" + ">".
  std::size_t style = page.find("<style");
  ASSERT_NE(style, std::string::npos);
  EXPECT_EQ(page.substr(page.find('>', style), 9), ">\r\n<!--\r\n");
  EXPECT_NE(page.find("-->\r\n</style>"), std::string::npos);
  EXPECT_EQ(page.rfind("<html ", 0), 0u);
  EXPECT_NE(page.find("<body lang=JA"), std::string::npos);
  EXPECT_NE(page.find("<div class=Section1 style='layout-grid:18.0pt'>"), std::string::npos);
  EXPECT_NE(page.find(" p.MsoNormal, li.MsoNormal, div.MsoNormal\r\n\t{mso-style-parent:\"\";"),
            std::string::npos);
  EXPECT_NE(page.find("@page Section1\r\n\t{size:595.3pt 841.9pt;"), std::string::npos);
  EXPECT_NE(page.find("src=\"page.files/image001.png\""), std::string::npos);
  // Every line ends in CR LF.
  for (std::size_t at = page.find('\n'); at != std::string::npos; at = page.find('\n', at + 1)) {
    ASSERT_EQ(page[at - 1], '\r') << "at " << at;
  }
}

TEST(WordExport, SectionsEachGetTheirBlock) {
  std::string sect =
      "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:docGrid w:type=\"lines\" "
      "w:linePitch=\"292\"/></w:sectPr>";
  std::string page = RenderUtf8(
      ExampleDocument("<w:p><w:pPr>" + sect +
                      "</w:pPr><w:r><w:t>one</w:t></w:r></w:p><w:p><w:r><w:t>two</w:t>"
                      "</w:r></w:p><w:sectPr><w:pgSz w:w=\"16838\" w:h=\"11906\"/></w:sectPr>"));
  EXPECT_NE(page.find("<div class=Section1 style='layout-grid:14.6pt'>"), std::string::npos);
  EXPECT_NE(page.find("mso-break-type:section-break"), std::string::npos);
  EXPECT_NE(page.find("<div class=Section2>"), std::string::npos);
  EXPECT_NE(page.find("@page Section2\r\n\t{size:841.9pt 595.3pt;"), std::string::npos);
  EXPECT_LT(page.find(">one<"), page.find("<div class=Section2>"));
  EXPECT_GT(page.find(">two<"), page.find("<div class=Section2>"));
}

TEST(WordExport, FootnotesFollowTheSectionsWithBackLinks) {
  std::string page = RenderUtf8(ExampleDocument(
      "<w:p><w:r><w:t>a</w:t></w:r><w:r><w:footnoteReference w:id=\"1\"/></w:r></w:p>"));
  std::size_t list = page.find("<div style='mso-element:footnote-list'>");
  ASSERT_NE(list, std::string::npos);
  EXPECT_GT(list, page.find("</div>"));
  EXPECT_NE(page.find("<div style='mso-element:footnote' id=ftn1>", list), std::string::npos);
  EXPECT_NE(page.find("href=\"#_ftnref1\" name=\"_ftn1\"", list), std::string::npos);
  EXPECT_NE(page.find("note.</span></p>", list), std::string::npos);
}

TEST(WordExport, PicturesAreNumberedOncePerPartAndOthersLeftOut) {
  DocxBuilder b = ExampleDocument("");
  b.Part("word/media/a.png", TinyPng()).Part("word/media/b.gif", TinyGif());
  b.Part("word/media/c.emf", std::string("\x01\x00\x00\x00 not a bitmap", 17));
  std::string png = b.Relate("image", "media/a.png");
  std::string gif = b.Relate("image", "media/b.gif");
  std::string emf = b.Relate("image", "media/c.emf");
  std::string outside = b.Relate("image", "../../../etc/passwd");
  auto pic = [](const std::string& id) {
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"952500\" cy=\"476250\"/><a:graphic>"
           "<a:graphicData><pic:pic><pic:blipFill><a:blip r:embed=\"" +
           id +
           "\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></"
           "w:r>";
  };
  b.Body("<w:p>" + pic(png) + pic(gif) + pic(png) + pic(emf) + pic(outside) + "</w:p>");
  word::DocxContent content(b.Build());
  word::RenderedPage page = word::RenderHtml(content, {}, u"doc", u"utf-8");
  ASSERT_EQ(page.pictures.size(), 2u);
  EXPECT_EQ(page.pictures[0].fileName, u"image001.png");
  EXPECT_EQ(page.pictures[1].fileName, u"image002.gif");
  EXPECT_EQ(page.pictures[0].bytes, TinyPng());
  std::string html = TextToUtf8(page.html);
  EXPECT_NE(html.find("<img width=100"), std::string::npos);
  EXPECT_NE(html.find("height=50 src=\"doc.files/image001.png\""), std::string::npos);
  EXPECT_NE(html.find("src=\"doc.files/image002.gif\""), std::string::npos);
  EXPECT_EQ(html.find("image003"), std::string::npos);
  // What was left out is told once per part, not on standard error.
  ASSERT_EQ(page.notes.size(), 2u);
  EXPECT_EQ(page.notes[0], u"picture word/media/c.emf left out (not a PNG, JPEG or GIF picture)");
}

// The revision finds the body tag by its attributes: Word always writes the
// language (the Normal style's over the defaults) and the default tab stop.
TEST(WordExport, BodyTagCarriesLanguageAndTabStop) {
  const auto body = [](const std::string& normalRPr, const std::string& defaults) {
    DocxBuilder b;
    b.Styles("<w:docDefaults><w:rPrDefault><w:rPr>" + defaults +
             "</w:rPr></w:rPrDefault></w:docDefaults><w:style w:type=\"paragraph\" "
             "w:default=\"1\" w:styleId=\"a\"><w:name w:val=\"Normal\"/><w:rPr>" +
             normalRPr + "</w:rPr></w:style>");
    b.Relate("settings", "settings.xml");
    b.Part("word/settings.xml",
           "<w:settings xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
           "<w:defaultTabStop w:val=\"708\"/></w:settings>");
    std::string page = RenderUtf8(b.Body("<w:p/>"));
    std::size_t at = page.find("<body");
    return page.substr(at, page.find('>', at) - at + 1);
  };
  EXPECT_EQ(body("<w:lang w:val=\"de-DE\"/>", "<w:lang w:val=\"en-US\"/>"),
            "<body lang=DE link=blue vlink=purple style='tab-interval:35.4pt'>");
  EXPECT_EQ(body("", "<w:lang w:val=\"en-GB\"/>").substr(0, 17), "<body lang=EN-GB ");
  EXPECT_EQ(body("", "<w:lang w:val=\"en-US\" w:eastAsia=\"ja-JP\"/>"),
            "<body lang=JA link=blue vlink=purple "
            "style='tab-interval:35.4pt;text-justify-trim:punctuation'>");
  EXPECT_EQ(body("", "").substr(0, 17), "<body lang=EN-US ");
  for (const auto& [tag, word] :
       std::vector<std::pair<std::string, std::string>>{{"sv-SE", "SV"},
                                                        {"de-AT", "DE-AT"},
                                                        {"zh-CN", "ZH-CN"},
                                                        {"fr", "FR"},
                                                        {"x y>", "EN-US"},
                                                        {"", "EN-US"}}) {
    EXPECT_EQ(TextToUtf8(word::WordLanguage(tag)), word) << tag;
  }
}

TEST(WordExport, EquationsNestedBeyondReasonKeepTheirText) {
  std::string open, close;
  for (int i = 0; i < 5000; ++i) {
    open += "<m:d><m:e>";
    close += "</m:e></m:d>";
  }
  std::string page = RenderUtf8(ExampleDocument(
      "<w:p><m:oMath>" + open + "<m:r><m:t>deep</m:t></m:r>" + close + "</m:oMath></w:p>"));
  EXPECT_NE(page.find("deep"), std::string::npos);
}

TEST(WordExport, SecondExportIsTheSameAsTheFirst) {
  word::DocxContent content(SampleDocument().Build());
  word::RenderedPage first = word::RenderHtml(content, {}, u"s", u"utf-8");
  word::RenderedPage second = word::RenderHtml(content, {}, u"s", u"utf-8");
  EXPECT_EQ(first.html, second.html);
}

}  // namespace
}  // namespace qp::test
