// Faults of the user's folders: each ends in a message or the failure report,
// never in a crash, a half-written page or a changed document.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/robust/hostile_documents.h"
#include "tests/robust/robust_support.h"

namespace qp::robust {
namespace {

using std::chrono::seconds;

TEST(RobustFaults, UnwritableDesktopEndsInTheReport) {
  QP_NEED_PROGRAM();
  User user;
  if (!user.RunUnprivileged()) GTEST_SKIP() << "cannot run the program as an ordinary user";
  const fs::path document = user.Place("report.docx", PlainDocx());
  WriteFile(user.desktop() / "report.htm", "the old page");
  ::chmod(user.desktop().c_str(), 0555);
  const Watch watch(user, document);
  const Outcome out = user.Run(document, seconds(60));
  EXPECT_TRUE(EndedWithMessage(out)) << out.status << ": " << out.output;
  EXPECT_EQ(watch.Changes(), "");
  EXPECT_EQ(ReadFile(user.desktop() / "report.htm"), "the old page");
}

TEST(RobustFaults, ImageThatIsAFileEndsInTheReport) {
  QP_NEED_PROGRAM();
  User user;
  const fs::path document = user.Place("report.docx", PlainDocx());
  WriteFile(user.desktop() / "Image", "a file where the folder should be");
  const Watch watch(user, document);
  const Outcome out = user.Run(document, seconds(60));
  EXPECT_TRUE(EndedWithMessage(out)) << out.status << ": " << out.output;
  EXPECT_EQ(ReadFile(user.desktop() / "Image"), "a file where the folder should be");
  EXPECT_EQ(watch.Changes(), "");
}

TEST(RobustFaults, DesktopThatIsAFileEndsInTheReport) {
  QP_NEED_PROGRAM();
  User user;
  fs::remove_all(user.desktop());
  WriteFile(user.desktop(), "not a folder");
  const fs::path document = user.Place("report.docx", PlainDocx());
  const Watch watch(user, document);
  const Outcome out = user.Run(document, seconds(60));
  EXPECT_TRUE(EndedWithMessage(out)) << out.status << ": " << out.output;
  EXPECT_EQ(ReadFile(user.desktop()), "not a folder");
  EXPECT_EQ(watch.Changes(), "");
}

TEST(RobustFaults, ReadOnlySettingsFileStillGivesAPageAndStaysAsItWas) {
  QP_NEED_PROGRAM();
  User user;
  if (!user.RunUnprivileged()) GTEST_SKIP() << "cannot run the program as an ordinary user";
  const fs::path ini = user.settings() / "Control.ini";
  ::chmod(ini.c_str(), 0444);
  const std::string before = ReadFile(ini);
  const fs::path document = user.Place("report.docx", PlainDocx());
  const Watch watch(user, document);
  const Outcome out = user.Run(document, seconds(60));
  EXPECT_EQ(out.status, kDone) << out.output;
  EXPECT_TRUE(fs::exists(user.page("report")));
  EXPECT_EQ(ReadFile(ini), before);
  EXPECT_EQ(watch.Changes(), "");
}

TEST(RobustFaults, UnreadableDocumentEndsInTheReport) {
  QP_NEED_PROGRAM();
  User user;
  if (!user.RunUnprivileged()) GTEST_SKIP() << "cannot run the program as an ordinary user";
  const fs::path document = user.Place("secret.docx", PlainDocx());
  ::chmod(document.c_str(), 0000);
  const Watch watch(user, document);
  const Outcome out = user.Run(document, seconds(60));
  EXPECT_TRUE(EndedWithMessage(out)) << out.status << ": " << out.output;
  EXPECT_FALSE(fs::exists(user.page("secret")));
  EXPECT_EQ(watch.Changes(), "");
}

TEST(RobustFaults, MissingDocumentEndsInTheReport) {
  QP_NEED_PROGRAM();
  User user;
  const Outcome out = user.Run(user.docs() / "gone.docx", seconds(60));
  EXPECT_TRUE(EndedWithMessage(out)) << out.status << ": " << out.output;
  EXPECT_TRUE(fs::is_empty(user.desktop()) ||
              (fs::exists(user.desktop() / "Image") && !fs::exists(user.page("gone"))));
}

}  // namespace
}  // namespace qp::robust
