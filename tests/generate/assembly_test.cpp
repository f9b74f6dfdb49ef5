// Page assembly with a stand-in Word engine: the work folder, the export
// under fixed options, the page facts, pictures, both encodings, and a second
// run replacing the first.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "fake_word.h"
#include "generate/generation.h"
#include "temp_folder.h"
#include "text/codec.h"

namespace qp::gen {
namespace {

using testing::FakeApplication;
using testing::FakeEngine;
using testing::FakeUi;
using testing::FakeWordScript;
using testing::Names;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using V = std::vector<std::string>;

// A small page in the form Word saves, with two pictures and links.
std::string WordHtml(const std::string& stem) {
  const std::string html =
      "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\">\r\n"
      "<head>\r\n"
      "<meta http-equiv=Content-Type content=\"text/html; charset=shift_jis\">\r\n"
      "<title>報告</title>\r\n"
      "<style>\r\n"
      "<!--\r\n"
      " /* Style Definitions */\r\n"
      " p.MsoNormal, li.MsoNormal, div.MsoNormal\r\n"
      "\t{margin:0mm;\r\n"
      "\tfont-size:10.5pt;\r\n"
      "\tfont-family:\"ＭＳ 明朝\";}\r\n"
      "@page Section1\r\n"
      "\t{size:595.3pt 841.9pt;}\r\n"
      "div.Section1\r\n"
      "\t{page:Section1;}\r\n"
      "-->\r\n"
      "</style>\r\n"
      "</head>\r\n"
      "<body lang=JA style='text-justify-trim:punctuation'>\r\n"
      "<div class=Section1>\r\n"
      "<p class=MsoNormal>本文です。<img width=10 height=10 src=\"" +
      stem +
      ".files/image001.png\"></p>\r\n"
      "<p class=MsoNormal><img width=10 height=10 src=\"" +
      stem +
      ".files/image002.jpg\"></p>\r\n"
      "<p class=MsoNormal><a href=\"C:\\Docs\\other.doc#part\">他</a> <a "
      "href=\"http://example.com/a/\">web</a></p>\r\n"
      "</div>\r\n"
      "</body>\r\n"
      "</html>\r\n";
  return TextToCp932(Utf8ToText(html));
}

class PageAssembly : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME"}) {
      const char* v = std::getenv(name);
      saved_.push_back({name, v != nullptr ? std::optional<std::string>(v) : std::nullopt});
    }
    ::setenv("HOME", tmp.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (tmp.path() / ".config").c_str(), 1);
    WriteBytes(tmp.path() / ".config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n");
    std::filesystem::create_directories(desktop);
    std::filesystem::create_directories(settings);
    WriteBytes(tmp.path() / "docs" / "report.docx", "the user's document");

    script.pictures = {{"image001.png", "PNG"}, {"image002.jpg", "JPG"}, {"image003.gif", "GIF"}};
    run.Ui = &ui;
    run.SettingsFolder = FromPath(settings);
    Name(u"report.docx");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
  }
  void Name(const Text& fileName) {
    run.DocFileName = fileName;
    run.DocPath = FromPath(tmp.path() / "docs") + u"/" + fileName;
    run.PageName = Left(fileName, InStr(fileName, u".") - 1);
    script.html = WordHtml(TextToUtf8(Left(fileName, InStrRev(fileName, u".") - 1)));
  }
  Text Assemble() {
    script.closed = false;
    run.WordApp = std::make_unique<FakeApplication>(script);
    return Gen_Htm_Pag(run);
  }
  std::string Page() { return ReadBytes(desktop / (TextToUtf8(run.PageName) + ".htm")); }

  TempFolder tmp;
  std::filesystem::path desktop = tmp.path() / "Desktop";
  std::filesystem::path settings = tmp.path() / ".config" / "settings";
  FakeWordScript script;
  FakeUi ui;
  RunState run;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(PageAssembly, TheEnginesNotesReachTheUserInterfaceOnce) {
  FakeEngine engine(script);
  engine.attachError = 0;
  run.Engine = &engine;
  run.Opt.Prevw = 0;
  script.notes = {u"picture word/media/image2.emf left out", u"chart drawn as a placeholder"};
  Generate_Page(run);
  EXPECT_EQ(ui.notes, (std::vector<Text>{u"picture word/media/image2.emf left out",
                                         u"chart drawn as a placeholder"}));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(Page().empty());
}

TEST_F(PageAssembly, ExportsUnderFixedOptionsAndPutsTheDocumentBack) {
  script.properties = {{u"Title", u"題名"}, {u"Comments", u"説明"}, {u"KeyWords", u"鍵"}};
  script.setup = {612.0f, 72.5f, 70.25f, 10.1f};
  run.Opt.SetCt = 1;
  run.Opt.SetPW = 1;
  run.Opt.LGrid = 0;
  const word::WebOptions own = script.ownOptions;
  EXPECT_EQ(Assemble(), u"");

  EXPECT_EQ(script.openedPath, ToPath(run.DocPath));
  EXPECT_FALSE(script.openedAddToRecent);
  EXPECT_EQ(script.savedPath, settings / "Wrk" / "report.htm");
  EXPECT_EQ(script.savedFormat, word::kFormatHtml);
  EXPECT_EQ(script.fontNameAtSave, u"ＭＳ 明朝");
  const word::WebOptions& at = script.optionsAtSave;
  EXPECT_TRUE(at.UseLongFileNames && at.RelyOnCSS && at.AllowPNG);
  EXPECT_FALSE(at.OptimizeForBrowser || at.RelyOnVML);
  EXPECT_EQ(at.Encoding, 932);
  // Put back before the document was closed, unsaved.
  EXPECT_EQ(script.normal.Name, u"Century");
  EXPECT_EQ(script.ownOptions.UseLongFileNames, own.UseLongFileNames);
  EXPECT_EQ(script.ownOptions.RelyOnCSS, own.RelyOnCSS);
  EXPECT_EQ(script.ownOptions.OptimizeForBrowser, own.OptimizeForBrowser);
  EXPECT_EQ(script.ownOptions.RelyOnVML, own.RelyOnVML);
  EXPECT_EQ(script.ownOptions.AllowPNG, own.AllowPNG);
  EXPECT_EQ(script.ownOptions.Encoding, own.Encoding);
  EXPECT_TRUE(script.savedFlag);
  EXPECT_TRUE(script.closed);
  EXPECT_GE(ui.messageTurns, 1);

  const revise::PageInfoRecord& info = run.PageInfo;
  EXPECT_EQ(info.DocName, u"report");
  EXPECT_EQ(info.PageTitle, u"題名");
  EXPECT_EQ(info.PageDescription, u"説明");
  EXPECT_EQ(info.PageKeywords, u"鍵");
  EXPECT_EQ(info.BodyMargin, 1);
  EXPECT_EQ(info.MarginTop + info.MarginBottom + info.MarginLeft + info.MarginRight, 0);
  EXPECT_EQ(info.LayoutGrid, 0);
  EXPECT_EQ(info.FixWidth, 1);
  EXPECT_EQ(info.Centering, 1);
  EXPECT_EQ(info.IndentFlag, 1);
  EXPECT_EQ(info.FontSizeFlag, 1);
  EXPECT_EQ(info.TextWidth, ((612.0f - 72.5f) - 70.25f) - 10.1f);

  EXPECT_EQ(ReadBytes(tmp.path() / "docs" / "report.docx"), "the user's document");
  EXPECT_EQ(run.OutputFolder, FromPath(desktop) + u"/");
  EXPECT_EQ(run.WorkFolder, FromPath(settings) + u"/Wrk/");
}

TEST_F(PageAssembly, PicturesAndLinksEndUpBesideThePage) {
  ASSERT_EQ(Assemble(), u"");
  const std::string page = Page();
  EXPECT_NE(page.find("src=\"Image/report-001.png\""), std::string::npos);
  EXPECT_NE(page.find("src=\"Image/report-002.jpg\""), std::string::npos);
  EXPECT_EQ(page.find("report.files"), std::string::npos);
  EXPECT_NE(page.find("href=\"other.htm#part\""), std::string::npos);
  EXPECT_NE(page.find("href=\"http://example.com/a/\""), std::string::npos);
  EXPECT_EQ(page.substr(page.size() - 2), "\r\n");
  EXPECT_EQ(Names(desktop / "Image"), (V{"report-001.png", "report-002.jpg"}));
  // The unreferenced GIF went with the work folder.
  EXPECT_TRUE(Names(settings / "Wrk").empty());
  EXPECT_EQ(Names(desktop), (V{"Image/", "report.htm"}));
}

TEST_F(PageAssembly, Utf8PageIsTheSameTextAfterAMark) {
  ASSERT_EQ(Assemble(), u"");
  const std::string sjis = Page();
  run.Opt.Encod = 1;
  ASSERT_EQ(Assemble(), u"");
  const std::string utf8 = Page();
  ASSERT_EQ(utf8.substr(0, 3), "\xEF\xBB\xBF");
  const Text fromUtf8 = Utf8ToText(utf8.substr(3));
  EXPECT_NE(fromUtf8.find(u"本文です。"), Text::npos);
  if (fromUtf8.find(u"charset=utf-8") == Text::npos) {
    EXPECT_EQ(fromUtf8, Cp932ToText(sjis));  // the revision left the charset alone
  }
}

TEST_F(PageAssembly, SecondRunReplacesTheFirst) {
  for (const char16_t* fileName : {u"report.docx", u"report.old.docx"}) {
    Name(fileName);
    ASSERT_EQ(Assemble(), u"");
    const std::string first = Page();
    // The first run's output is cleared and written anew.
    script.pictures = {{"image001.png", "PNG-2"}};
    ASSERT_EQ(Assemble(), u"");
    EXPECT_EQ(Names(desktop / "Image"), (V{"report-001.png"}));
    EXPECT_EQ(ReadBytes(desktop / "Image" / "report-001.png"), "PNG-2");
    EXPECT_EQ(Names(desktop), (V{"Image/", "report.htm"}));
    EXPECT_TRUE(Names(settings / "Wrk").empty());
    script.pictures = {{"image001.png", "PNG"}, {"image002.jpg", "JPG"}, {"image003.gif", "GIF"}};
  }
}

TEST_F(PageAssembly, OtherPagesOnTheDesktopStay) {
  WriteBytes(desktop / "notes.htm", "mine");
  // Matches the earlier-page pattern "report.htm*" but is a document.
  WriteBytes(desktop / "report.htm.docx", "a document");
  WriteBytes(desktop / "report.html", "an earlier page");
  WriteBytes(desktop / "Image" / "notes-001.png", "mine");
  WriteBytes(desktop / "Image" / "report-0001.png", "mine");
  ASSERT_EQ(Assemble(), u"");
  EXPECT_EQ(ReadBytes(desktop / "notes.htm"), "mine");
  EXPECT_EQ(ReadBytes(desktop / "report.htm.docx"), "a document");
  EXPECT_FALSE(std::filesystem::exists(desktop / "report.html"));
  EXPECT_EQ(Names(desktop / "Image"),
            (V{"notes-001.png", "report-0001.png", "report-001.png", "report-002.jpg"}));
}

TEST_F(PageAssembly, MissingExportFailsWithItsLocation) {
  script.saveWritesNothing = true;
  try {
    Assemble();
    ADD_FAILURE() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.location(), "Mod_HtmlRev -> Gen_Htm_Pag");
    EXPECT_EQ(f.step(), 18);
    EXPECT_EQ(f.code(), err::kFileNotFound);
  }
  EXPECT_FALSE(std::filesystem::exists(desktop / "report.htm"));
}

}  // namespace
}  // namespace qp::gen
