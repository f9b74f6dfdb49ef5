// Documents made here, each with one feature, exported and compared with
// the reviewed markup in tests/word/data/export_examples.txt: the engine's
// own earlier output, read and accepted by a person, not Word's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

#include "tests/corpus.h"
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

// The same for the style block: styles.xml, "+++", the body, and perhaps
// "+++" and the font table, against the rules up to the link rules.
TEST(WordExport, StyleRulesMatchWordsMarkup) {
  const std::string path = QP_TEST_DATA_DIR "/style_examples.txt";
  std::vector<Example> examples = ReadExamples(path);
  ASSERT_GE(examples.size(), 2u);
  for (Example& e : examples) {
    std::vector<std::string> parts{{}};
    for (std::size_t at = 0; at < e.input.size(); ++at) {
      if (e.input.compare(at, 5, "\n+++\n") == 0) {
        parts.emplace_back();
        at += 4;
      } else {
        parts.back() += e.input[at];
      }
    }
    DocxBuilder b;
    b.Styles(parts[0]).Body(parts.size() > 1 ? parts[1] : "");
    if (parts.size() > 2) b.Fonts(parts[2]);
    std::string page = RenderUtf8(b);
    std::size_t start = page.find("/* Style Definitions */\r\n");
    std::size_t end = page.find("a:link");
    ASSERT_TRUE(start != std::string::npos && end != std::string::npos) << e.name;
    std::string actual;
    for (char c : page.substr(start + 25, end - start - 25)) {
      if (c != '\r') actual += c;
    }
    if (std::getenv("QP_UPDATE_EXAMPLES")) e.expected = actual;
    EXPECT_EQ(actual, e.expected) << "example: " << e.name;
  }
  if (std::getenv("QP_UPDATE_EXAMPLES")) WriteExamples(path, examples);
}

// A Shift-JIS page writes what it lacks as "&#N;": in a style (the block or
// an attribute the revision moves there) that ";" would end a declaration
// inside its quotes and lose the rules after it.
TEST(WordExport, ShiftJisStyleBlockHoldsNoCharacterReferences) {
  DocxBuilder b;
  b.Styles(
      "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"a\"><w:name w:val=\"Normal\"/>"
      "<w:rPr><w:rFonts w:ascii=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\"/></w:rPr>"
      "</w:style><w:style w:type=\"paragraph\" w:styleId=\"t\"><w:name "
      "w:val=\"\xE6\xA0\x87\xE9\xA2\x98 1\"/><w:basedOn w:val=\"a\"/></w:style>");
  b.Body(
      "<w:p><w:pPr><w:pStyle w:val=\"t\"/></w:pPr><w:r><w:rPr><w:rFonts w:ascii=\"\xE4\xBB\xBF"
      "\xE5\xAE\x8B\"/></w:rPr><w:t>x</w:t></w:r></w:p>");
  word::DocxContent content(b.Build());
  Text html = word::RenderHtml(content, {}, u"page", u"shift_jis").html;
  EXPECT_EQ(TextToCp932(html).find("&#"), std::string::npos);
  EXPECT_NE(html.find(u"mso-style-name:\" 1\""), Text::npos);
  EXPECT_NE(html.find(u"font-family:\"\u5B8B\",serif"), Text::npos);
}

// A theme value names the theme font, whatever slot it fills: Word's
// English templates put "minorHAnsi" (Calibri) in the East Asian slot, and
// the page's font comes from that slot.
TEST(WordExport, ThemeFontsAreTheOnesTheValueNames) {
  DocxBuilder b;
  b.Part("word/theme/theme1.xml",
         "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
         "<a:themeElements><a:fontScheme><a:majorFont><a:latin typeface=\"Cambria\"/><a:ea "
         "typeface=\"\"/></a:majorFont><a:minorFont><a:latin typeface=\"Calibri\"/><a:ea "
         "typeface=\"\"/><a:font script=\"Jpan\" typeface=\"ＭＳ "
         "明朝\"/></a:minorFont></a:fontScheme></a:themeElements></a:theme>");
  b.Relate("theme", "theme/theme1.xml");
  b.Styles(
      "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:asciiTheme=\"minorHAnsi\" "
      "w:eastAsiaTheme=\"minorHAnsi\" w:hAnsiTheme=\"minorHAnsi\" w:cstheme=\"minorBidi\"/>"
      "<w:lang w:eastAsia=\"ja-JP\"/></w:rPr></w:rPrDefault></w:docDefaults><w:style "
      "w:type=\"paragraph\" w:default=\"1\" "
      "w:styleId=\"a\"><w:name w:val=\"Normal\"/></w:style><w:style w:type=\"paragraph\" "
      "w:styleId=\"j\"><w:name w:val=\"Japanese\"/><w:rPr><w:rFonts "
      "w:eastAsiaTheme=\"minorEastAsia\"/></w:rPr></w:style>");
  b.Body(
      "<w:p><w:r><w:t>x</w:t></w:r></w:p><w:p><w:pPr><w:pStyle w:val=\"j\"/></w:pPr><w:r>"
      "<w:t>y</w:t></w:r></w:p>");
  std::string page = RenderUtf8(b);
  std::size_t normal = page.find("p.MsoNormal"), japanese = page.find("p.Japanese");
  ASSERT_NE(japanese, std::string::npos);
  std::string normalRule = page.substr(normal, japanese - normal);
  EXPECT_NE(normalRule.find("font-family:Calibri,sans-serif;"), std::string::npos) << normalRule;
  EXPECT_NE(normalRule.find("mso-fareast-font-family:Calibri;"), std::string::npos);
  EXPECT_NE(page.find("mso-fareast-font-family:\"ＭＳ 明朝\"", japanese), std::string::npos);
}

// LibreOffice writes the contents of a .doc as plain entries ("Scope", a
// tab, the page number) or as links to bookmarks it leaves out. Each entry
// becomes a link to the heading with its text, without the number.
TEST(WordExport, ContentsEntriesWithoutBookmarksLinkToTheHeadingOfTheirText) {
  DocxBuilder b;
  b.Styles(
      "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name "
      "w:val=\"Normal\"/></w:style><w:style w:type=\"paragraph\" w:styleId=\"Contents1\"><w:name "
      "w:val=\"Contents 1\"/></w:style><w:style w:type=\"paragraph\" w:styleId=\"Heading1\">"
      "<w:name w:val=\"heading 1\"/></w:style>");
  b.Body(
      "<w:p><w:pPr><w:pStyle w:val=\"Contents1\"/></w:pPr><w:r><w:t>Scope</w:t><w:tab/>"
      "<w:t>2</w:t></w:r></w:p><w:p><w:pPr><w:pStyle w:val=\"Contents1\"/></w:pPr><w:hyperlink "
      "w:anchor=\"__RefHeading___Toc9\"><w:r><w:t>2.</w:t><w:tab/><w:t>Terms</w:t><w:tab/>"
      "<w:t>iv</w:t></w:r></w:hyperlink></w:p><w:p><w:pPr><w:pStyle w:val=\"Contents1\"/>"
      "</w:pPr><w:r><w:t>Missing</w:t><w:tab/><w:t>5</w:t></w:r></w:p><w:p><w:pPr><w:pStyle "
      "w:val=\"Heading1\"/></w:pPr><w:r><w:t>Scope</w:t></w:r></w:p><w:p><w:pPr><w:pStyle "
      "w:val=\"Heading1\"/></w:pPr><w:r><w:t>Terms</w:t></w:r></w:p>");
  std::string page = RenderUtf8(b);
  for (const char* expected : {"<a href=\"#_Heading1\">Scope</a>", "<a href=\"#_Heading2\">",
                               "<h1><a name=\"_Heading1\"></a>", "<h1><a name=\"_Heading2\"></a>",
                               "<p class=Contents1>Missing</p>"}) {
    EXPECT_NE(page.find(expected), std::string::npos) << expected << "\n" << page;
  }
  for (const char* gone : {"__RefHeading", ">2<", "iv<", "5<"}) {
    EXPECT_EQ(page.find(gone), std::string::npos) << gone;
  }
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
  std::string missing = b.Relate("image", "media/gone.gif");
  auto pic = [](const std::string& id) {
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"952500\" cy=\"476250\"/><a:graphic>"
           "<a:graphicData><pic:pic><pic:blipFill><a:blip r:embed=\"" +
           id +
           "\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></"
           "w:r>";
  };
  b.Body("<w:p>" + pic(png) + pic(gif) + pic(png) + pic(emf) + pic(outside) + pic(missing) +
         "</w:p>");
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
  ASSERT_EQ(page.notes.size(), 3u);
  EXPECT_EQ(page.notes[0],
            u"picture word/media/c.emf left out (not a picture format a page can show)");
  EXPECT_EQ(page.notes[1], u"picture left out (its part is missing from the document)");
  EXPECT_EQ(page.notes[2],
            u"picture word/media/gone.gif left out (its part is missing from the document)");
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

// Width and height from a PNG's header, or {0, 0}.
std::pair<unsigned, unsigned> PngSize(const std::string& png) {
  if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
  auto be32 = [&](std::size_t at) {
    unsigned v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

TEST(WordExport, ChartsAndShapesArePicturesOfTheirExtentAndRectangularTextBoxesStayText) {
  DocxBuilder b = ExampleDocument("");
  b.Part("word/charts/chart1.xml",
         "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
         "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><c:chart><c:title>"
         "<c:tx><c:rich><a:p><a:r><a:t>Sales</a:t></a:r></a:p></c:rich></c:tx></c:title>"
         "<c:plotArea><c:barChart><c:barDir val=\"col\"/><c:ser><c:idx val=\"0\"/><c:val>"
         "<c:numRef><c:numCache><c:ptCount val=\"2\"/><c:pt idx=\"0\"><c:v>3</c:v></c:pt>"
         "<c:pt idx=\"1\"><c:v>5</c:v></c:pt></c:numCache></c:numRef></c:val></c:ser>"
         "</c:barChart></c:plotArea></c:chart></c:chartSpace>");
  std::string chart = b.Relate("chart", "charts/chart1.xml");
  const std::string wps =
      "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/"
      "wordprocessingShape\"";
  auto frame = [](const std::string& kind, long cx, long cy, const std::string& docPr,
                  const std::string& object) {
    return "<w:r><w:drawing><wp:" + kind + "><wp:extent cx=\"" + std::to_string(cx) + "\" cy=\"" +
           std::to_string(cy) + "\"/><wp:docPr id=\"1\" name=\"x\"" + docPr +
           "/><a:graphic><a:graphicData>" + object + "</a:graphicData></a:graphic></wp:" + kind +
           "></w:drawing></w:r>";
  };
  b.Body("<w:p>" +
         frame("inline", 2857500, 1905000, "",
               "<c:chart xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
               "r:id=\"" +
                   chart + "\"/>") +
         frame("anchor", 952500, 476250, " descr=\"A red oval\"",
               "<wps:wsp " + wps +
                   "><wps:spPr><a:prstGeom prst=\"ellipse\"/><a:solidFill><a:srgbClr "
                   "val=\"FF0000\"/></a:solidFill></wps:spPr><wps:bodyPr/></wps:wsp>") +
         frame("anchor", 952500, 476250, "",
               "<wps:wsp " + wps +
                   "><wps:spPr><a:prstGeom prst=\"rect\"/></wps:spPr><wps:txbx><w:txbxContent>"
                   "<w:p><w:r><w:t>Boxed words</w:t></w:r></w:p></w:txbxContent></wps:txbx>"
                   "<wps:bodyPr/></wps:wsp>") +
         "</w:p>");
  word::DocxContent content(b.Build());
  word::RenderedPage page = word::RenderHtml(content, {}, u"doc", u"utf-8");
  ASSERT_EQ(page.pictures.size(), 2u);
  EXPECT_EQ(PngSize(page.pictures[0].bytes), std::make_pair(300u, 200u));
  EXPECT_EQ(PngSize(page.pictures[1].bytes), std::make_pair(100u, 50u));
  std::string html = TextToUtf8(page.html);
  // Word's lines wrap between attributes.
  std::size_t chartAt = html.find("<img width=300 height=200 src=\"doc.files/image001.png\"");
  std::size_t oval = html.find("src=\"doc.files/image002.png\" align=left hspace=12");
  ASSERT_NE(chartAt, std::string::npos);
  ASSERT_NE(oval, std::string::npos);
  EXPECT_EQ(html.find("alt=\"Sales\""), html.find("alt=", chartAt));
  EXPECT_EQ(html.find("alt=\"A red oval\""), html.find("alt=", oval));
  EXPECT_NE(html.find("Boxed words"), std::string::npos);
}

// The page colour and a tiled picture fill go on the body tag as Word's
// page gives them; a stem with a blank, which the revision would cut the
// picture's value at, keeps the colour alone.
TEST(WordExport, PageBackgroundIsTheBodysColourAndPicture) {
  auto body = [](const std::string& background, const Text& stem) {
    DocxBuilder b = ExampleDocument("<w:p/>");
    b.Part("word/media/tile.png", TinyPng());
    const std::string id = b.Relate("image", "media/tile.png");
    b.Background("<w:background w:color=\"FFFFCC\"" +
                 (background.empty() ? "/>"
                                     : "><v:background xmlns:v=\"urn:schemas-microsoft-com:vml\">"
                                       "<v:fill r:id=\"" +
                                           id +
                                           "\" type=\"tile\"/></v:background>"
                                           "</w:background>"));
    word::DocxContent content(b.Build());
    const std::string html = TextToUtf8(word::RenderHtml(content, {}, stem, u"utf-8").html);
    const std::size_t at = html.find("<body");
    return html.substr(at, html.find(" lang=", at) - at);
  };
  EXPECT_EQ(body("", u"doc"), "<body bgcolor=\"#FFFFCC\"");
  EXPECT_EQ(body("tile", u"doc"),
            "<body bgcolor=\"#FFFFCC\" background=\"doc.files/image001.png\"");
  EXPECT_EQ(body("tile", u"my doc"), "<body bgcolor=\"#FFFFCC\"");
  DocxBuilder none = ExampleDocument("<w:p/>");
  none.Background("<w:background w:color=\"auto\"/>");
  EXPECT_NE(RenderUtf8(none).find("<body lang="), std::string::npos);
}

// A shape's effect extent (its shadow) widens its picture, so the shadow
// is not cut off at the shape's edge; without a place of its own the
// shape keeps its extent.
TEST(WordExport, AShapesShadowGetsRoomInItsPicture) {
  DocxBuilder b = ExampleDocument("");
  auto shape = [](const std::string& xfrm) {
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"952500\" cy=\"476250\"/>"
           "<wp:effectExtent l=\"0\" t=\"0\" r=\"190500\" b=\"95250\"/><wp:docPr id=\"1\" "
           "name=\"s\"/><a:graphic><a:graphicData><wps:wsp xmlns:wps=\"http://schemas.microsoft."
           "com/office/word/2010/wordprocessingShape\"><wps:spPr>" +
           xfrm +
           "<a:prstGeom prst=\"ellipse\"/><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill>"
           "<a:effectLst><a:outerShdw dist=\"95250\" dir=\"2700000\"/></a:effectLst></wps:spPr>"
           "<wps:bodyPr/></wps:wsp></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
  };
  b.Body("<w:p>" +
         shape("<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"952500\" cy=\"476250\"/></a:xfrm>") +
         shape("") + "</w:p>");
  word::DocxContent content(b.Build());
  word::RenderedPage page = word::RenderHtml(content, {}, u"doc", u"utf-8");
  ASSERT_EQ(page.pictures.size(), 2u);
  EXPECT_EQ(PngSize(page.pictures[0].bytes), std::make_pair(120u, 60u));
  EXPECT_EQ(PngSize(page.pictures[1].bytes), std::make_pair(100u, 50u));
  EXPECT_NE(TextToUtf8(page.html).find("<img width=120 height=60"), std::string::npos);
}

TEST(WordExport, MetafilesOfARealDocumentBecomePngOfTheirExtent) {
  QP_NEED_CORPUS("docx/docx4j_EMF.docx");
  const std::string path = std::string(QP_CORPUS_DIR) + "/docx/docx4j_EMF.docx";
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  word::DocxContent content(bytes);
  word::RenderedPage page = word::RenderHtml(content, {}, u"doc", u"utf-8");
  std::string html = TextToUtf8(page.html);
  ASSERT_EQ(page.pictures.size(), 2u);
  for (const word::PictureFile& f : page.pictures) {
    auto [w, h] = PngSize(f.bytes);
    std::string shown = "width=" + std::to_string(w) + " height=" + std::to_string(h) +
                        " src=\"doc.files/" + TextToUtf8(f.fileName) + "\"";
    EXPECT_NE(html.find(shown), std::string::npos) << shown;
  }
}
}  // namespace
}  // namespace qp::test
