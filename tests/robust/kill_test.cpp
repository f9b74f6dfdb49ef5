// The process killed at any moment of a run: the page on the desktop is then
// the old one, none, or the whole new one, never part of one; the next run
// makes the page as if nothing had happened.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

#include "generate/word/doc_convert.h"
#include "tests/corpus.h"
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
    User::Running run = user.Start(document.string());
    std::this_thread::sleep_for(full * tenth / 10);
    ::kill(run.child->pid(), SIGKILL);
    (void)user.Finish(run, seconds(60));

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

// The processes whose command line names `text`; zombies have none.
std::vector<std::string> ProcessesNaming(const std::string& text) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/proc", ec)) {
    std::string cmdline = ReadFile(entry.path() / "cmdline");
    std::replace(cmdline.begin(), cmdline.end(), '\0', ' ');
    if (cmdline.find(text) != std::string::npos) found.push_back(cmdline);
  }
  return found;
}

// Killed while LibreOffice converts its .doc, a run takes LibreOffice with
// it at once instead of leaving it to run on, orphaned.
TEST(RobustKill, KilledDuringADocConversionLeavesNoConverterRunning) {
  QP_NEED_PROGRAM();
  QP_NEED(word::FindConverter().empty() ? "no LibreOffice" : "");
  User user;
  const fs::path tmp = user.home() / "tmp";  // the run's own, to tell its folders
  fs::create_directories(tmp);
  const std::string oldTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  ::setenv("TMPDIR", tmp.c_str(), 1);
  User::Running run =
      user.Start(user.Place("slow.doc", IncludePictureRtf("/nowhere.png")).string());
  oldTmp.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", oldTmp.c_str(), 1);
  bool converting = false;
  for (int i = 0; i < 600 && !converting; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (const std::string& p : ProcessesNaming(tmp.string())) {
      if (p.find("soffice.bin") != std::string::npos) converting = true;
    }
  }
  ASSERT_TRUE(converting) << "LibreOffice never started";
  ::kill(run.child->pid(), SIGKILL);
  (void)user.Finish(run, seconds(60));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(ProcessesNaming(tmp.string()), std::vector<std::string>{});
}

}  // namespace
}  // namespace qp::robust
