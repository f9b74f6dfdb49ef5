// Special folders from the XDG settings, and the folder test.
#include "generate/folders.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "text/codec.h"

namespace qp::gen {
namespace {

using app::testing::ScopedEnv;
using app::testing::TempFolder;
using app::testing::WriteFile;

struct FoldersFixture : ::testing::Test {
  TempFolder home;
  std::string h = home.path().string();
  ScopedEnv homeEnv{"HOME", h.c_str()};
  ScopedEnv configEnv{"XDG_CONFIG_HOME", nullptr};
  ScopedEnv desktopEnv{"XDG_DESKTOP_DIR", nullptr};
  Text Home() const { return FromPath(home.path()); }
};

TEST_F(FoldersFixture, ConfigurationFolder) {
  EXPECT_EQ(Get_Spe_Fdr(kFolderAppData), Home() + u"/.config");
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/elsewhere/conf/");
    EXPECT_EQ(Get_Spe_Fdr(kFolderAppData), u"/elsewhere/conf");
  }
  {
    ScopedEnv relative("XDG_CONFIG_HOME", "conf");  // not absolute: ignored
    EXPECT_EQ(Get_Spe_Fdr(kFolderAppData), Home() + u"/.config");
  }
  EXPECT_EQ(Get_Spe_Fdr(5), u"");
}

TEST_F(FoldersFixture, DesktopFromUserDirsOrTheUsualPlace) {
  EXPECT_EQ(Get_Spe_Fdr(kFolderDesktop), Home() + u"/Desktop");
  std::filesystem::create_directories(home.path() / ".config");
  const auto dirs = home.path() / ".config" / "user-dirs.dirs";

  WriteFile(dirs, "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n");
  EXPECT_EQ(Get_Spe_Fdr(kFolderDesktop), Home() + u"/デスクトップ");

  WriteFile(dirs, "XDG_DESKTOP_DIR=\"/srv/desk/\"\nXDG_DOWNLOAD_DIR=\"$HOME/dl\"\n");
  EXPECT_EQ(Get_Spe_Fdr(kFolderDesktop), u"/srv/desk");

  // the file is shell syntax: escapes, and the last assignment wins
  WriteFile(dirs, "XDG_DESKTOP_DIR=\"$HOME/a\"\n  XDG_DESKTOP_DIR=\"$HOME/My \\\"Desk\\\"\"\n");
  EXPECT_EQ(Get_Spe_Fdr(kFolderDesktop), Home() + u"/My \"Desk\"");

  WriteFile(dirs, "XDG_DESKTOP_DIR=\"$HOME/\"\n");  // desktop disabled: the home folder
  EXPECT_EQ(Get_Spe_Fdr(kFolderDesktop), Home());

  WriteFile(dirs, "XDG_DESKTOP_DIR=\"relative/desk\"\n");  // not valid: ignored
  EXPECT_EQ(Get_Spe_Fdr(kFolderDesktop), Home() + u"/Desktop");

  ScopedEnv config("XDG_CONFIG_HOME", (h + "/.config").c_str());
  WriteFile(dirs, "XDG_DESKTOP_DIR=\"$HOMEWORK/x\"\n");  // $HOMEWORK is not $HOME
  EXPECT_EQ(Get_Spe_Fdr(kFolderDesktop), Home() + u"/Desktop");
}

TEST(FolderTest, OnlyExistingFolders) {
  TempFolder dir;
  WriteFile(dir.path() / "file", "x");
  EXPECT_FALSE(Srv_Chk_Foldr(u""));
  EXPECT_TRUE(Srv_Chk_Foldr(FromPath(dir.path())));
  EXPECT_FALSE(Srv_Chk_Foldr(FromPath(dir.path() / "file")));
  EXPECT_FALSE(Srv_Chk_Foldr(FromPath(dir.path() / "missing")));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

}  // namespace
}  // namespace qp::gen
