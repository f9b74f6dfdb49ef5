// What a hostile document may not reach: script links on the page, folders
// through symbolic links, junk passed off as pictures, the user's own files
// through LibreOffice, and the disk through a flood of notes.
#include <gtest/gtest.h>

#include <algorithm>

#include "generate/word/doc_convert.h"
#include "tests/corpus.h"
#include "tests/robust/hostile_documents.h"
#include "tests/robust/robust_support.h"
#include "tests/word/docx_builder.h"

namespace qp::robust {
namespace {

using std::chrono::seconds;

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(RobustContain, ScriptDataAndFileLinksLoseTheLinkAndKeepTheText) {
  QP_NEED_PROGRAM();
  User user;
  const Outcome out = user.Run(user.Place("links.docx", ScriptLinksDocx()), seconds(60));
  ASSERT_EQ(out.status, kDone) << out.output;
  const std::string page = ReadFile(user.page("links"));
  for (int n = 1; n <= 14; ++n) {
    EXPECT_NE(page.find((n <= 8 ? "bad " : "good ") + std::to_string(n)), std::string::npos) << n;
  }
  for (const char* scheme : {"javascript:", "JaVaScRiPt:", "vbscript:", "data:", "file:"}) {
    EXPECT_EQ(page.find(scheme), std::string::npos) << scheme;
  }
  // The good links stay links: the four addresses, a page and a fragment.
  EXPECT_EQ(Count(page, "<a href="), 6u) << page;
  EXPECT_NE(page.find("href=\"ftp://ftp.example.com/file.txt\""), std::string::npos);
  EXPECT_NE(page.find("href=\"mailto:someone@example.com\""), std::string::npos);
  EXPECT_NE(out.output.find("「javascript:alert(document.domain)」へのリンクを省きました"),
            std::string::npos)
      << out.output;
}

TEST(RobustContain, LinkedImageOrWorkFolderIsRefusedAndItsTargetUntouched) {
  QP_NEED_PROGRAM();
  for (const bool work : {false, true}) {
    SCOPED_TRACE(work ? "work folder" : "Image folder");
    User user;
    const fs::path document = user.Place("pics.docx", ManyPicturesDocx(2));
    const fs::path elsewhere = user.home() / "elsewhere";
    WriteFile(elsewhere / "pics-001.png", "mine");
    WriteFile(elsewhere / "keep.txt", "mine too");
    const fs::path linked = work ? user.work() : user.desktop() / "Image";
    fs::create_directories(linked.parent_path());
    fs::create_directory_symlink(elsewhere, linked);

    const Outcome out = user.Run(document, seconds(60));
    EXPECT_TRUE(EndedWithMessage(out)) << out.output;
    EXPECT_NE(out.output.find("シンボリックリンク"), std::string::npos) << out.output;
    EXPECT_EQ(Names(elsewhere), (std::vector<std::string>{"keep.txt", "pics-001.png"}));
    EXPECT_EQ(ReadFile(elsewhere / "pics-001.png"), "mine");
    EXPECT_FALSE(fs::exists(user.page("pics")));
  }
}

TEST(RobustContain, PictureNameThatIsALinkBlocksNoRun) {
  QP_NEED_PROGRAM();
  User user;
  const fs::path document = user.Place("pics.docx", ManyPicturesDocx(2));
  const fs::path theirs = user.home() / "theirs.png";
  WriteFile(theirs, "not the run's");
  fs::create_directories(user.desktop() / "Image");
  fs::create_symlink(theirs, user.desktop() / "Image" / "pics-001.png");
  for (int run = 1; run <= 2; ++run) {
    const Outcome out = user.Run(document, seconds(60));
    EXPECT_EQ(out.status, kDone) << run << ": " << out.output;
    EXPECT_FALSE(fs::is_symlink(user.desktop() / "Image" / "pics-001.png"));
  }
  EXPECT_EQ(ReadFile(theirs), "not the run's");
}

TEST(RobustContain, JunkBehindAPictureSignatureIsLeftOut) {
  QP_NEED_PROGRAM();
  User user;
  const Outcome out = user.Run(user.Place("junk.docx", JunkPicturesDocx()), seconds(60));
  ASSERT_EQ(out.status, kDone) << out.output;
  // Only the real picture is written.
  EXPECT_EQ(Names(user.desktop() / "Image"), std::vector<std::string>{"junk-001.png"});
  EXPECT_LT(fs::file_size(user.desktop() / "Image" / "junk-001.png"), 1000u);
  EXPECT_EQ(Count(out.output, "は中身が正しい画像ではないため省きました"), 3u) << out.output;
}

TEST(RobustContain, ThousandsOfNotesEndInOneShortMessage) {
  QP_NEED_PROGRAM();
  User user;
  const Outcome out = user.Run(user.Place("missing.docx", MissingPicturesDocx(2000)), seconds(60));
  ASSERT_EQ(out.status, kDone) << out.output;
  EXPECT_LE(Count(out.output, "省きました"), 40u);
  EXPECT_GE(Count(out.output, "省きました"), 20u);
  EXPECT_NE(out.output.find("1970"), std::string::npos) << "how many more notes there are";
}

// Tables nested deeper than the page's indent goes (25 and more) still give
// a page, with the innermost text on it.
TEST(RobustContain, DeeplyNestedTablesGiveAPage) {
  QP_NEED_PROGRAM();
  for (const int depth : {25, 40}) {
    User user;
    const Outcome out = user.Run(user.Place("nested.docx", NestedTablesDocx(depth)), seconds(60));
    ASSERT_EQ(out.status, kDone) << depth << ": " << out.output;
    const std::string page = ReadFile(user.page("nested"));
    EXPECT_NE(page.find("deep"), std::string::npos) << depth;
    EXPECT_NE(page.find("after"), std::string::npos) << depth;
  }
}

// An RTF file under a .doc name makes LibreOffice embed the picture its
// INCLUDEPICTURE field names; in the sandbox no file of the user's is there.
TEST(RobustContain, LibreOfficeCannotCopyTheUsersFilesIntoThePage) {
  QP_NEED_PROGRAM();
  QP_NEED(word::FindConverter().empty() ? "no LibreOffice" : "");
  User user;
  const std::string secret = test::TinyPng() + "secret";
  WriteFile(user.home() / "secret.png", secret);
  const Outcome out =
      user.Run(user.Place("include.doc", IncludePictureRtf((user.home() / "secret.png").string())),
               seconds(120));
  ASSERT_EQ(out.status, kDone) << out.output;
  EXPECT_NE(ReadFile(user.page("include")).find("Text after the picture."), std::string::npos);
  // The document has no picture of its own: any picture came from outside.
  EXPECT_EQ(Names(user.desktop() / "Image"), std::vector<std::string>{});
}

}  // namespace
}  // namespace qp::robust
