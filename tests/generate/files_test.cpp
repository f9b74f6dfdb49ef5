// Wildcard deletes, the clearing of earlier pictures, and the page bytes in
// both encodings.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "generate/assembly_steps.h"
#include "generate/file_patterns.h"
#include "generate/generation.h"
#include "temp_folder.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen {
namespace {

using testing::Names;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using V = std::vector<std::string>;

TEST(NamePatterns, PrefixIsLiteralAndWildcardsMatchTheRest) {
  EXPECT_TRUE(MatchesPattern(u"report.htm", {u"report.htm", u"*"}));
  EXPECT_TRUE(MatchesPattern(u"report.html", {u"report.htm", u"*"}));
  EXPECT_FALSE(MatchesPattern(u"Report.htm", {u"report.htm", u"*"}));
  EXPECT_TRUE(MatchesPattern(u"a.htm", {{}, u"*.htm"}));
  EXPECT_FALSE(MatchesPattern(u"a.html", {{}, u"*.htm"}));
  EXPECT_TRUE(MatchesPattern(u"noext", {{}, u"*.*"}));
  EXPECT_TRUE(MatchesPattern(u"x.files", {u"x", u"*.files"}));
  EXPECT_TRUE(MatchesPattern(u"x.old.files", {u"x", u"*.files"}));
  EXPECT_TRUE(MatchesPattern(u"ab", {{}, u"a?"}));
  EXPECT_FALSE(MatchesPattern(u"abc", {{}, u"a?"}));
  // A stem holding wildcard characters stands for itself only.
  EXPECT_FALSE(MatchesPattern(u"other-001.png", {u"*-", u"*.*"}));
  EXPECT_TRUE(MatchesPattern(u"*-001.png", {u"*-", u"*.*"}));
  // Many stars against a long name stay fast (one backtrack point).
  EXPECT_FALSE(MatchesPattern(Text(5000, u'a'), {{}, u"*a*a*a*a*a*a*a*a*b"}));
}

TEST(FolderDeletes, OnlyMatchingEntriesGoAndLinksAreNotFollowed) {
  TempFolder tmp;
  const auto work = tmp.path() / "Wrk";
  const auto outside = tmp.path() / "outside";
  WriteBytes(work / "a.htm", "1");
  WriteBytes(work / "b.html", "2");
  WriteBytes(work / "keep.txt", "3");
  WriteBytes(work / "a.files" / "p.png", "4");
  WriteBytes(outside / "precious.htm", "5");
  std::filesystem::create_directory_symlink(outside, work / "link.files");
  std::filesystem::create_symlink(outside / "precious.htm", work / "c.htm");

  DeleteFiles(work, {{}, u"*.htm"});
  EXPECT_EQ(Names(work), (V{"a.files/", "b.html", "keep.txt", "link.files"}));
  EXPECT_EQ(ReadBytes(outside / "precious.htm"), "5");

  DeleteFolders(work, {{}, u"*.files"});
  EXPECT_EQ(Names(work), (V{"b.html", "keep.txt", "link.files"}));

  // Everything left goes with "*.*", links as links.
  DeleteFiles(work, {{}, u"*.*"});
  EXPECT_TRUE(Names(work).empty());
  EXPECT_EQ(Names(outside), (V{"precious.htm"}));

  // Nothing matching is reported (the caller decides to ignore it).
  try {
    DeleteFiles(work, {{}, u"*.htm"});
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), err::kFileNotFound);
  }
}

TEST(DelImgFil, RemovesExactlyThreeCharactersBetweenMinusAndDot) {
  TempFolder tmp;
  RunState run;
  run.OutputFolder = FromPath(tmp.path()) + u"/";
  const auto image = tmp.path() / "Image";
  for (const char* name :
       {"report-001.png", "report-abc.gif", "report-0001.png", "report.png", "report-01.jpg",
        "report-002", "reports-001.png", "other-001.png", "report-x.y.png", "report-abc.doc",
        "report-abc.DOCX", ".report-004.png.aB3xY9"}) {
    WriteBytes(image / name, "x");
  }
  std::filesystem::create_directory(image / "report-dir.d");
  // A read-only picture goes too.
  ::chmod((image / "report-abc.gif").c_str(), 0444);
  // A link under a picture's name goes as a link (else that name would stay
  // taken and every later run fail); what it points at stays.
  WriteBytes(tmp.path() / "elsewhere.png", "theirs");
  std::filesystem::create_symlink(tmp.path() / "elsewhere.png", image / "report-003.png");

  Del_Img_Fil(run, u"report");
  // Word documents are never taken for pictures; a copy a killed run left
  // half-written (".report-004.png.aB3xY9") goes.
  EXPECT_EQ(Names(image),
            (V{"other-001.png", "report-0001.png", "report-002", "report-01.jpg", "report-abc.DOCX",
               "report-abc.doc", "report-dir.d/", "report.png", "reports-001.png"}));
  EXPECT_EQ(ReadBytes(tmp.path() / "elsewhere.png"), "theirs");
}

TEST(DelImgFil, MissingImageFolderIsNoFailure) {
  TempFolder tmp;
  RunState run;
  run.OutputFolder = FromPath(tmp.path()) + u"/";
  EXPECT_NO_THROW(Del_Img_Fil(run, u"report"));
}

TEST(PageBytes, ShiftJisWithCrLfThenUtf8WithMark) {
  TempFolder tmp;
  const Text path = FromPath(tmp.path() / "p.htm");
  // Kana, a kanji, ASCII, and a character without a code page 932 form.
  WritePage(path, u"<p>あア漢 x\r\n😀</p>");
  const std::string sjis = ReadBytes(ToPath(path));
  EXPECT_EQ(sjis, "<p>\x82\xA0\x83\x41\x8A\xBF x\r\n&#128512;</p>\r\n");

  Cnv_Encode(path);
  EXPECT_EQ(ReadBytes(ToPath(path)),
            "\xEF\xBB\xBF<p>\xE3\x81\x82\xE3\x82\xA2\xE6\xBC\xA2 x\r\n&#128512;</p>\r\n");
}

TEST(PageBytes, AsciiPageGrowsByTheMarkOnly) {
  TempFolder tmp;
  const Text path = FromPath(tmp.path() / "p.htm");
  WritePage(path, u"<html>\r\n</html>");
  const std::string before = ReadBytes(ToPath(path));
  Cnv_Encode(path);
  EXPECT_EQ(ReadBytes(ToPath(path)), "\xEF\xBB\xBF" + before);
}

TEST(PageBytes, ReplacingLeavesNoTemporaryFileAndKeepsOthers) {
  TempFolder tmp;
  const auto page = tmp.path() / "p.htm";
  WriteBytes(page, "old page");
  WriteBytes(tmp.path() / "q.htm", "other");
  // What a run killed before its rename leaves goes; look-alikes stay.
  for (const char* name : {".p.htm.Ab12Z9", ".p.htm.abc", ".p.htm.Ab12Z9x", ".q.htm.Ab12Z9",
                           "p.htm.Ab12Z9", ".p.htm.Ab-2Z9"}) {
    WriteBytes(tmp.path() / name, "left");
  }
  std::filesystem::create_directory(tmp.path() / ".p.htm.Folder");
  WritePage(FromPath(page), u"new");
  EXPECT_EQ(ReadBytes(page), "new\r\n");
  EXPECT_EQ(Names(tmp.path()), (V{".p.htm.Ab-2Z9", ".p.htm.Ab12Z9x", ".p.htm.Folder/", ".p.htm.abc",
                                  ".q.htm.Ab12Z9", "p.htm", "p.htm.Ab12Z9", "q.htm"}));
  struct stat st {};
  ASSERT_EQ(::stat(page.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0044, 0u) << "the page is readable by others as any new file";
}

TEST(PageBytes, UnwritableFolderFailsWithoutTouchingThePage) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  TempFolder tmp;
  const auto page = tmp.path() / "p.htm";
  WriteBytes(page, "old page");
  ::chmod(tmp.path().c_str(), 0555);
  EXPECT_THROW(WritePage(FromPath(page), u"new"), RuntimeError);
  EXPECT_THROW(Cnv_Encode(FromPath(page)), Failure);
  ::chmod(tmp.path().c_str(), 0755);
  EXPECT_EQ(ReadBytes(page), "old page");
}

TEST(PageBytes, MissingPageFailsInCnvEncode) {
  TempFolder tmp;
  try {
    Cnv_Encode(FromPath(tmp.path() / "none.htm"));
    ADD_FAILURE() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.location(), "Mod_HtmlRev -> Cnv_Encode");
    EXPECT_EQ(f.code(), err::kFileNotFound);
  }
}

TEST(MoveFile, NeverReplacesAnExistingFile) {
  TempFolder tmp;
  WriteBytes(tmp.path() / "a.png", "new");
  WriteBytes(tmp.path() / "Image" / "p-001.png", "old");
  try {
    MoveFileNoReplace(tmp.path() / "a.png", tmp.path() / "Image" / "p-001.png");
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.code(), err::kFileAlreadyExists);
  }
  EXPECT_EQ(ReadBytes(tmp.path() / "Image" / "p-001.png"), "old");
  MoveFileNoReplace(tmp.path() / "a.png", tmp.path() / "Image" / "p-002.png");
  EXPECT_EQ(ReadBytes(tmp.path() / "Image" / "p-002.png"), "new");
  EXPECT_FALSE(std::filesystem::exists(tmp.path() / "a.png"));
}

// Across file systems the picture is copied; a disk that fills up midway
// leaves no cut-short picture under the picture's name, and nothing else.
TEST(MoveFile, CopyThatCannotFinishLeavesNothing) {
  TempFolder tmp;
  const std::filesystem::path shm = "/dev/shm";
  struct stat a {
  }, b{};
  if (::stat(shm.c_str(), &a) != 0 || ::stat(tmp.path().c_str(), &b) != 0 || a.st_dev == b.st_dev) {
    GTEST_SKIP() << "needs /dev/shm on another file system than the temporary folder";
  }
  const std::filesystem::path from = shm / ("qp-move-" + std::to_string(::getpid()) + ".png");
  WriteBytes(from, std::string(64 * 1024, 'p'));
  const auto image = tmp.path() / "Image";
  std::filesystem::create_directories(image);
  const pid_t child = ::fork();
  if (child == 0) {
    // A full disk, as the writer sees it: writes past 16 KiB fail.
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{16 * 1024, 16 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &small);
    try {
      MoveFileNoReplace(from, image / "p-001.png");
    } catch (const RuntimeError&) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(Names(image), V{});
  EXPECT_TRUE(std::filesystem::exists(from)) << "the source stays when the move fails";
  std::filesystem::remove(from);

  WriteBytes(from, "whole");
  MoveFileNoReplace(from, image / "p-001.png");
  EXPECT_EQ(ReadBytes(image / "p-001.png"), "whole");
  EXPECT_FALSE(std::filesystem::exists(from));
}

}  // namespace
}  // namespace qp::gen
