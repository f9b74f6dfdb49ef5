// Documents with names a desktop is full of: each goes all the way to a page
// named after it, or is refused with a message; the document stays as it was.
#include <gtest/gtest.h>

#include "tests/robust/hostile_documents.h"
#include "tests/robust/robust_support.h"

namespace qp::robust {
namespace {

using std::chrono::seconds;

// The page name the program gives a file name: up to its first dot.
std::string PageNameOf(const std::string& fileName) {
  return fileName.substr(0, fileName.find('.'));
}

TEST(RobustNames, UnusualNamesBecomePagesOfTheirName) {
  QP_NEED_PROGRAM();
  const std::string longName = std::string(250, 'n') + ".docx";  // 255 bytes
  std::string longJapanese;
  while (longJapanese.size() + 3 + 5 <= 255) longJapanese += "長";  // three bytes each
  longJapanese += ".docx";
  for (const std::string& name :
       {std::string("議事録　第２回.docx"), std::string("annual report 2026.docx"),
        std::string("issue #12.docx"), std::string("100% done.docx"), std::string("50%20off.docx"),
        std::string("it's here.docx"), std::string("[draft] (v2) & more.docx"), longName,
        longJapanese}) {
    SCOPED_TRACE(name);
    ASSERT_LE(name.size(), 255u);
    User user;
    const fs::path document = user.Place(name, PlainDocx());
    const Watch watch(user, document);
    const Outcome out = user.Run(document, seconds(60));
    EXPECT_EQ(out.status, kDone) << out.output;
    EXPECT_EQ(out.output, "");
    const fs::path page = user.page(PageNameOf(name));
    EXPECT_TRUE(fs::exists(page));
    EXPECT_NE(ReadFile(page).find("Robust"), std::string::npos);
    EXPECT_EQ(watch.Changes(), "");
    EXPECT_TRUE(fs::is_empty(user.work()));
  }
}

TEST(RobustNames, NamesTheProgramRefusesEndInAMessage) {
  QP_NEED_PROGRAM();
  // A double quote cannot be told from the quoting of the argument; a name
  // too long for the file system cannot even be written.
  for (const std::string& name :
       {std::string("say \"hi\".docx"), std::string("notes.DOCX"), std::string("notes.docx.txt")}) {
    SCOPED_TRACE(name);
    User user;
    const fs::path document = user.Place(name, PlainDocx());
    const Watch watch(user, document);
    const Outcome out = user.Run(document, seconds(60));
    EXPECT_EQ(out.status, kRefused) << out.output;
    EXPECT_FALSE(out.output.empty());
    EXPECT_TRUE(fs::is_empty(user.desktop()));
    EXPECT_EQ(watch.Changes(), "");
  }
}

TEST(RobustNames, LeadingDotGivesThePageOfAnEmptyName) {
  QP_NEED_PROGRAM();
  // ".draft.docx" has the page name "" (up to the first dot): the page is
  // ".htm" on the desktop, as the naming rule says, and nothing else is hit.
  User user;
  fs::create_directories(user.desktop());
  WriteFile(user.desktop() / "keep.htm", "another page");
  const fs::path document = user.Place(".draft.docx", PlainDocx());
  const Watch watch(user, document);
  const Outcome out = user.Run(document, seconds(60));
  if (out.status == kDone) {
    EXPECT_NE(ReadFile(user.desktop() / ".htm").find("Robust"), std::string::npos);
  } else {
    EXPECT_TRUE(EndedWithMessage(out)) << out.output;
  }
  EXPECT_EQ(ReadFile(user.desktop() / "keep.htm"), "another page");
  EXPECT_EQ(watch.Changes(), "");
}

}  // namespace
}  // namespace qp::robust
