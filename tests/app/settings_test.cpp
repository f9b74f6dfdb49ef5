// The settings file: one value read or written per call through the file,
// the six options loaded with their defaults and checked, and saved without
// ever reporting a failure.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include <string>

#include "app/profile.h"
#include "app/settings.h"
#include "app/shell.h"
#include "test_support.h"
#include "text/codec.h"

namespace qp::app {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(Profile, ReadsTheFileAnewAndFallsBackWhenAnythingIsMissing) {
  TempFolder dir;
  const auto file = dir.path() / "Control.ini";
  EXPECT_EQ(ReadProfileString(file, u"SYSTEM", u"SetCt", u"%e"), u"%e");
  WriteFile(file, "[SYSTEM]\r\nSetCt=1\r\n");
  EXPECT_EQ(ReadProfileString(file, u"SYSTEM", u"SetCt", u"%e"), u"1");
  WriteFile(file, "[SYSTEM]\r\nSetCt=0\r\n");
  EXPECT_EQ(ReadProfileString(file, u"SYSTEM", u"SetCt", u"%e"), u"0");
  EXPECT_EQ(ReadProfileString(dir.path(), u"SYSTEM", u"SetCt", u"%e"), u"%e");  // a folder
}

TEST(Profile, AValueArrivesWithAtMost254Bytes) {
  TempFolder dir;
  const auto file = dir.path() / "Control.ini";
  WriteFile(file, "[S]\r\nlong=" + std::string(300, '7') + "\r\nexact=" + std::string(254, '8') +
                      "\r\n" + "jp=" + std::string(253, 'a') + "\x93\xFA" + "\r\n");
  EXPECT_EQ(ReadProfileString(file, u"S", u"long", u""), Text(254, u'7'));
  EXPECT_EQ(ReadProfileString(file, u"S", u"exact", u""), Text(254, u'8'));
  // a two-byte character that would straddle the limit is left out whole
  EXPECT_EQ(ReadProfileString(file, u"S", u"jp", u""), Text(253, u'a'));
}

TEST(Profile, WritingReplacesTheFileWholeAndKeepsItsOtherLines) {
  TempFolder dir;
  const auto file = dir.path() / "Control.ini";
  WriteFile(file, "; kept\r\n[SYSTEM]\r\nUnknown=x\r\nSetCt=1\r\n");
  ::chmod(file.c_str(), 0640);
  ASSERT_TRUE(WriteProfileString(file, u"SYSTEM", u"SetCt", u"0"));
  ASSERT_TRUE(WriteProfileString(file, u"SYSTEM", u"AddSS", u"1"));
  EXPECT_EQ(ReadFile(file), "; kept\r\n[SYSTEM]\r\nUnknown=x\r\nSetCt=0\r\nAddSS=1\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // no temporary file is left beside it
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(Profile, WritingFollowsASymbolicLinkAndFailsCleanly) {
  TempFolder dir;
  const auto real = dir.path() / "real.ini";
  const auto link = dir.path() / "Control.ini";
  WriteFile(real, "[SYSTEM]\r\n");
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(WriteProfileString(link, u"SYSTEM", u"LGrid", u"0"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(real), "[SYSTEM]\r\nLGrid=0\r\n");

  EXPECT_FALSE(WriteProfileString(dir.path() / "missing" / "Control.ini", u"S", u"k", u"1"));
  EXPECT_FALSE(WriteProfileString(dir.path(), u"S", u"k", u"1"));
  EXPECT_FALSE(WriteProfileString(real, u"S", u"k", u"1\n[X]"));
  EXPECT_EQ(ReadFile(real), "[SYSTEM]\r\nLGrid=0\r\n");
}

struct OptionsFixture : ::testing::Test {
  TempFolder dir;
  gen::RunState run;
  OptionsFixture() { run.SettingsFolder = FromPath(dir.path()); }
  void Write(const std::string& bytes) { WriteFile(dir.path() / "Control.ini", bytes); }
  std::string Read() { return ReadFile(dir.path() / "Control.ini"); }
};

TEST_F(OptionsFixture, DefaultsForWhatIsMissingAndKeysInAnyCase) {
  Write("");
  run.Opt = {9, 9, 9, 9, 9, 9};
  Get_Opt_Inf(run);
  EXPECT_EQ(run.Opt.SetCt, 0);
  EXPECT_EQ(run.Opt.SetPW, 0);
  EXPECT_EQ(run.Opt.LGrid, 1);
  EXPECT_EQ(run.Opt.Prevw, 1);
  EXPECT_EQ(run.Opt.Encod, 0);
  EXPECT_EQ(run.Opt.AddSS, 0);

  Write("[SYSTEM]\r\nLGrid=0\r\nsetct=1\r\nENCOD= 2 \r\n");
  Get_Opt_Inf(run);
  EXPECT_EQ(run.Opt.LGrid, 0);
  EXPECT_EQ(run.Opt.SetCt, 1);
  EXPECT_EQ(run.Opt.Encod, 2);
  EXPECT_EQ(run.Opt.Prevw, 1);
}

TEST(OptionByte, NumbersRoundHalfToEvenWithinAByte) {
  EXPECT_EQ(OptionByte(u"0"), 0);
  EXPECT_EQ(OptionByte(u"255"), 255);
  EXPECT_EQ(OptionByte(u"+1"), 1);
  EXPECT_EQ(OptionByte(u"0.5"), 0);
  EXPECT_EQ(OptionByte(u"1.5"), 2);
  EXPECT_EQ(OptionByte(u"2.5"), 2);
  EXPECT_EQ(OptionByte(u"254.5"), 254);
  EXPECT_EQ(OptionByte(u"-0.4"), 0);
}

TEST_F(OptionsFixture, AnUnreadableValueTakesTheDefaultAndTheRestLoads) {
  for (const char* value : {"", "abc", "true", "1x", "-1", "256", "255.5", "32768", "-40000"}) {
    // Each key gets the bad value in turn; the others keep their file values.
    for (const OptionKey& bad : OptionKeys()) {
      std::string file = "[SYSTEM]\r\n";
      for (const OptionKey& option : OptionKeys()) {
        const bool isBad = &option == &bad;
        file += TextToUtf8(option.key) + "=" + (isBad ? value : "2") + "\r\n";
      }
      Write(file);
      run.Opt = {9, 9, 9, 9, 9, 9};
      ASSERT_NO_THROW(Get_Opt_Inf(run)) << value;
      for (const OptionKey& option : OptionKeys()) {
        const int expected = &option == &bad ? (Text(option.fallback) == u"1" ? 1 : 0) : 2;
        EXPECT_EQ(run.Opt.*option.field, expected)
            << TextToUtf8(option.key) << " after " << TextToUtf8(bad.key) << "=" << value;
      }
    }
  }
  // Readable values stay what the file says, even those no control shows.
  Write("[SYSTEM]\r\nEncod=5\r\nPrevw=254.5\r\nSetCt=-0.4\r\n");
  Get_Opt_Inf(run);
  EXPECT_EQ(run.Opt.Encod, 5);
  EXPECT_EQ(run.Opt.Prevw, 254);
  EXPECT_EQ(run.Opt.SetCt, 0);
}

TEST_F(OptionsFixture, SavingWritesAllSixAndKeepsTheRestOfTheFile) {
  Write("; my notes\r\n[Other]\r\nx=1\r\n[system]\r\nsetct=1\r\n");
  run.Opt = {0, 1, 2, 0, 1, 0};
  Sav_Opt_Fil(run);
  EXPECT_EQ(Read(),
            "; my notes\r\n[Other]\r\nx=1\r\n[system]\r\nsetct=0\r\nSetPW=1\r\nLGrid=2\r\n"
            "Prevw=0\r\nEncod=1\r\nAddSS=0\r\n");
  gen::RunState again;
  again.SettingsFolder = run.SettingsFolder;
  Get_Opt_Inf(again);
  EXPECT_EQ(again.Opt.SetPW, 1);
  EXPECT_EQ(again.Opt.LGrid, 2);
  EXPECT_EQ(again.Opt.Encod, 1);
}

TEST_F(OptionsFixture, SavingWhereNothingCanBeWrittenReportsNothing) {
  run.SettingsFolder = FromPath(dir.path() / "missing");
  run.Opt = {1, 1, 0, 0, 1, 1};
  EXPECT_NO_THROW(Sav_Opt_Fil(run));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
  EXPECT_EQ(run.Opt.SetCt, 1);
  EXPECT_EQ(run.Opt.LGrid, 0);
}

}  // namespace
}  // namespace qp::app
