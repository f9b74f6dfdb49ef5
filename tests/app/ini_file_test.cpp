// The INI layer: reading and changing a file as the Windows profile
// functions do, with every untouched line kept byte for byte. In the
// fixtures "~" stands for CR LF and "\n" is a bare LF.
#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace qp::app {
namespace {

std::string Crlf(std::string_view visible) {
  std::string out;
  for (char c : visible) {
    if (c == '~') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<Text> Get(std::string_view file, TextView section, TextView key) {
  return IniFile::Parse(Crlf(file)).Get(section, key);
}

TEST(IniRead, SectionsAndKeysMatchWithoutCaseAndBlanksAreDropped) {
  const char* file = "; options~[system]~  setct = 1 ~LGrid\t=\t0~[Other]~Prevw=0~";
  EXPECT_EQ(Get(file, u"SYSTEM", u"SetCt"), u"1");
  EXPECT_EQ(Get(file, u"SYSTEM", u"LGRID"), u"0");
  EXPECT_EQ(Get("[ SYSTEM ]~Encod=1~", u"SYSTEM", u"Encod"), u"1");
  // a key of another section or before any section is not this section's
  EXPECT_EQ(Get(file, u"SYSTEM", u"Prevw"), std::nullopt);
  EXPECT_EQ(Get("Prevw=0~[SYSTEM]~", u"SYSTEM", u"Prevw"), std::nullopt);
  EXPECT_EQ(Get(file, u"Missing", u"SetCt"), std::nullopt);
  EXPECT_EQ(Get("", u"SYSTEM", u"SetCt"), std::nullopt);
}

TEST(IniRead, ValueFormsAsTheProfileFunctionsReturnThem) {
  EXPECT_EQ(Get("[S]~Prevw=~", u"S", u"Prevw"), u"");
  EXPECT_EQ(Get("[S]~k=\"  quoted  \"~", u"S", u"k"), u"  quoted  ");
  EXPECT_EQ(Get("[S]~k='1'~", u"S", u"k"), u"1");
  EXPECT_EQ(Get("[S]~k=\"1~", u"S", u"k"), u"\"1");
  EXPECT_EQ(Get("[S]~k=a=b~", u"S", u"k"), u"a=b");
  // first section and first key win
  EXPECT_EQ(Get("[S]~k=1~k=2~[s]~k=3~", u"S", u"k"), u"1");
  // LF-only files and a last line without an end
  EXPECT_EQ(Get("[S]\nk=5", u"S", u"k"), u"5");
  // a Shift-JIS value decodes; 0x5D (']') as a second byte does not end a header
  EXPECT_EQ(Get("[\x83\x5D]~k=\x93\xFA~", u"ゾ", u"k"), u"日");
}

struct SetCase {
  const char* name;
  const char* before;
  const char16_t* section;
  const char16_t* key;
  const char16_t* value;
  const char* after;
};

TEST(IniWrite, ChangesOnlyTheLineItMustAndKeepsTheRest) {
  const SetCase cases[] = {
      {"replace keeps the key's spelling, comments and CR LF", "; mine~[SYSTEM]~setct=1~x=y~",
       u"SYSTEM", u"SetCt", u"0", "; mine~[SYSTEM]~setct=0~x=y~"},
      {"new key after the last line of its section", "[SYSTEM]~SetCt=1~~[Other]~a=b~", u"system",
       u"LGrid", u"0", "[SYSTEM]~SetCt=1~LGrid=0~~[Other]~a=b~"},
      {"new key in an empty section", "[SYSTEM]~[B]~", u"SYSTEM", u"AddSS", u"1",
       "[SYSTEM]~AddSS=1~[B]~"},
      {"new section at the end", "[A]~a=1~", u"SYSTEM", u"Encod", u"1",
       "[A]~a=1~[SYSTEM]~Encod=1~"},
      {"empty file gets CR LF", "", u"SYSTEM", u"SetCt", u"0", "[SYSTEM]~SetCt=0~"},
      {"last line without an end is closed", "[SYSTEM]~SetCt=1", u"SYSTEM", u"SetPW", u"1",
       "[SYSTEM]~SetCt=1~SetPW=1~"},
      {"LF file stays LF", "[SYSTEM]\nSetCt=1\n", u"SYSTEM", u"Prevw", u"0",
       "[SYSTEM]\nSetCt=1\nPrevw=0\n"},
      {"undecodable bytes elsewhere survive", "\xFF\xFE junk~[SYSTEM]~k=1~", u"SYSTEM", u"k", u"2",
       "\xFF\xFE junk~[SYSTEM]~k=2~"},
      {"a replaced last line keeps having no end", "[SYSTEM]~k=1", u"SYSTEM", u"k", u"2",
       "[SYSTEM]~k=2"},
  };
  for (const SetCase& c : cases) {
    IniFile ini = IniFile::Parse(Crlf(c.before));
    EXPECT_TRUE(ini.Set(c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(ini.Serialize(), Crlf(c.after)) << c.name;
  }
}

TEST(IniWrite, RefusesWhatCouldNotBeReadBack) {
  IniFile ini = IniFile::Parse(Crlf("[SYSTEM]~k=1~"));
  EXPECT_FALSE(ini.Set(u"SYSTEM", u"k", u"1\r\nInjected=1"));
  EXPECT_FALSE(ini.Set(u"SYSTEM", u"a=b", u"1"));
  EXPECT_FALSE(ini.Set(u"SYSTEM", u"", u"1"));
  EXPECT_FALSE(ini.Set(u"", u"k", u"1"));
  EXPECT_FALSE(ini.Set(u"SYS]TEM", u"k", u"1"));
  EXPECT_FALSE(ini.Set(u"SYSTEM", u"[k", u"1"));
  EXPECT_EQ(ini.Serialize(), Crlf("[SYSTEM]~k=1~"));
}

TEST(IniWrite, WrittenValuesReadBack) {
  IniFile ini = IniFile::Parse("");
  ASSERT_TRUE(ini.Set(u"SYSTEM", u"Name", u"日本語"));
  ASSERT_TRUE(ini.Set(u"SYSTEM", u"Name2", u"ok"));
  const IniFile again = IniFile::Parse(ini.Serialize());
  EXPECT_EQ(again.Get(u"SYSTEM", u"Name"), u"日本語");
  EXPECT_EQ(again.Get(u"SYSTEM", u"Name2"), u"ok");
  EXPECT_EQ(ini.Serialize(), "[SYSTEM]\r\nName=\x93\xfa\x96\x7b\x8c\xea\r\nName2=ok\r\n");
}

}  // namespace
}  // namespace qp::app
