// Child processes: the environment they get, how their end is told, and
// what happens to one that outlives its limit or its watch.
#include "sys/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace qp::sys {
namespace {

using namespace std::chrono_literals;

class ChildTest : public ::testing::Test {
 protected:
  ChildTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qp-sys-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    folder_ = pattern;
  }
  ~ChildTest() override { std::filesystem::remove_all(folder_); }

  // A child running `script` under sh, in a group of its own.
  static ChildSetup Shell(const std::string& script, std::vector<std::string> env = {}) {
    return {{"/bin/sh", "-c", script}, std::move(env), ChildSetup::Group::Own};
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(folder_ / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Waits (a few seconds at most) until `name` has been written.
  std::string ReadWhenWritten(const std::string& name) const {
    for (int i = 0; i < 500 && !std::filesystem::exists(folder_ / name); ++i) {
      std::this_thread::sleep_for(10ms);
    }
    return Read(name);
  }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  std::filesystem::path folder_;
};

TEST(ChildEnvironment, OneRuleGivesEveryChildAUtf8CharacterType) {
  // The environment's locale variables as "LC_ALL|LC_CTYPE|LANG".
  auto localeOf = [](std::vector<std::string> base, std::vector<std::string> changes = {}) {
    const std::vector<std::string> env = ChildEnvironmentFrom(base, changes);
    std::string out;
    for (const std::string name : {"LC_ALL=", "|LC_CTYPE=", "|LANG="}) {
      if (name[0] == '|') out += '|';
      for (const std::string& e : env) {
        if (e.rfind(name.substr(name[0] == '|'), 0) == 0) out += e.substr(e.find('=') + 1);
      }
    }
    return out;
  };
  EXPECT_EQ(localeOf({"LANG=ja_JP.UTF-8"}), "||ja_JP.UTF-8");
  EXPECT_EQ(localeOf({"LANG=en_US.utf8"}), "||en_US.utf8");
  EXPECT_EQ(localeOf({}), "|C.UTF-8|");
  EXPECT_EQ(localeOf({"LANG=C"}), "|C.UTF-8|C");
  // LC_ALL outranks the others, whatever they say; an empty one does not count.
  EXPECT_EQ(localeOf({"LC_ALL=ja_JP.eucJP", "LANG=ja_JP.UTF-8"}), "|C.UTF-8|ja_JP.UTF-8");
  EXPECT_EQ(localeOf({"LC_ALL=", "LC_CTYPE=ja_JP.UTF-8", "LANG=C"}), "|ja_JP.UTF-8|C");
  EXPECT_EQ(localeOf({"LC_ALL=C.UTF-8", "LC_CTYPE=POSIX"}), "C.UTF-8|POSIX|");
  // Changes come first, then the rule looks at the result.
  EXPECT_EQ(localeOf({"LANG=C"}, {"LANG=ja_JP.UTF-8"}), "||ja_JP.UTF-8");
  EXPECT_EQ(localeOf({"LC_ALL=ja_JP.UTF-8"}, {"LC_ALL"}), "|C.UTF-8|");

  const std::vector<std::string> env =
      ChildEnvironmentFrom({"HOME=/home/a", "PATH=/bin", "LANG=C.UTF-8"}, {"HOME=/tmp/x"});
  EXPECT_EQ(env, (std::vector<std::string>{"PATH=/bin", "LANG=C.UTF-8", "HOME=/tmp/x"}));
}

TEST_F(ChildTest, TheChildSeesItsArgumentsAndEnvironmentAndItsEndIsTold) {
  const ChildEnd done =
      RunWithin(Shell("printf '%s|%s|%s' \"$0\" \"$HOME\" \"$LC_CTYPE\" > '" + Path("seen") + "'",
                      ChildEnvironmentFrom({"LANG=C"}, {"HOME=/tmp/報告 書"})),
                10s);
  EXPECT_TRUE(done.Succeeded());
  EXPECT_EQ(Read("seen"), "/bin/sh|/tmp/報告 書|C.UTF-8");

  struct Case {
    ChildSetup setup;
    ChildEnd::How how;
    int status;
  };
  const Case cases[] = {
      {Shell("exit 3"), ChildEnd::How::Exited, 3},
      {Shell("kill -9 $$"), ChildEnd::How::Signalled, 137},
      {{{"quillpage-no-such-program"}, {}}, ChildEnd::How::NotStarted, kStatusNotFound},
      {{{Path("")}, {}}, ChildEnd::How::NotStarted, kStatusCannotRun},  // a folder
  };
  for (const Case& c : cases) {
    const ChildEnd end = RunWithin(c.setup, 10s);
    EXPECT_EQ(end.how, c.how) << c.setup.arguments[0];
    EXPECT_EQ(end.status, c.status) << c.setup.arguments[0];
    EXPECT_FALSE(end.Succeeded());
  }
}

TEST_F(ChildTest, AChildOutOfTimeIsKilledWithEverythingItStarted) {
  // The grandchild stands for a helper the converter starts and leaves behind.
  const ChildEnd end =
      RunWithin(Shell("sleep 60 & echo $! > '" + Path("helper") + "'; wait"), 300ms);
  EXPECT_EQ(end.how, ChildEnd::How::Running);
  const pid_t helper = static_cast<pid_t>(std::stol(ReadWhenWritten("helper")));
  // Killed; reaped by whoever adopted it, soon.
  bool gone = false;
  for (int i = 0; i < 500 && !gone; ++i) {
    gone = ::kill(helper, 0) != 0;
    if (!gone) std::this_thread::sleep_for(10ms);
  }
  EXPECT_TRUE(gone);
}

TEST_F(ChildTest, HandOverLetsALastingProgramGoAndTellsAnEarlyFailure) {
  const ChildEnd failed = HandOver({"/bin/sh", "-c", "exit 4"}, 10s);
  EXPECT_EQ(failed.how, ChildEnd::How::Exited);
  EXPECT_EQ(failed.status, 4);

  // A browser that stays: the watch ends, the program runs on in a session
  // of its own.
  const ChildEnd stays =
      HandOver({"/bin/sh", "-c", "echo $$ > '" + Path("pid") + "'; exec sleep 60"}, 200ms);
  EXPECT_EQ(stays.how, ChildEnd::How::Running);
  const pid_t pid = static_cast<pid_t>(std::stol(ReadWhenWritten("pid")));
  EXPECT_EQ(::kill(pid, 0), 0) << "still running";
  EXPECT_EQ(::getsid(pid), pid) << "a session of its own";
  ::kill(pid, SIGKILL);
}

}  // namespace
}  // namespace qp::sys
