// Reaching the Word engine, the run without one, and showing the page
// through a stand-in xdg-open.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "fake_word.h"
#include "generate/generation.h"
#include "temp_folder.h"
#include "text/codec.h"

namespace qp::gen {
namespace {

using testing::FakeEngine;
using testing::FakeUi;
using testing::FakeWordScript;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const Text kSupported =
    u"   このソフトウェアの実行には、Microsoft Word 2000､2002､2003､2007のいずれかが必要です。    ";

struct WordRun {
  WordRun() {
    run.Ui = &ui;
    run.Engine = &engine;
    run.SettingsFolder = u"/nonexistent/settings";
  }
  FakeWordScript script;
  FakeEngine engine{script};
  FakeUi ui;
  RunState run;
};

TEST(RefWrdApp, AttachesCreatesOrTellsWhyNot) {
  {
    WordRun w;
    w.engine.attachError = 0;
    EXPECT_TRUE(Ref_Wrd_App(w.run));
    EXPECT_EQ(w.engine.creates, 0);
    EXPECT_EQ(w.run.WordStartError, 0);
    EXPECT_TRUE(w.ui.messages.empty());
    // A second call reuses the engine it has.
    EXPECT_TRUE(Ref_Wrd_App(w.run));
    EXPECT_EQ(w.engine.attaches, 1);
  }
  for (std::int32_t attachError : {err::kCannotCreateObject, err::kServerUnavailable}) {
    WordRun w;
    w.engine.attachError = attachError;
    EXPECT_TRUE(Ref_Wrd_App(w.run));
    EXPECT_EQ(w.engine.creates, 1);
    EXPECT_EQ(w.run.WordStartError, 0);
    EXPECT_TRUE(w.ui.messages.empty());
  }
  {
    WordRun w;
    w.engine.attachError = err::kServerUnavailable;
    w.engine.createError = err::kCannotCreateObject;
    EXPECT_FALSE(Ref_Wrd_App(w.run));
    EXPECT_EQ(w.run.WordStartError, err::kCannotCreateObject);
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_EQ(w.ui.messages[0].text, u"Wordを起動できません。(429)||" + kSupported);
    EXPECT_EQ(w.ui.messages[0].icon, 3);
  }
  {
    // Any other error on attach: no second attempt, no message.
    WordRun w;
    w.engine.attachError = err::kPermissionDenied;
    EXPECT_FALSE(Ref_Wrd_App(w.run));
    EXPECT_EQ(w.engine.creates, 0);
    EXPECT_EQ(w.run.WordStartError, err::kPermissionDenied);
    EXPECT_TRUE(w.ui.messages.empty());
  }
  {
    WordRun w;
    w.engine.createError = word::err::kConverterMissing;
    EXPECT_FALSE(Ref_Wrd_App(w.run));
    ASSERT_EQ(w.ui.messages.size(), 1u);
    EXPECT_EQ(w.ui.messages[0].text, u"Wordを起動できません。(5121)||" + kSupported);
  }
}

TEST(GeneratePage, WithoutWordNothingIsMadeOrShown) {
  WordRun w;
  w.engine.createError = err::kCannotCreateObject;
  w.run.Opt.Prevw = 1;
  Generate_Page(w.run);
  ASSERT_EQ(w.ui.messages.size(), 1u);  // only the engine's message
  EXPECT_EQ(w.ui.messageTurns, 2);
  EXPECT_EQ(w.ui.cursor, std::vector<bool>{false});
  EXPECT_TRUE(w.script.openedPath.empty());
}

// Puts a stand-in xdg-open first in PATH for the life of the object.
class FakeOpener {
 public:
  FakeOpener(const std::filesystem::path& folder, const std::string& body) : folder_(folder) {
    const char* path = std::getenv("PATH");
    saved_ = path != nullptr ? path : "";
    if (!body.empty()) {
      WriteBytes(folder / "xdg-open", "#!/bin/sh\n" + body);
      std::filesystem::permissions(folder / "xdg-open", std::filesystem::perms::owner_all);
    } else {
      std::filesystem::create_directories(folder);
    }
    // Without the system folders the stand-in is the only xdg-open there is.
    ::setenv("PATH", (folder.string() + ":/bin:/usr/bin").c_str(), 1);
    if (body.empty()) ::setenv("PATH", folder.c_str(), 1);
  }
  ~FakeOpener() { ::setenv("PATH", saved_.c_str(), 1); }

 private:
  std::filesystem::path folder_;
  std::string saved_;
};

struct ShownPage {
  ShownPage() {
    run.Ui = &ui;
    run.OutputFolder = FromPath(tmp.path() / "デスクトップ") + u"/";
    run.PageName = u"報告 書";
    WriteBytes(tmp.path() / "デスクトップ" / "報告 書.htm", "page");
  }
  TempFolder tmp;
  FakeUi ui;
  RunState run;
  std::filesystem::path record = tmp.path() / "record";
};

TEST(DspFTsPag, HandsThePathToXdgOpenWithAUtf8Locale) {
  ShownPage p;
  FakeOpener opener(p.tmp.path() / "bin", "printf '%s|%s|%s' \"$1\" \"$LC_ALL\" \"$LC_CTYPE\" > '" +
                                              p.record.string() + "'\nexit 0\n");
  const char* lcAll = std::getenv("LC_ALL");
  const std::string savedLcAll = lcAll != nullptr ? lcAll : "";
  ::setenv("LC_ALL", "C", 1);
  Dsp_FTs_Pag(p.run);
  if (lcAll != nullptr)
    ::setenv("LC_ALL", savedLcAll.c_str(), 1);
  else
    ::unsetenv("LC_ALL");

  EXPECT_TRUE(p.ui.messages.empty());
  EXPECT_EQ(ReadBytes(p.record),
            (p.tmp.path() / "デスクトップ" / "報告 書.htm").string() + "||C.UTF-8");
}

TEST(DspFTsPag, FailuresCarryTheirCode) {
  struct Case {
    std::string body;  // empty: no xdg-open at all
    const char16_t* message;
  };
  const Case cases[] = {
      {"exit 3\n", u"ページの表示に失敗しました。(Code=3)    "},
      {"exit 4\n", u"ページの表示に失敗しました。(Code=4)    "},
      {"", u"ページの表示に失敗しました。(Code=127)    "},
      {"kill -9 $$\n", u"ページの表示に失敗しました。(Code=137)    "},
  };
  for (const Case& c : cases) {
    ShownPage p;
    FakeOpener opener(p.tmp.path() / "bin", c.body);
    Dsp_FTs_Pag(p.run);
    ASSERT_EQ(p.ui.messages.size(), 1u) << c.body;
    EXPECT_EQ(p.ui.messages[0].text, c.message);
    EXPECT_EQ(p.ui.messages[0].icon, 3);
  }
}

TEST(DspFTsPag, MissingPageIsCodeTwoWithoutStartingAnything) {
  ShownPage p;
  p.run.PageName = u"none";
  FakeOpener opener(p.tmp.path() / "bin", "touch '" + p.record.string() + "'\nexit 0\n");
  Dsp_FTs_Pag(p.run);
  ASSERT_EQ(p.ui.messages.size(), 1u);
  EXPECT_EQ(p.ui.messages[0].text, u"ページの表示に失敗しました。(Code=2)    ");
  EXPECT_FALSE(std::filesystem::exists(p.record));
}

}  // namespace
}  // namespace qp::gen
