// The windows' toolkit puts the process in the user's locale. Numbers in a
// page must still be written and read with a point: checked under German
// (decimal comma) compiled for the test, skipped where the locale sources
// are not installed.
#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "generate/word/css.h"
#include "tests/generate/temp_folder.h"
#include "text/number.h"

namespace qp {
namespace {

class DecimalCommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string command = "localedef -i de_DE -f UTF-8 '" +
                                (folder_.path() / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "no de_DE locale source";
    ::setenv("LOCPATH", folder_.path().c_str(), 1);
    if (::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "locale not usable";
  }
  void TearDown() override {
    ::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
  }

 private:
  gen::testing::TempFolder folder_;
};

TEST_F(DecimalCommaLocale, NumbersKeepTheirPoint) {
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  ASSERT_STREQ(probe, "0,5") << "the locale is not in force";

  EXPECT_EQ(FormatNumber(10.5), u"10.5");
  EXPECT_EQ(FormatSingle(0.75f), u"0.75");
  EXPECT_EQ(ParseDecimal(u" 12.25 "), 12.25);
  EXPECT_EQ(LeadingNumber(u"10.5pt"), 10.5);
  EXPECT_EQ(word::Pt(10.5), u"10.5pt");
  EXPECT_EQ(word::Pt(0.75), u".75pt");
  EXPECT_EQ(word::TwipsPt(1450), u"72.5pt");
}

}  // namespace
}  // namespace qp
