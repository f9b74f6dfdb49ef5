// The dispatch of one document: the argument text rebuilt from the split
// arguments, its refusals, the names derived from it, and the engine check.
#include <gtest/gtest.h>

#include <vector>

#include "app/dispatch.h"
#include "app/run_interface.h"
#include "app/shell.h"
#include "app/start_up.h"
#include "fake_desktop.h"
#include "test_support.h"

namespace qp::app {
namespace {

using testing::ChosenEngine;
using testing::RecordingDesktop;

Text Rebuilt(std::vector<const char*> args) {
  args.insert(args.begin(), "quillpage");
  return CommandLineText(static_cast<int>(args.size()), const_cast<char**>(args.data()));
}

TEST(CommandLine, RebuiltAsOneTextWithQuotesAroundSpaces) {
  EXPECT_EQ(Rebuilt({}), u"");
  EXPECT_EQ(Rebuilt({"/home/u/a.doc"}), u"/home/u/a.doc");
  EXPECT_EQ(Rebuilt({"/home/u/My Docs/a.doc"}), u"\"/home/u/My Docs/a.doc\"");
  // Several arguments are all quoted, whichever of them hold spaces.
  EXPECT_EQ(Rebuilt({"/tmp/a", "b.doc"}), u"\"/tmp/a\" \"b.doc\"");
  EXPECT_EQ(Rebuilt({"/x y/a.doc", "/b.doc"}), u"\"/x y/a.doc\" \"/b.doc\"");
  EXPECT_EQ(DocumentRefusal(Rebuilt({"/a.docx", "/x y/b.docx"})), kSeveralFilesMessage);
  EXPECT_EQ(Rebuilt({""}), u"\"\"");
  EXPECT_EQ(Rebuilt({"/home/u/文書.docx"}), u"/home/u/文書.docx");
}

TEST(CommandLine, RefusalsAsTheChecksIntend) {
  struct Case {
    const char16_t* line;
    const char16_t* refusal;
  };
  const Case cases[] = {
      {u"/docs/a.doc", nullptr},
      {u"/docs/a.docx", nullptr},
      {u"\"/my docs/a.doc\"", nullptr},
      {u"/docs/report.old.docx", nullptr},
      {u"/my docs/a.doc", kSeveralFilesMessage},         // unquoted space
      {u"\"/a.doc\" \"/b.doc\"", kSeveralFilesMessage},  // two quoted paths
      {u"\"/a.doc\" ", kSeveralFilesMessage},            // space after the closing quote
      {u"/tmp/a b.doc", kSeveralFilesMessage},
      {u"/docs/a.DOC", kNotWordMessage},
      {u"/docs/a.Docx", kNotWordMessage},
      {u"/docs/a.docm", kNotWordMessage},
      {u"/docs/a.txt", kNotWordMessage},
      {u"/docs/readme", kNotWordMessage},
      {u"/docs.old/readme", kNotWordMessage},  // the last dot is in a folder name
      {u"/docs/a.doc.", kNotWordMessage},
      {u"\"\"", kNotWordMessage},
  };
  for (const Case& c : cases) {
    const char16_t* refusal = DocumentRefusal(c.line);
    EXPECT_EQ(refusal == nullptr ? Text(u"accepted") : Text(refusal),
              c.refusal == nullptr ? Text(u"accepted") : Text(c.refusal))
        << "case " << (&c - cases);
  }
}

TEST(CommandLine, NamesOfTheDocument) {
  DocumentNames n = NamesOf(u"\"/home/u/My Docs/report.old.docx\"");
  EXPECT_EQ(n.DocPath, u"/home/u/My Docs/report.old.docx");
  EXPECT_EQ(n.DocFileName, u"report.old.docx");
  EXPECT_EQ(n.PageName, u"report");
  n = NamesOf(u"a.doc");
  EXPECT_EQ(n.DocFileName, u"a.doc");
  EXPECT_EQ(n.PageName, u"a");
  EXPECT_EQ(NamesOf(u"/x/.hidden.doc").PageName, u"");
}

struct DisposeFixture : ::testing::Test {
  gen::RunState run;
  RecordingDesktop desktop;
  ChosenEngine engine;
  DisposeFixture() {
    run.Engine = &engine;
    run.SettingsFolder = u"/nonexistent-settings";
  }
};

TEST_F(DisposeFixture, AnotherRunHoldingTheEngineIsRefusedFirstAndLeftRunning) {
  engine.otherRunHoldsEngine = true;
  run.CommandLine = u"/my docs/a.txt";  // would be refused too, but later
  EXPECT_EQ(DisposeDocument(run, desktop), kExitRefused);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, kWordRunningMessage);
  EXPECT_EQ(desktop.messages[0].style, 48);
  EXPECT_EQ(engine.quits, 0);
  EXPECT_EQ(run.WordApp, nullptr);
  EXPECT_TRUE(desktop.events == std::vector<std::string>{"arrow"});  // no guide window
}

// Another run takes the engine between this run's look for one and its own
// start: this run is refused as if the other had been there all along.
class EngineTakenMeanwhile : public gen::WordEngine {
 public:
  std::unique_ptr<word::Application> Attach(const Text&) override {
    if (++attaches == 1) Raise(err::kCannotCreateObject);
    return std::make_unique<testing::CountingWordApp>(&quits);
  }
  std::unique_ptr<word::Application> Create(const Text&) override {
    Raise(err::kCannotCreateObject);
  }
  int attaches = 0;
  int quits = 0;
};

TEST_F(DisposeFixture, RunThatLosesTheEngineToOneStartedAtOnceIsRefused) {
  EngineTakenMeanwhile meanwhile;
  run.Engine = &meanwhile;
  run.CommandLine = u"/docs/a.docx";
  EXPECT_EQ(DisposeDocument(run, desktop), kExitRefused);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, kWordRunningMessage);
  EXPECT_EQ(meanwhile.quits, 0);  // the other run's engine is left alone
  EXPECT_EQ(run.WordApp, nullptr);
  EXPECT_TRUE(run.DocPath.empty());
  EXPECT_TRUE(desktop.events == std::vector<std::string>{"arrow"});  // no guide window
}

TEST_F(DisposeFixture, RefusalsShowTheirMessageAndTouchNothingElse) {
  run.CommandLine = u"\"/a.doc\" \"/b.doc\"";
  EXPECT_EQ(DisposeDocument(run, desktop), kExitRefused);
  run.CommandLine = u"/x.DOC";
  EXPECT_EQ(DisposeDocument(run, desktop), kExitRefused);
  ASSERT_EQ(desktop.messages.size(), 2u);
  EXPECT_EQ(desktop.messages[0].text, kSeveralFilesMessage);
  EXPECT_EQ(desktop.messages[1].text, kNotWordMessage);
  EXPECT_EQ(engine.attaches, 2);
  EXPECT_TRUE(run.DocPath.empty());
  EXPECT_TRUE(run.PageName.empty());
}

TEST_F(DisposeFixture, AnAcceptedDocumentRunsTheGenerationAndEndsWithoutAPage) {
  testing::TempFolder home;
  const std::string h = home.path().string();
  testing::ScopedEnv homeEnv("HOME", h.c_str());
  testing::ScopedEnv configEnv("XDG_CONFIG_HOME", nullptr);
  run.CommandLine = u"\"/no such/report.old.docx\"";
  // the engine can neither be attached nor started: the run tells so and
  // writes no page
  EXPECT_EQ(DisposeDocument(run, desktop), kExitRefused);
  EXPECT_EQ(run.CommandLine, u"/no such/report.old.docx");
  EXPECT_EQ(run.DocPath, u"/no such/report.old.docx");
  EXPECT_EQ(run.DocFileName, u"report.old.docx");
  EXPECT_EQ(run.PageName, u"report");
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text.rfind(u"Wordを起動できません。(429)\r\n\r\n", 0), 0u);
  ASSERT_GE(desktop.events.size(), 3u);
  EXPECT_EQ(desktop.events.front(), "guide shown");
  EXPECT_EQ(desktop.events[1], "wait");
  EXPECT_EQ(desktop.events[desktop.events.size() - 2], "guide unloaded");
  EXPECT_EQ(desktop.events.back(), "arrow");
  EXPECT_EQ(run.Ui, nullptr);  // the run's interface lives only as long as the run
}

// A desktop whose notification server answers or not.
class NotifyingDesktop : public RecordingDesktop {
 public:
  bool AnnouncePage(TextView pagePath) override {
    announced.emplace_back(pagePath);
    return serverAnswers;
  }
  bool serverAnswers = true;
  std::vector<Text> announced;
};

TEST(PageAnnouncement, AMessageSaysWhereThePageIsWhenNoNotificationCanBeShown) {
  NotifyingDesktop desktop;
  AnnounceWrittenPage(desktop, u"/home/u/Desktop/報告.htm");
  EXPECT_TRUE(desktop.messages.empty());
  desktop.serverAnswers = false;
  AnnounceWrittenPage(desktop, u"/home/u/Desktop/報告.htm");
  EXPECT_EQ(desktop.announced.size(), 2u);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            u"ページ（htmlファイル）を作成しました。    \r\n/home/u/Desktop/報告.htm");
  EXPECT_EQ(desktop.messages[0].style, 64);
  // The console has no notifications and stays silent.
  RecordingDesktop console;
  AnnounceWrittenPage(console, u"/p.htm");
  EXPECT_TRUE(console.messages.empty());
}

TEST(RunNotes, ShownTogetherInOneMessageAtTheEndOfTheRun) {
  gen::RunState run;
  RecordingDesktop desktop;
  {
    RunInterface ui(run, desktop);
    run.Ui->Note(u"picture word/media/image2.emf left out");
    run.Ui->Note(u"chart drawn as a placeholder");
    EXPECT_TRUE(desktop.messages.empty()) << "nothing while the run goes on";
    ui.ShowNotes();
    ui.ShowNotes();  // told once
  }
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            u"ページの作成について、次のお知らせがあります。    \r\n\r\n"
            u"picture word/media/image2.emf left out\r\nchart drawn as a placeholder");
  EXPECT_EQ(desktop.messages[0].style, 64);
  EXPECT_EQ(desktop.messages[0].caption, u"「Quillpage」 for Word");
}

}  // namespace
}  // namespace qp::app
