// quillpage run as a user runs it, without a display, against a scratch
// HOME: what it prints, what it answers, what it leaves in the settings.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sys/child_process.h"
#include "test_support.h"

namespace qp::app {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

const fs::path kProgram = fs::path(QP_BINARY_DIR) / "bin" / "quillpage";
const fs::path kDesktopProgram =
    fs::path(QP_BINARY_DIR) / "libexec" / "quillpage" / "quillpage-desktop";

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args` in a clean environment holding only HOME,
// PATH and `extraEnv`, so no display and no XDG setting of the test's own
// user leak in.
Outcome RunProgramAt(const fs::path& program, const std::vector<std::string>& args,
                     const fs::path& home, const std::vector<std::string>& extraEnv = {}) {
  TempFolder capture;
  const fs::path out = capture.path() / "out";
  const fs::path err = capture.path() / "err";
  std::vector<std::string> argv{program.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  // `extraEnv` first: the first of two settings of a name is the one read.
  std::vector<std::string> env = extraEnv;
  env.push_back("HOME=" + home.string());
  env.push_back("PATH=/usr/bin:/bin");
  env.push_back("LANG=ja_JP.UTF-8");  // the design's texts are the Japanese reader's
  sys::ChildStreams streams;
  streams.outputLog = out.string();
  streams.errorLog = err.string();
  sys::Child child({argv, env}, streams);
  sys::ChildEnd end = child.WaitFor(std::chrono::minutes(5));
  if (end.how == sys::ChildEnd::How::Running) end = child.Kill();  // a hang fails
  Outcome o;
  o.status = end.status;
  o.out = ReadFile(out);
  o.err = ReadFile(err);
  return o;
}

struct ProgramFixture : ::testing::Test {
  TempFolder home;
  fs::path settings = home.path() / ".config" / "Vexor" / "Quillpg_Word";
  void SetUp() override { ASSERT_TRUE(fs::exists(kProgram)) << kProgram; }
  Outcome Quillpage(const std::vector<std::string>& args) {
    return RunProgramAt(kProgram, args, home.path());
  }
};

TEST_F(ProgramFixture, NoArgumentPrintsTheUsageAndCreatesTheSettingsFile) {
  const Outcome o = Quillpage({});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.out.find("ワード文書をドロップしてください"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("LGrid=1"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("Prevw=1"), std::string::npos) << o.out;
  EXPECT_EQ(o.err, "");
  ASSERT_TRUE(fs::is_regular_file(settings / "Control.ini"));
  EXPECT_EQ(fs::file_size(settings / "Control.ini"), 0u);

  // an existing file is read and left as it is
  WriteFile(settings / "Control.ini", "; mine\r\n[SYSTEM]\r\nencod=1\r\n");
  const Outcome again = Quillpage({});
  EXPECT_EQ(again.status, 0);
  EXPECT_NE(again.out.find("Encod=1"), std::string::npos);
  EXPECT_EQ(ReadFile(settings / "Control.ini"), "; mine\r\n[SYSTEM]\r\nencod=1\r\n");
}

TEST_F(ProgramFixture, RefusalsGoToStandardErrorWithStatus1) {
  Outcome o = Quillpage({"/tmp/a", "b.doc"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "「Quillpage」 for Word\n複数のファイルは処理できません。    \n");
  EXPECT_EQ(o.out, "");

  o = Quillpage({"x.DOC"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "「Quillpage」 for Word\nＷｏｒｄ文書以外は処理できません。    \n");

  o = Quillpage({"/tmp/say \"hi\".docx"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("を含む文書は処理できません。"), std::string::npos) << o.err;
}

TEST_F(ProgramFixture, EveryOtherLocaleReadsEnglish) {
  for (const char* lang : {"LANG=C.UTF-8", "LANG=en_US.UTF-8", "LANG=de_DE.UTF-8"}) {
    Outcome o = RunProgramAt(kProgram, {"/tmp/a.docx", "/tmp/b.docx"}, home.path(), {lang});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "Quillpage for Word\nOnly one document can be converted at a time.\n") << lang;
    o = RunProgramAt(kProgram, {}, home.path(), {lang});
    EXPECT_NE(o.out.find("Drop a Word document on the program's desktop icon"), std::string::npos)
        << lang << o.out;
    EXPECT_NE(o.out.find("  Prevw=1  show the page in the browser afterwards\n"), std::string::npos)
        << o.out;
    o = RunProgramAt(kProgram, {"--help"}, home.path(), {lang});
    EXPECT_EQ(o.out.rfind("usage: quillpage [DOCUMENT]\n", 0), 0u) << o.out;
    EXPECT_NE(o.out.find("exit status:"), std::string::npos) << o.out;
  }
}

TEST_F(ProgramFixture, ABadOptionValueTakesTheDefaultAndTheFileIsLeftAlone) {
  fs::create_directories(settings);
  WriteFile(settings / "Control.ini", "[SYSTEM]\r\nPrevw=\r\nSetCt=abc\r\nLGrid=-1\r\n");
  const Outcome o = Quillpage({});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err, "");
  for (const char* shown : {"SetCt=0", "LGrid=1", "Prevw=1"}) {
    EXPECT_NE(o.out.find(shown), std::string::npos) << shown << "\n" << o.out;
  }
  EXPECT_EQ(ReadFile(settings / "Control.ini"), "[SYSTEM]\r\nPrevw=\r\nSetCt=abc\r\nLGrid=-1\r\n");
}

TEST_F(ProgramFixture, SettingsFolderThatCannotBeCreated) {
  WriteFile(home.path() / ".config", "a file where the folder should be");
  const Outcome o = Quillpage({});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err,
            "「Quillpage」 for Word\n設定ファイルを作成できません。\n" + settings.string() + "\n");
  EXPECT_EQ(o.out, "");
}

TEST_F(ProgramFixture, ADevelopmentTreeKeepsItsSettingsBesideTheProgram) {
  for (const char* tree : {"Ridgeworks", "ridgeworks"}) {
    const fs::path dir = home.path() / "src" / tree;
    fs::create_directories(dir);
    fs::copy_file(kProgram, dir / "quillpage");
    const Outcome o = RunProgramAt(dir / "quillpage", {}, home.path());
    EXPECT_EQ(o.status, 0) << tree;
    const bool beside = fs::exists(dir / "Control.ini");
    EXPECT_EQ(beside, std::string(tree) == "Ridgeworks") << tree;
    EXPECT_EQ(fs::exists(settings / "Control.ini"), !beside) << tree;
    fs::remove_all(settings);
  }
}

TEST_F(ProgramFixture, TheDesktopProgramSharesTheCommandsSettings) {
  if (!fs::exists(kDesktopProgram)) GTEST_SKIP() << "built without the Qt windows";
  // Installed as bin/quillpage and libexec/quillpage/quillpage-desktop: a
  // development tree keeps one settings file, beside the command.
  const fs::path tree = home.path() / "Ridgeworks";
  fs::create_directories(tree / "bin");
  fs::create_directories(tree / "libexec" / "quillpage");
  fs::copy_file(kDesktopProgram, tree / "libexec" / "quillpage" / "quillpage-desktop");
  const Outcome o =
      RunProgramAt(tree / "libexec" / "quillpage" / "quillpage-desktop", {}, home.path());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(fs::exists(tree / "bin" / "Control.ini"));
  EXPECT_FALSE(fs::exists(tree / "libexec" / "quillpage" / "Control.ini"));
}

TEST_F(ProgramFixture, ADisplayThatDoesNotAnswerCountsAsNone) {
  // A stale DISPLAY (logged out, ssh without forwarding) must not hand the
  // run to the windows, which would abort: it goes on as without a display.
  TempFolder runtime;
  const Outcome o = RunProgramAt(kProgram, {}, home.path(),
                                 {"DISPLAY=:4711", "WAYLAND_DISPLAY=wayland-qp-none",
                                  "XDG_RUNTIME_DIR=" + runtime.path().string()});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("Prevw=1"), std::string::npos) << o.out;
  EXPECT_EQ(o.err, "");
}

// From the configured source folder: __FILE__ is relative when the build
// makes paths relative (ccache's base folder), and tests run elsewhere.
const fs::path kSample =
    fs::path(QP_TEST_DATA_DIR).parent_path().parent_path().parent_path() / "data" / "sample.docx";

TEST_F(ProgramFixture, ADocumentBecomesAPageOnTheDesktopWithStatus0) {
  fs::create_directories(settings);
  WriteFile(settings / "Control.ini", "[SYSTEM]\r\nPrevw=0\r\n");  // no browser in a test
  TempFolder docs;
  const fs::path doc = docs.path() / "my report.docx";
  fs::copy_file(kSample, doc);
  const std::string original = ReadFile(doc);
  const auto stamp = fs::last_write_time(doc);

  for (int run = 1; run <= 2; ++run) {  // the second run replaces the first one's page
    const Outcome o = Quillpage({doc.string()});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(fs::is_regular_file(home.path() / "Desktop" / "my report.htm"));
  }
  EXPECT_EQ(ReadFile(doc), original);
  EXPECT_EQ(fs::last_write_time(doc), stamp);
  EXPECT_EQ(ReadFile(settings / "Control.ini"), "[SYSTEM]\r\nPrevw=0\r\n");
}

TEST_F(ProgramFixture, EverydayProblemsEndInOneMessageWithStatus1) {
  fs::create_directories(settings);
  WriteFile(settings / "Control.ini", "[SYSTEM]\r\nPrevw=0\r\n");
  TempFolder docs;
  WriteFile(docs.path() / "notes.docx", "plain text, named as a document\n");
  // A compound file, as .doc documents are: it needs LibreOffice.
  WriteFile(docs.path() / "old.doc",
            std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
  struct Case {
    fs::path doc;
    std::string says;
  };
  const Case cases[] = {
      {docs.path() / "notes.docx", "」はＷｏｒｄ文書ではありません。"},
      {docs.path() / "gone.docx", "」が見つかりません。"},
      {docs.path() / "old.doc", "」の変換には LibreOffice が必要です。"},
  };
  for (const Case& c : cases) {
    // No LibreOffice on this PATH.
    const Outcome o = RunProgramAt(kProgram, {c.doc.string()}, home.path(), {"PATH=/nonexistent"});
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_EQ(o.err.rfind("「Quillpage」 for Word\n「" + c.doc.string() + c.says, 0), 0u) << o.err;
    EXPECT_EQ(o.err.find("障害"), std::string::npos) << o.err;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 3) << "one message of two lines";
  }
}

TEST_F(ProgramFixture, AnotherRunAtWorkIsRefusedWithStatus1) {
  fs::create_directories(settings);
  // what a run in progress holds for its whole length
  const int lock = ::open((settings / "Engine.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(lock, 0);
  ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
  const Outcome o = Quillpage({kSample.string()});
  ::close(lock);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err,
            "「Quillpage」 for Word\n起動中のＷｏｒｄを終了してから実行してください。    \n");
  EXPECT_FALSE(fs::exists(home.path() / "Desktop" / "sample.htm"));
}

TEST_F(ProgramFixture, HelpAndVersionTouchNothing) {
  Outcome o = Quillpage({"--version"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "quillpage 1.0.4\n");
  o = Quillpage({"--help"});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.out.find("終了コード"), std::string::npos);
  const std::string help = o.out;
  o = Quillpage({"-h"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, help);
  EXPECT_FALSE(fs::exists(home.path() / ".config"));
}

}  // namespace
}  // namespace qp::app
