// The object model as the generation run drives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "generate/word/engine_document.h"
#include "generate/word/word_app.h"
#include "tests/word/docx_builder.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::test {
namespace {

namespace fs = std::filesystem;

template <class F>
int ErrorOf(F&& body) {
  try {
    body();
    return 0;
  } catch (const RuntimeError& e) {
    return e.code();
  }
}

class WordEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qp-word-engine-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "settings");
    fs::create_directories(dir_ / "work");
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path WriteSample() {
    fs::path p = dir_ / "サンプル.docx";
    SampleDocument().WriteTo(p.string());
    return p;
  }
  std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path dir_;
};

TEST_F(WordEngine, RunLockDecidesAttachAndCreate) {
  fs::path settings = dir_ / "settings";
  EXPECT_EQ(ErrorOf([&] { word::AttachRunningApplication(settings); }), err::kCannotCreateObject);
  auto app = word::CreateApplication(settings);
  EXPECT_EQ(ErrorOf([&] { word::CreateApplication(settings); }), err::kCannotCreateObject);
  auto proxy = word::AttachRunningApplication(settings);
  EXPECT_EQ(ErrorOf([&] { proxy->SetVisible(false); }), err::kServerUnavailable);
  EXPECT_EQ(ErrorOf([&] { proxy->ActiveDocument(); }), err::kServerUnavailable);
  proxy->Quit();  // not this run's engine: nothing happens
  EXPECT_EQ(ErrorOf([&] { word::CreateApplication(settings); }), err::kCannotCreateObject);
  app->Quit();
  EXPECT_EQ(ErrorOf([&] { app->SetVisible(false); }), err::kServerUnavailable);
  EXPECT_EQ(ErrorOf([&] { word::AttachRunningApplication(settings); }), err::kCannotCreateObject);
  EXPECT_NE(word::CreateApplication(settings), nullptr);
}

TEST_F(WordEngine, ExportAsTheRunDoesIt) {
  fs::path doc = WriteSample();
  std::string before = Read(doc);
  auto app = word::CreateApplication(dir_ / "settings");
  app->SetVisible(false);
  EXPECT_EQ(ErrorOf([&] { app->ActiveDocument(); }), word::err::kNoActiveDocument);
  word::Document& d = app->Open(doc, false);
  EXPECT_EQ(&app->ActiveDocument(), &d);
  // The sample's Normal style has the id "a": "標準" still finds it.
  word::Font& normal = d.StyleFont(u"標準");
  EXPECT_EQ(normal.Name, u"Century");
  EXPECT_EQ(normal.NameFarEast, u"ＭＳ 明朝");
  EXPECT_FLOAT_EQ(normal.Size, 10.5f);
  EXPECT_EQ(ErrorOf([&] { d.StyleFont(u"No such style"); }), word::err::kNoSuchMember);
  normal.Name = normal.NameFarEast;
  d.GetWebOptions().Encoding = 932;
  d.SaveAs(dir_ / "work" / "サンプル.htm", word::kFormatHtml);
  normal.Name = u"Century";
  // the list of the pictures is checked like every other file of the save
  fs::create_directories(dir_ / "work" / "list.files" / "filelist.xml");
  EXPECT_EQ(ErrorOf([&] { d.SaveAs(dir_ / "work" / "list.htm", word::kFormatHtml); }),
            word::err::kSaveFailed);

  EXPECT_EQ(d.BuiltinDocumentProperty(u"Title"), u"Quillpage sample");
  EXPECT_EQ(d.BuiltinDocumentProperty(u"Comments"), u"A sample document for Quillpage");
  EXPECT_EQ(d.BuiltinDocumentProperty(u"KeyWords"), u"sample, Quillpage");
  word::PageSetup page = d.SectionPageSetup(1);
  EXPECT_FLOAT_EQ(page.PageWidth, 595.3f);
  EXPECT_FLOAT_EQ(page.LeftMargin, 85.05f);
  EXPECT_FLOAT_EQ(page.RightMargin, 85.05f);
  EXPECT_FLOAT_EQ(page.Gutter, 0.0f);
  EXPECT_EQ(ErrorOf([&] { d.SectionPageSetup(2); }), word::err::kNoSuchMember);
  d.SetSaved(true);
  d.Close();
  // After the close no style can be read: the revision's grid base is a constant.
  EXPECT_EQ(ErrorOf([&] { d.StyleFont(u"標準"); }), word::err::kNoActiveDocument);
  EXPECT_EQ(ErrorOf([&] { app->ActiveDocument(); }), word::err::kNoActiveDocument);

  std::string html = Read(dir_ / "work" / "サンプル.htm");
  EXPECT_NE(html.find("charset=shift_jis"), std::string::npos);
  Text text = Cp932ToText(html);
  // The changed Normal font is what the export names for Western text too.
  EXPECT_NE(text.find(u"p.MsoNormal, li.MsoNormal, div.MsoNormal\r\n\t{mso-style-parent:\"\";"),
            Text::npos);
  EXPECT_NE(text.find(u"font-family:\"ＭＳ 明朝\";"), Text::npos);
  EXPECT_EQ(text.find(u"font-family:Century"), Text::npos);
  EXPECT_NE(text.find(u"src=\"サンプル.files/image001.png\""), Text::npos);
  EXPECT_TRUE(fs::exists(dir_ / "work" / "サンプル.files" / "image001.png"));
  EXPECT_EQ(Read(doc), before);  // the user's document is only read
}

// A document that draws starts its drawing helper as it opens, so that the
// helper loads its libraries while the rest is read; one that draws
// nothing starts none, before its export or after.
TEST_F(WordEngine, TheDrawingHelperStartsAtOpenAndOnlyForADocumentThatDraws) {
  // A package thumbnail and a horizontal rule draw nothing on the page.
  DocxBuilder ruled = SampleDocument();
  ruled.Part("docProps/thumbnail.emf", std::string(88, '\0'));
  ruled.Body("<w:p><w:r><w:pict><v:rect xmlns:v=\"urn:schemas-microsoft-com:vml\" "
             "xmlns:o=\"urn:schemas-microsoft-com:office:office\" style=\"width:0;height:1.5pt\" "
             "o:hr=\"t\"/></w:pict></w:r></w:p>");
  word::EngineDocument plain(ruled.Build());
  plain.SaveAs(dir_ / "work" / "plain.htm", word::kFormatHtml);
  EXPECT_EQ(plain.DrawingHelpersStarted(), 0);
  DocxBuilder drawn = SampleDocument();
  drawn.Body(
      "<w:p><m:oMath xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\">"
      "<m:r><m:t>x</m:t></m:r></m:oMath></w:p>");
  word::EngineDocument d(drawn.Build());
  EXPECT_EQ(d.DrawingHelpersStarted(), 1);
  d.SaveAs(dir_ / "work" / "drawn.htm", word::kFormatHtml);
  EXPECT_EQ(d.DrawingHelpersStarted(), 1);
  EXPECT_TRUE(fs::exists(dir_ / "work" / "drawn.files" / "image001.png"));
}

// The run gives Western text the Normal style's East Asian font, as Japanese
// pages set all their text in it. A document that is not Japanese, or whose
// East Asian slot names a Western font (English templates name Times New
// Roman), keeps its Latin font there: Arial stays Arial, Calibri Calibri.
TEST_F(WordEngine, EastAsianFontIsTheLatinOneOutsideJapaneseDocuments) {
  auto normalFont = [&](const std::string& name, const std::string& defaults,
                        const std::string& lang) {
    DocxBuilder b;
    b.Part("word/theme/theme1.xml",
           "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
           "<a:themeElements><a:fontScheme><a:minorFont><a:latin typeface=\"Calibri\"/><a:ea "
           "typeface=\"\"/><a:font script=\"Jpan\" typeface=\"MS Mincho\"/><a:font "
           "script=\"Hang\" typeface=\"Malgun Gothic\"/></a:minorFont></a:fontScheme>"
           "</a:themeElements></a:theme>");
    b.Relate("theme", "theme/theme1.xml");
    b.Styles("<w:docDefaults><w:rPrDefault><w:rPr>" + defaults + "<w:lang w:eastAsia=\"" + lang +
             "\"/></w:rPr></w:rPrDefault></w:docDefaults><w:style w:type=\"paragraph\" "
             "w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>");
    b.Body("<w:p><w:r><w:t>text</w:t></w:r></w:p>");
    fs::path doc = dir_ / (name + ".docx");
    b.WriteTo(doc.string());
    auto app = word::CreateApplication(dir_ / "settings");
    word::Document& d = app->Open(doc, false);
    word::Font& normal = d.StyleFont(u"標準");
    normal.Name = normal.NameFarEast;
    d.SaveAs(dir_ / "work" / (name + ".htm"), word::kFormatHtml);
    d.Close();
    std::string html = Read(dir_ / "work" / (name + ".htm"));
    std::size_t at = html.find("font-family:", html.find("p.MsoNormal"));
    return at == std::string::npos ? std::string() : html.substr(at, html.find(';', at) - at);
  };
  const std::string themed =
      "<w:rFonts w:asciiTheme=\"minorHAnsi\" w:eastAsiaTheme=\"minorEastAsia\" "
      "w:hAnsiTheme=\"minorHAnsi\"/>";
  const std::string timesSlot =
      "<w:rFonts w:ascii=\"Arial\" w:eastAsia=\"Times New Roman\" w:hAnsi=\"Arial\"/>";
  EXPECT_EQ(normalFont("arial", timesSlot, "en-US"), "font-family:Arial,sans-serif");
  EXPECT_EQ(normalFont("korean", themed, "ko-KR"), "font-family:Calibri,sans-serif");
  EXPECT_EQ(normalFont("japanese", themed, "ja-JP"), "font-family:\"MS Mincho\",serif");
  EXPECT_EQ(normalFont("japaneseTimes", timesSlot, "ja-JP"), "font-family:Arial,sans-serif");
}

TEST_F(WordEngine, EncodingsOfTheSave) {
  DocxBuilder b;
  b.Body("<w:p><w:r><w:t>髙橋 😀 ü</w:t></w:r></w:p>");
  fs::path doc = dir_ / "enc.docx";
  b.WriteTo(doc.string());
  auto app = word::CreateApplication(dir_ / "settings");
  word::Document& d = app->Open(doc, false);
  d.SaveAs(dir_ / "work" / "sjis.htm", word::kFormatHtml);
  std::string sjis = Read(dir_ / "work" / "sjis.htm");
  // Without a code page 932 form: a numeric reference, as Word writes them.
  EXPECT_NE(sjis.find("&#128512;"), std::string::npos);
  EXPECT_NE(Cp932ToText(sjis).find(u"髙橋"), Text::npos);
  d.GetWebOptions().Encoding = 65001;
  d.SaveAs(dir_ / "work" / "utf8.htm", word::kFormatHtml);
  std::string utf8 = Read(dir_ / "work" / "utf8.htm");
  EXPECT_NE(utf8.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(utf8.find("髙橋 😀 ü"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "work" / "utf8.files"));  // no pictures, no folder
  EXPECT_EQ(ErrorOf([&] { d.SaveAs(dir_ / "work" / "x.doc", 0); }), err::kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { d.SaveAs(dir_ / "no" / "such" / "x.htm", 8); }), word::err::kSaveFailed);
}

}  // namespace
}  // namespace qp::test
