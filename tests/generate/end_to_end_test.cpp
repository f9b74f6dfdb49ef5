// Documents through the quillpage program as a user runs it: a home of its
// own with a desktop folder, no display, the options in Control.ini. The
// page, the Image folder and the emptied work folder are compared byte for
// byte with the expected files under data/expected/<case>/.
//
// Regenerate the expected files after a reviewed change:
//   QP_UPDATE_GOLDENS=1 build/tests/generate/generate_tests --gtest_filter='EndToEnd*'
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sys/child_process.h"
#include "temp_folder.h"

extern char** environ;

namespace qp::gen {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const fs::path kDocuments = fs::path(QP_TEST_DATA_DIR) / "documents";
const fs::path kExpected = fs::path(QP_TEST_DATA_DIR) / "expected";

fs::path Program() {
  return fs::path(QP_BINARY_DIR) / "bin" / "quillpage";
}

bool Updating() {
  const char* v = std::getenv("QP_UPDATE_GOLDENS");
  return v != nullptr && std::string(v) == "1";
}

struct Outcome {
  int status = -1;
  std::string messages;  // what the console desktop printed
};

// One user with a home, a desktop and the program's settings.
class User {
 public:
  User() {
    WriteBytes(home() / ".config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n");
    fs::create_directories(desktop());
  }
  fs::path home() const { return tmp_.path(); }
  fs::path desktop() const { return home() / "Desktop"; }
  fs::path settings() const { return home() / ".config" / "Vexor" / "Quillpg_Word"; }
  fs::path work() const { return settings() / "Wrk"; }

  void Options(int encod, int prevw) {
    Options("Prevw=" + std::to_string(prevw) + " Encod=" + std::to_string(encod));
  }
  // The defaults with Prevw=0, changed by `changes` ("SetCt=1 Encod=1").
  void Options(const std::string& changes) {
    std::vector<std::pair<std::string, std::string>> values = {{"SetCt", "0"}, {"SetPW", "0"},
                                                               {"LGrid", "1"}, {"Prevw", "0"},
                                                               {"Encod", "0"}, {"AddSS", "0"}};
    std::istringstream in(changes);
    for (std::string change; in >> change;) {
      const std::size_t eq = change.find('=');
      for (auto& [key, value] : values) {
        if (key == change.substr(0, eq)) value = change.substr(eq + 1);
      }
    }
    std::string ini = "[SYSTEM]\r\n";
    for (const auto& [key, value] : values) ini += key + "=" + value + "\r\n";
    WriteBytes(settings() / "Control.ini", ini);
  }
  // The user's own copy of a project document.
  fs::path Document(const std::string& name) {
    fs::create_directories(home() / "docs");
    fs::copy_file(kDocuments / name, home() / "docs" / name, fs::copy_options::overwrite_existing);
    return home() / "docs" / name;
  }

  Outcome Run(const fs::path& document, const fs::path& extraPath = {}) {
    std::vector<std::string> env;
    auto dropped = [](const std::string& entry) {
      for (const char* drop : {"DISPLAY=", "WAYLAND_DISPLAY=", "HOME=", "XDG_",
                               "PATH=", "LANGUAGE=", "LC_ALL=", "LC_MESSAGES="}) {
        if (entry.rfind(drop, 0) == 0) return true;
      }
      return false;
    };
    for (char** e = environ; *e != nullptr; ++e) {
      if (!dropped(*e)) env.push_back(*e);
    }
    env.push_back("HOME=" + home().string());
    env.push_back("LC_MESSAGES=ja_JP.UTF-8");  // the messages in the design's words
    env.push_back("XDG_CONFIG_HOME=" + (home() / ".config").string());
    env.push_back("PATH=" + (extraPath.empty() ? "" : extraPath.string() + ":") + "/usr/bin:/bin");
    const fs::path messages = home() / "messages.txt";
    sys::ChildStreams streams;
    streams.outputLog = messages.string();  // standard error too
    sys::Child child({{Program().string(), document.string()}, env}, streams);
    Outcome out;
    if (!child.Started()) return out;
    // A hang is a failure, not a stuck test.
    const sys::ChildEnd end = child.WaitFor(std::chrono::seconds(120));
    if (end.how == sys::ChildEnd::How::Running) {
      ADD_FAILURE() << "quillpage did not end";
      return out;
    }
    out.status = end.status;
    out.messages = ReadBytes(messages);
    fs::remove(messages);
    return out;
  }

 private:
  TempFolder tmp_;
};

// Every file below `folder`, as relative path -> bytes.
std::map<std::string, std::string> Files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(folder, ec)) {
    // Folders are not kept with the expected files; their files are.
    if (!e.is_directory()) files[fs::relative(e.path(), folder).string()] = ReadBytes(e.path());
  }
  return files;
}

void ExpectDesktop(const User& user, const std::string& goldenCase) {
  const auto desktop = Files(user.desktop());
  const fs::path golden = kExpected / goldenCase;
  if (Updating()) {
    fs::remove_all(golden);
    for (const auto& [rel, bytes] : desktop) {
      if (rel.back() == '/')
        fs::create_directories(golden / rel);
      else
        WriteBytes(golden / rel, bytes);
    }
  }
  const auto expected = Files(golden);
  ASSERT_FALSE(expected.empty()) << "no expected files for " << goldenCase;
  for (const auto& [rel, bytes] : expected) {
    auto it = desktop.find(rel);
    if (it == desktop.end()) {
      ADD_FAILURE() << goldenCase << ": missing " << rel;
    } else {
      EXPECT_TRUE(it->second == bytes) << goldenCase << ": " << rel << " differs";
    }
  }
  for (const auto& [rel, bytes] : desktop) {
    EXPECT_TRUE(expected.count(rel)) << goldenCase << ": unexpected " << rel;
  }
  EXPECT_TRUE(fs::is_directory(user.desktop() / "Image"));
  EXPECT_TRUE(fs::is_empty(user.work())) << "the work folder is emptied";
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(Program())) GTEST_SKIP() << "no quillpage program at " << Program();
  }
};

struct GoldenCase {
  const char* document;
  int encod;
  const char* golden;
  const char* options = "";  // other changes to the defaults
};

// The options document is English, so its body tag has lost every attribute
// by the time the centring wraps the body.
TEST_F(EndToEnd, DocumentsBecomePagesByteForByte) {
  const GoldenCase cases[] = {
      {"pictures.docx", 0, "pictures_sjis"},
      {"pictures.docx", 1, "pictures_utf8"},
      {"links.docx", 0, "links_sjis"},
      {"links.docx", 1, "links_utf8"},
      {"report.old.docx", 0, "report_old_sjis"},
      {"options.docx", 0, "options_centred", "SetCt=1"},
      {"options.docx", 0, "options_width", "SetPW=1"},
      {"options.docx", 0, "options_nogrid", "LGrid=0"},
      {"options.docx", 1, "options_utf8"},
      {"options.docx", 0, "options_css", "AddSS=1"},
  };
  for (const GoldenCase& c : cases) {
    SCOPED_TRACE(c.golden);
    User user;
    user.Options("Encod=" + std::to_string(c.encod) + " " + c.options);
    const fs::path document = user.Document(c.document);
    const std::string before = ReadBytes(document);
    const Outcome out = user.Run(document);
    EXPECT_EQ(out.status, 0) << out.messages;
    EXPECT_EQ(out.messages, "");
    ExpectDesktop(user, c.golden);
    EXPECT_EQ(ReadBytes(document), before) << "the user's document is never modified";
  }
}

TEST_F(EndToEnd, SecondRunReplacesTheFirst) {
  for (const GoldenCase& c : {GoldenCase{"pictures.docx", 0, "pictures_sjis"},
                              GoldenCase{"report.old.docx", 0, "report_old_sjis"}}) {
    SCOPED_TRACE(c.golden);
    User user;
    user.Options(c.encod, 0);
    const fs::path document = user.Document(c.document);
    // A first run in the other encoding, then the one compared.
    user.Options(1 - c.encod, 0);
    ASSERT_EQ(user.Run(document).status, 0);
    user.Options(c.encod, 0);
    const Outcome out = user.Run(document);
    EXPECT_EQ(out.status, 0) << out.messages;
    if (Updating()) continue;  // the first test writes these
    ExpectDesktop(user, c.golden);
  }
}

TEST_F(EndToEnd, PreviewWithoutADisplayTellsTheOpenersCode) {
  User user;
  user.Options(0, 1);
  // xdg-open without a desktop says so with status 3.
  WriteBytes(user.home() / "bin" / "xdg-open", "#!/bin/sh\nexit 3\n");
  fs::permissions(user.home() / "bin" / "xdg-open", fs::perms::owner_all);
  const Outcome out = user.Run(user.Document("pictures.docx"), user.home() / "bin");
  EXPECT_EQ(out.status, 0);
  EXPECT_NE(out.messages.find("ページの表示に失敗しました。(Code=3)"), std::string::npos)
      << out.messages;
  EXPECT_TRUE(fs::exists(user.desktop() / "pictures.htm"));
}

TEST_F(EndToEnd, TheRunDoesNotWaitForABrowserThatStays) {
  User user;
  user.Options(0, 1);
  // Stands for an xdg-open that started the browser afresh and waits for it:
  // it notes when it began and never ends by itself.
  const fs::path began = user.home() / "began";
  WriteBytes(user.home() / "bin" / "xdg-open", "#!/bin/sh\necho $$ > '" + began.string() +
                                                   ".tmp'\nmv '" + began.string() + ".tmp' '" +
                                                   began.string() + "'\nexec sleep 600\n");
  fs::permissions(user.home() / "bin" / "xdg-open", fs::perms::owner_all);
  const Outcome out = user.Run(user.Document("pictures.docx"), user.home() / "bin");
  const auto ended = fs::file_time_type::clock::now();

  EXPECT_EQ(out.status, 0);
  EXPECT_EQ(out.messages, "");
  ASSERT_TRUE(fs::exists(began)) << "the page was handed to the browser";
  const pid_t browser = static_cast<pid_t>(std::stol(ReadBytes(began)));
  EXPECT_EQ(::kill(browser, 0), 0) << "the browser is left running";
  ::kill(browser, SIGKILL);
  // From the hand-over to the end of the run: a brief watch, never the
  // browser's life (the watch is 1.5 s; the run used to wait 5).
  const auto length = ended - fs::last_write_time(began);
  std::printf("run after the hand-over: %.2f s\n", std::chrono::duration<double>(length).count());
  EXPECT_LT(length, std::chrono::seconds(4));
}

}  // namespace
}  // namespace qp::gen
