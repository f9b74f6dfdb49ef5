// Documents that are large or deep on purpose. Each run gets a time limit; a
// page is fine when the program can make one, the failure report when it
// cannot, but nothing may hang, crash or write outside its folders.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/robust/hostile_documents.h"
#include "tests/robust/robust_support.h"

namespace qp::robust {
namespace {

using std::chrono::seconds;

struct HeavyRun {
  Outcome out;
  std::string changes;
};

HeavyRun RunOnce(const User& user, const std::string& name, const std::string& bytes,
                 seconds limit) {
  const fs::path document = user.Place(name, bytes);
  const Watch watch(user, document);
  HeavyRun run{user.Run(document, limit), {}};
  run.changes = watch.Changes();
  return run;
}

TEST(RobustHeavy, ZipBombsAreStoppedAtTheCap) {
  QP_NEED_PROGRAM();
  {
    // The document part itself: nothing to make a page of.
    User user;
    const HeavyRun run = RunOnce(user, "bomb.docx", ZipBombDocumentDocx(), seconds(300));
    EXPECT_TRUE(EndedWithMessage(run.out)) << run.out.status << ": " << run.out.output;
    EXPECT_EQ(run.changes, "");
    EXPECT_FALSE(fs::exists(user.page("bomb")));
  }
  {
    // A picture: the page is made without it, and nothing of it is written.
    User user;
    const HeavyRun run = RunOnce(user, "bomb.docx", ZipBombPictureDocx(), seconds(300));
    EXPECT_EQ(run.out.status, kDone) << run.out.output;
    EXPECT_NE(ReadFile(user.page("bomb")).find("bomb"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(user.desktop() / "Image"));
    EXPECT_EQ(run.changes, "");
  }
}

TEST(RobustHeavy, TenThousandNestedTablesAreRefused) {
  QP_NEED_PROGRAM();
  User user;
  const HeavyRun run = RunOnce(user, "nested.docx", NestedTablesDocx(10000), seconds(300));
  EXPECT_TRUE(EndedWithMessage(run.out)) << run.out.status << ": " << run.out.output;
  EXPECT_FALSE(fs::exists(user.page("nested")));
  EXPECT_EQ(run.changes, "");
}

// Ten times the paragraphs may cost about ten times the time, never a
// hundred: the two sizes' times are compared, so a quadratic step shows on
// any machine, and the limit is near what the large run needs (well under a
// second on two cores), not ten minutes.
TEST(RobustHeavy, HundredThousandParagraphsMakeAPageInLinearTime) {
  QP_NEED_PROGRAM();
  const auto timed = [](int paragraphs, std::string& page) {
    User user;
    const auto start = std::chrono::steady_clock::now();
    const HeavyRun run = RunOnce(user, "long.docx", ManyParagraphsDocx(paragraphs), seconds(60));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.out.status, kDone) << run.out.output;
    EXPECT_EQ(run.changes, "");
    page = ReadFile(user.page("long"));
    return took.count();
  };
  std::string page;
  const double small = timed(10000, page);
  EXPECT_NE(page.find("paragraph-10000<"), std::string::npos);
  const double large = timed(100000, page);
  EXPECT_NE(page.find("paragraph-1<"), std::string::npos);
  EXPECT_NE(page.find("paragraph-100000<"), std::string::npos);
  EXPECT_LT(large, 30 * small) << "10,000 paragraphs: " << small << " s, 100,000: " << large
                               << " s";
}

TEST(RobustHeavy, FifteenHundredPicturesAreNumberedToFourDigits) {
  QP_NEED_PROGRAM();
  User user;
  const HeavyRun run = RunOnce(user, "album.docx", ManyPicturesDocx(1500), seconds(600));
  ASSERT_EQ(run.out.status, kDone) << run.out.output;
  const fs::path image = user.desktop() / "Image";
  EXPECT_TRUE(fs::exists(image / "album-001.png"));
  EXPECT_TRUE(fs::exists(image / "album-999.png"));
  EXPECT_TRUE(fs::exists(image / "album-1000.png"));
  EXPECT_TRUE(fs::exists(image / "album-1500.png"));
  EXPECT_FALSE(fs::exists(image / "album-1501.png"));
  const std::string page = ReadFile(user.page("album"));
  EXPECT_NE(page.find("Image/album-1500.png"), std::string::npos);
  EXPECT_EQ(page.find(".files/"), std::string::npos) << "a picture left unrewritten";
  EXPECT_TRUE(fs::is_empty(user.work()));
  EXPECT_EQ(run.changes, "");
}

}  // namespace
}  // namespace qp::robust
