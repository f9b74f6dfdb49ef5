// Two runs of one user started at once on two documents: one makes its page,
// the other is refused with the message that a run is already at work, and
// neither harms the other's page or leaves the work folder full.
#include <gtest/gtest.h>

#include "tests/robust/hostile_documents.h"
#include "tests/robust/robust_support.h"

namespace qp::robust {
namespace {

using std::chrono::seconds;

TEST(RobustConcurrency, SecondRunAtOnceIsRefused) {
  QP_NEED_PROGRAM();
  // Documents big enough that the runs overlap.
  const std::string first = ManyParagraphsDocx(6000);
  const std::string second = ManyParagraphsDocx(6001);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    User user;
    const fs::path a = user.Place("first.docx", first);
    const fs::path b = user.Place("second.docx", second);
    const Fingerprint beforeA = FingerprintOf(a), beforeB = FingerprintOf(b);
    User::Running ra = user.Start(a.string());
    User::Running rb = user.Start(b.string());
    const Outcome oa = user.Finish(ra, seconds(300));
    const Outcome ob = user.Finish(rb, seconds(300));
    ASSERT_FALSE(oa.timedOut || ob.timedOut);
    // Exactly one page; the other run got the message.
    const bool aWon = oa.status == kDone;
    const Outcome& winner = aWon ? oa : ob;
    const Outcome& loser = aWon ? ob : oa;
    EXPECT_EQ(winner.status, kDone) << winner.output;
    EXPECT_EQ(loser.status, kRefused) << loser.output;
    EXPECT_NE(loser.output.find(kWordRunning), std::string::npos) << loser.output;
    const std::string won = aWon ? "first" : "second";
    const std::string lost = aWon ? "second" : "first";
    const std::string page = ReadFile(user.page(won));
    EXPECT_NE(page.find(aWon ? "paragraph-6000<" : "paragraph-6001<"), std::string::npos);
    EXPECT_NE(page.find("</html>"), std::string::npos) << "the page is whole";
    EXPECT_FALSE(fs::exists(user.page(lost)));
    EXPECT_TRUE(fs::is_empty(user.work()));
    EXPECT_TRUE(FingerprintOf(a) == beforeA);
    EXPECT_TRUE(FingerprintOf(b) == beforeB);
  }
}

}  // namespace
}  // namespace qp::robust
