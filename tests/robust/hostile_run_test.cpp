// Broken and hostile documents dropped on the program: each run ends in a
// message or the failure report within its time, writes nothing outside the
// desktop and the program's own folder, and leaves the document as it was.
#include <gtest/gtest.h>

#include "tests/corpus.h"
#include "tests/robust/hostile_documents.h"
#include "tests/robust/robust_support.h"

namespace qp::robust {
namespace {

using std::chrono::seconds;

struct Case {
  const char* name;  // the file name the user has
  std::string bytes;
};

// Runs each case in a fresh home; a page may not appear for any of them.
void ExpectRefusedWithoutHarm(const std::vector<Case>& cases, seconds limit) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    User user;
    const fs::path document = user.Place(c.name, c.bytes);
    const Watch watch(user, document);
    const Outcome out = user.Run(document, limit);
    EXPECT_TRUE(EndedWithMessage(out))
        << "status " << out.status << (out.timedOut ? " (timed out)" : "") << ": " << out.output;
    EXPECT_EQ(watch.Changes(), "");
    const std::string stem = fs::path(c.name).stem().stem().string();
    EXPECT_FALSE(fs::exists(user.page(stem))) << "no page for a broken document";
  }
}

TEST(RobustHostile, BrokenPackagesEndInTheReport) {
  QP_NEED_PROGRAM();
  ExpectRefusedWithoutHarm({{"missing.docx", MissingDocumentDocx()},
                            {"entities.docx", EntityExpansionDocx()},
                            {"encrypted.docx", EncryptedDocx()},
                            {"notes.doc", TextAsDoc()},
                            {"empty.docx", ""},
                            {"random.docx", std::string(4096, '\x9C')}},
                           seconds(60));
}

TEST(RobustHostile, RealBrokenFilesEndInTheReport) {
  QP_NEED_PROGRAM();
  // Files from the corpus that their writers meant to be unreadable: a
  // password-protected package and one whose document part is cut short.
  std::vector<Case> cases;
  for (const char* name : {"poi_bug53475-password-is-pass.docx", "tika_testWORD_truncated.docx"}) {
    QP_NEED_CORPUS("docx/" + std::string(name));
    cases.push_back({name, ReadFile(fs::path(QP_CORPUS_DIR) / "docx" / name)});
    ASSERT_FALSE(cases.back().bytes.empty()) << name;
  }
  ExpectRefusedWithoutHarm(cases, seconds(60));
}

TEST(RobustHostile, EntryNamesThatClimbOutWriteNothingOutside) {
  QP_NEED_PROGRAM();
  User user;
  const fs::path document = user.Place("escape.docx", EscapingNamesDocx());
  const Watch watch(user, document);
  const Outcome out = user.Run(document, seconds(60));
  EXPECT_FALSE(out.timedOut);
  EXPECT_TRUE(out.status == kDone || EndedWithMessage(out)) << out.output;
  EXPECT_EQ(watch.Changes(), "");
  EXPECT_FALSE(fs::exists("/tmp/qp-robust-absolute.txt"));
  EXPECT_FALSE(fs::exists(user.home() / "escaped.txt"));
  EXPECT_FALSE(fs::exists(user.home().parent_path() / "escaped-too.txt"));
}

TEST(RobustHostile, PictureBytesThatBelieTheirNameStillGiveAPage) {
  QP_NEED_PROGRAM();
  User user;
  const fs::path document = user.Place("mismatch.docx", MismatchedPictureDocx());
  const Watch watch(user, document);
  const Outcome out = user.Run(document, seconds(60));
  if (out.status == kDone) {
    const std::string page = ReadFile(user.page("mismatch"));
    EXPECT_NE(page.find("pictures"), std::string::npos);
    // Every picture the page names is in the Image folder.
    for (std::size_t at = page.find("Image/"); at != std::string::npos;
         at = page.find("Image/", at + 1)) {
      const std::string name = page.substr(at + 6, page.find('"', at) - at - 6);
      EXPECT_TRUE(fs::exists(user.desktop() / "Image" / name)) << name;
    }
  } else {
    EXPECT_TRUE(EndedWithMessage(out)) << out.output;
  }
  EXPECT_EQ(watch.Changes(), "");
}

}  // namespace
}  // namespace qp::robust
