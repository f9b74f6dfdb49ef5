// Everyday problems of a run end in one message that names the document or
// folder, the cause and what to do, with the refusal's exit status; every
// other failure still reaches the failure report.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/dispatch.h"
#include "app/everyday_problems.h"
#include "app/shell.h"
#include "fake_desktop.h"
#include "test_support.h"
#include "text/codec.h"

namespace qp::app {
namespace {

using testing::RecordingDesktop;

// An engine that starts, and whose Open fails with `openError` after noting
// something, as the .doc converter notes the package it misses.
class FailingOpenApp : public testing::CountingWordApp {
 public:
  FailingOpenApp(int* quits, std::int32_t openError)
      : CountingWordApp(quits), openError_(openError) {}
  word::Document& Open(const std::filesystem::path&, bool) override {
    noted_ = true;
    Raise(openError_, u"engine's own words");
  }
  std::vector<Text> TakeNotes() override {
    if (!noted_) return {};
    noted_ = false;
    return {u"install the converter"};
  }

 private:
  std::int32_t openError_;
  bool noted_ = false;
};

class FailingOpenEngine : public gen::WordEngine {
 public:
  std::unique_ptr<word::Application> Attach(const Text&) override {
    if (!started) Raise(err::kCannotCreateObject);
    return nullptr;
  }
  std::unique_ptr<word::Application> Create(const Text&) override {
    started = true;
    return std::make_unique<FailingOpenApp>(&quits, openError);
  }
  std::int32_t openError = 0;
  bool started = false;
  int quits = 0;
};

TEST(EverydayProblems, EachDocumentCauseIsOneMessageNamingTheDocument) {
  testing::TempFolder home;
  const std::string h = home.path().string();
  testing::ScopedEnv homeEnv("HOME", h.c_str());
  testing::ScopedEnv configEnv("XDG_CONFIG_HOME", nullptr);
  std::filesystem::create_directories(home.path() / "settings");
  struct Case {
    std::int32_t code;
    const char16_t* says;
  };
  const Case cases[] = {
      {err::kFileNotFound, u"」が見つかりません。"},
      {err::kPermissionDenied, u"」を読み込めません（アクセスが拒否されました）。"},
      {word::err::kFileOpenFailed, u"」はＷｏｒｄ文書ではありません。"},
      {word::err::kEncrypted, u"」はパスワードで保護されています。"},
      {word::err::kConverterMissing, u"libreoffice-writer をインストールしてください。"},
      {word::err::kConverterUnconfined, u"bubblewrap をインストールしてください"},
      {word::err::kConverterTimedOut, u"」の変換が 120 秒を過ぎても終わらないため中止しました。"},
  };
  for (const Case& c : cases) {
    FailingOpenEngine engine;
    engine.openError = c.code;
    gen::RunState run;
    run.Engine = &engine;
    run.SettingsFolder = FromPath(home.path() / "settings");
    run.CommandLine = u"\"/my docs/報告.doc\"";
    RecordingDesktop desktop;
    int status = -1;
    ASSERT_NO_THROW(status = DisposeDocument(run, desktop)) << c.code;
    EXPECT_EQ(status, kExitRefused) << c.code;
    ASSERT_EQ(desktop.messages.size(), 1u) << c.code << ": the engine's note is not shown apart";
    const Text& text = desktop.messages[0].text;
    EXPECT_EQ(text.rfind(u"「/my docs/報告.doc」", 0), 0u) << TextToUtf8(text);
    EXPECT_NE(text.find(c.says), Text::npos) << TextToUtf8(text);
    EXPECT_NE(text.find(u"\r\n"), Text::npos) << "a second line says what to do";
    EXPECT_EQ(desktop.messages[0].style, 48);
    EXPECT_EQ(engine.quits, 1) << c.code;
    ASSERT_GE(desktop.events.size(), 2u);
    EXPECT_EQ(desktop.events.front(), "guide shown");
    EXPECT_NE(std::find(desktop.events.begin(), desktop.events.end(), "guide unloaded"),
              desktop.events.end());
  }

  // A document whose parts cannot be read is the engine's problem to report.
  FailingOpenEngine engine;
  engine.openError = word::err::kFileCorrupt;
  gen::RunState run;
  run.Engine = &engine;
  run.SettingsFolder = FromPath(home.path() / "settings");
  run.CommandLine = u"/docs/a.docx";
  RecordingDesktop desktop;
  EXPECT_THROW(DisposeDocument(run, desktop), Failure);
}

TEST(EverydayProblems, AFolderThatCannotBeWrittenIsNamed) {
  gen::RunState run;
  run.DocPath = u"/docs/a.docx";
  run.SettingsFolder = u"/home/u/.config/Vexor/Quillpg_Word";
  run.WorkFolder = run.SettingsFolder + u"/Wrk/";
  run.OutputFolder = u"/home/u/デスクトップ/";
  auto message = [&](const char* location, int step, std::int32_t code) {
    return EverydayProblemMessage(Failure(location, step, code, {}), run);
  };
  const char* assembly = "Mod_HtmlRev -> Gen_Htm_Pag";
  struct Case {
    const char* location;
    int step;
    Text folder;
  };
  const Case cases[] = {
      {assembly, 2, u"/home/u/デスクトップ"},
      {assembly, 24, u"/home/u/デスクトップ"},
      {"Mod_HtmlRev -> Cnv_Encode", 4, u"/home/u/デスクトップ"},
      {assembly, 3, u"/home/u/デスクトップ/Image"},
      {assembly, 21, u"/home/u/デスクトップ/Image"},
      {assembly, 1, run.SettingsFolder + u"/Wrk"},
  };
  for (const Case& c : cases) {
    const Text shown = message(c.location, c.step, err::kPermissionDenied).value_or(u"");
    EXPECT_EQ(
        shown.rfind(u"「" + c.folder + u"」に書き込めません（アクセスが拒否されました）。", 0), 0u)
        << c.location << " " << c.step << ": " << TextToUtf8(shown);
  }
  // Other failures of the same steps, and the same code elsewhere, are not
  // everyday problems.
  EXPECT_FALSE(message(assembly, 24, err::kPathFileAccess));
  EXPECT_FALSE(message(assembly, 19, err::kPermissionDenied));
  EXPECT_FALSE(message("Mod_HtmlRev -> Rev_Html_State", 2, err::kPermissionDenied));
  EXPECT_FALSE(message(assembly, 9, err::kStructure));
}

}  // namespace
}  // namespace qp::app
