// The process killed at any moment of a run: the page on the desktop is then
// the old one, none, or the whole new one, never part of one; the next run
// makes the page as if nothing had happened.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <thread>

#include "tests/robust/hostile_documents.h"
#include "tests/robust/robust_support.h"

namespace qp::robust {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

TEST(RobustKill, KilledRunLeavesTheOldPageOrTheWholeNewOne) {
  QP_NEED_PROGRAM();
  const std::string bytes = ManyParagraphsDocx(20000);
  const std::string oldPage = "<html><body>the page of an earlier run</body></html>\r\n";

  // The page an undisturbed run writes, and how long that run takes.
  std::string newPage;
  milliseconds full{};
  {
    User user;
    const fs::path document = user.Place("long.docx", bytes);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(user.Run(document, seconds(600)).status, kDone);
    full = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    newPage = ReadFile(user.page("long"));
    ASSERT_FALSE(newPage.empty());
  }

  int wholeNew = 0, old = 0, none = 0;
  for (int tenth = 1; tenth <= 12; ++tenth) {
    SCOPED_TRACE(tenth);
    User user;
    const fs::path document = user.Place("long.docx", bytes);
    WriteFile(user.page("long"), oldPage);
    const Fingerprint before = FingerprintOf(document);
    const pid_t pid = user.Start(document.string());
    std::this_thread::sleep_for(full * tenth / 10);
    ::kill(pid, SIGKILL);
    (void)user.Finish(pid, seconds(60));

    const fs::path page = user.page("long");
    if (!fs::exists(page)) {
      ++none;
    } else {
      const std::string now = ReadFile(page);
      if (now == oldPage) {
        ++old;
      } else {
        EXPECT_EQ(now.size(), newPage.size()) << "a page cut short";
        EXPECT_TRUE(now == newPage) << "a page that is neither the old nor the new one";
        ++wholeNew;
      }
    }
    EXPECT_TRUE(FingerprintOf(document) == before);

    // The next run is not hindered by what the killed one left.
    const Outcome again = user.Run(document, seconds(600));
    EXPECT_EQ(again.status, kDone) << again.output;
    EXPECT_TRUE(ReadFile(page) == newPage);
    EXPECT_TRUE(fs::is_empty(user.work()));
  }
  std::printf("killed runs: %d old page, %d no page, %d whole new page\n", old, none, wholeNew);
}

}  // namespace
}  // namespace qp::robust
