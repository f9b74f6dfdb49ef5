// The messages in the user's language: the design's Japanese texts exactly
// as they stand for a Japanese reader, English for every other reader, the
// engine's notes in the reader's language; and every text written for the
// user has its English entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/catalogue.h"
#include "app/catalogues.h"
#include "app/dispatch.h"
#include "app/everyday_problems.h"
#include "app/messages.h"
#include "app/usage.h"
#include "generate/word/word_app.h"
#include "test_support.h"
#include "text/codec.h"
#include "text/failure_report.h"

namespace qp::app {
namespace {

namespace fs = std::filesystem;

bool HasJapanese(TextView t) {
  for (char16_t c : t) {
    if ((c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF)) return true;
  }
  return false;
}

const Catalogue& English() {
  static const Catalogue c = Catalogue::FromMo(EnglishCatalogueBytes());
  return c;
}
const Catalogue& Japanese() {
  static const Catalogue c = Catalogue::FromMo(JapaneseCatalogueBytes());
  return c;
}

// What the program shows, one of each kind.
std::vector<Text> ShownTexts() {
  gen::RunState run;
  run.SettingsFolder = u"/home/u/.config/Vexor/Quillpg_Word";
  run.DocPath = u"/home/u/文書/報告.doc";
  run.OutputFolder = u"/home/u/デスクトップ/";
  run.WorkFolder = run.SettingsFolder + u"/Wrk/";
  std::vector<Text> shown = {kMessageCaption, kWordRunningMessage, kSeveralFilesMessage,
                             kNotWordMessage, kQuoteInPathMessage};
  shown.push_back(FailureReportText(Failure("Mod_Main -> Main", 12, 13, {})));
  shown.push_back(SettingsUsageText(run));
  shown.push_back(Utf8ToText(HelpText()));
  shown.push_back(NotesMessage({}));
  for (std::int32_t code : {err::kFileNotFound, err::kPermissionDenied, word::err::kFileOpenFailed,
                            word::err::kEncrypted, word::err::kConverterMissing,
                            word::err::kConverterUnconfined, word::err::kConverterTimedOut}) {
    shown.push_back(
        EverydayProblemMessage(Failure("Mod_HtmlRev -> Gen_Htm_Pag", 9, code, {}), run).value());
  }
  shown.push_back(EverydayProblemMessage(
                      Failure("Mod_HtmlRev -> Gen_Htm_Pag", 24, err::kPermissionDenied, {}), run)
                      .value());
  return shown;
}

Text Lines(TextView t) {
  return Replace(t, u"|", u"\n");
}

TEST(Catalogue, AJapaneseReaderSeesTheDesignsTextsAsTheyStand) {
  for (const Text& text : ShownTexts()) {
    if (!HasJapanese(text)) continue;
    EXPECT_EQ(Japanese().Translate(Lines(text)), Lines(text)) << TextToUtf8(text);
  }
  // The engine's notes come in Japanese, naming the object as the reader knows it.
  EXPECT_EQ(Japanese().Translate(u"picture word/media/image1.emf shown as a placeholder (an EMF+ "
                                 u"picture, whose records are not drawn)"),
            u"画像 image1.emf は代わりの図で表示しました（EMF+ 形式の画像は描画しません）。");
  EXPECT_EQ(
      Japanese().Translate(
          u"chart word/charts/chart2.xml shown as a placeholder (chart kind ofPie is not drawn)"),
      u"グラフ 2 は代わりの図で表示しました（ofPie の種類のグラフは描画しません）。");
  EXPECT_EQ(Japanese().Translate(
                u"drawing Group 5 shown as a placeholder (the drawing took longer than 5 s)"),
            u"図形「Group 5」は代わりの図で表示しました（描画が中断されました：5 "
            u"秒を過ぎても終わりませんでした）。");
  // What has no entry stays as it is.
  EXPECT_EQ(Japanese().Translate(u"a note of tomorrow\r\nsecond"), u"a note of tomorrow\r\nsecond");
}

TEST(Catalogue, EveryOtherReaderSeesEnglish) {
  for (const Text& text : ShownTexts()) {
    const Text english = English().Translate(Lines(text));
    // Paths keep their Japanese folder names; nothing else may.
    Text rest = english;
    for (const char16_t* path : {u"/home/u/文書/報告.doc", u"/home/u/デスクトップ"})
      ReplaceAll(rest, path, u"");
    EXPECT_FALSE(HasJapanese(rest)) << TextToUtf8(english);
  }
  const Text report =
      English().Translate(FailureReportText(Failure("Mod_Main -> Main", 12, 13, {})));
  EXPECT_NE(report.find(u"     Location : Mod_Main -> Main Line=12\r\n     Error    : Code=13\r\n"),
            Text::npos)
      << TextToUtf8(report);
  EXPECT_NE(report.find(u"     Date     : 20"), Text::npos) << TextToUtf8(report);
  EXPECT_EQ(English().Translate(
                u"「/a b/c.doc」の変換が 120 秒を過ぎても終わらないため中止しました。    "),
            u"The conversion of /a b/c.doc took longer than 120 s and was stopped.");
  EXPECT_EQ(
      English().Translate(u"picture word/media/image3.wmf shown as a placeholder (the WMF picture "
                          u"could not be read)"),
      u"The picture image3.wmf is shown as a placeholder (the WMF picture could not be read).");
}

// Every text in the sources that a user may read, in its pieces between the
// parts a message fills in, lies within an entry of the English catalogue.
TEST(Catalogue, EverySourceTextHasAnEnglishEntry) {
  const fs::path root = fs::path(QP_TEST_DATA_DIR).parent_path().parent_path().parent_path();
  std::vector<fs::path> files = {root / "text" / "failure_report.cpp",
                                 root / "text" / "failure.cpp", root / "ui" / "help_page.cpp"};
  for (const char* folder : {"app", "generate"}) {
    for (const auto& entry : fs::directory_iterator(root / folder)) {
      const auto ext = entry.path().extension();
      if (ext == ".cpp" || ext == ".h") files.push_back(entry.path());
    }
  }
  int pieces = 0;
  for (const fs::path& file : files) {
    std::ifstream in(file);
    std::stringstream content;
    content << in.rdbuf();
    const std::string source = content.str();
    // Every string literal, escapes kept as written.
    for (std::size_t at = source.find('"'); at != std::string::npos; at = source.find('"', at)) {
      std::size_t end = at + 1;
      while (end < source.size() && source[end] != '"' && source[end] != '\n') {
        end += source[end] == '\\' ? 2 : 1;
      }
      Text literal = Utf8ToText(source.substr(at + 1, end - at - 1));
      at = end + 1;
      ReplaceAll(literal, u"\\\"", u"\"");
      for (const char16_t* br : {u"\\r\\n", u"\\n", u"|"}) ReplaceAll(literal, br, u"\n");
      std::size_t from = 0;
      while (from <= literal.size()) {
        std::size_t nl = literal.find(u'\n', from);
        if (nl == Text::npos) nl = literal.size();
        const Text piece = literal.substr(from, nl - from);
        from = nl + 1;
        if (!HasJapanese(piece) || piece == u"標準") continue;  // a style's name, not a text
        ++pieces;
        EXPECT_TRUE(English().Covers(piece)) << file.filename() << ": " << TextToUtf8(piece);
      }
    }
  }
  EXPECT_GT(pieces, 50);
}

TEST(Catalogue, ACutOrDamagedFileGivesAnEmptyCatalogue) {
  const std::string_view mo = EnglishCatalogueBytes();
  ASSERT_GT(English().size(), 50u);
  // Every prefix: the tables point past the end, and nothing is read there.
  for (std::size_t n = 0; n < mo.size(); n += 7) {
    const Catalogue cut = Catalogue::FromMo(mo.substr(0, n));
    EXPECT_EQ(cut.size(), 0u) << n;
  }
  std::string damaged(mo);
  damaged[12] = '\xFF';  // the originals' table far outside the file
  EXPECT_EQ(Catalogue::FromMo(damaged).size(), 0u);
  EXPECT_EQ(Catalogue::FromMo("not a catalogue at all, long enough").size(), 0u);
}

TEST(Catalogue, TheLanguageIsTheLocaleOfMessages) {
  struct Case {
    const char* language;
    const char* all;
    const char* messages;
    const char* lang;
    bool japanese;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, "ja_JP.UTF-8", true},
      {nullptr, nullptr, nullptr, "ja", true},
      {nullptr, nullptr, nullptr, "C.UTF-8", false},
      {nullptr, nullptr, nullptr, "en_US.UTF-8", false},
      {nullptr, nullptr, nullptr, nullptr, false},
      {nullptr, "C", nullptr, "ja_JP.UTF-8", false},
      {nullptr, nullptr, "ja_JP.UTF-8", "en_US.UTF-8", true},
      {"ja:en", nullptr, nullptr, "en_US.UTF-8", true},
      {"en", nullptr, nullptr, "ja_JP.UTF-8", false},
      {"ja", nullptr, nullptr, "C", false},  // the C locale ignores LANGUAGE
      {nullptr, nullptr, nullptr, "jv_ID.UTF-8", false},
  };
  for (const Case& c : cases) {
    testing::ScopedEnv a("LANGUAGE", c.language);
    testing::ScopedEnv b("LC_ALL", c.all);
    testing::ScopedEnv m("LC_MESSAGES", c.messages);
    testing::ScopedEnv l("LANG", c.lang);
    EXPECT_EQ(UserReadsJapanese(), c.japanese)
        << (c.language ? c.language : "-") << " " << (c.all ? c.all : "-") << " "
        << (c.messages ? c.messages : "-") << " " << (c.lang ? c.lang : "-");
  }
}

}  // namespace
}  // namespace qp::app
