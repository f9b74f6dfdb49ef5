// A user as the program meets one: a home of their own (HOME and
// XDG_CONFIG_HOME in a temporary folder), a desktop folder, the settings with
// the page not opened afterwards, no display. Runs the built quillpage
// program on a document and watches what it leaves behind.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sys/child_process.h"

namespace qp::robust {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path);
void WriteFile(const fs::path& path, const std::string& bytes);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

struct Outcome {
  int status = -1;  // exit status, 128 + signal when killed
  bool timedOut = false;
  std::string output;  // what the console desktop printed (messages, report)
};

// The built quillpage program; tests of whole runs skip without it (a build
// without the windows has none).
fs::path Program();
#define QP_NEED_PROGRAM() \
  if (!::qp::robust::fs::exists(::qp::robust::Program())) GTEST_SKIP() << "no quillpage program"

// Exit statuses of quillpage.
constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kFailureReport = 2;

// The messages the program ends a run with.
inline constexpr char kWordRunning[] = "起動中のＷｏｒｄを終了してから実行してください。    ";
inline constexpr char kReportMark[] = "内容 ： Code=";

class User {
 public:
  User();
  fs::path home() const { return tmp_.path(); }
  fs::path desktop() const { return home() / "Desktop"; }
  fs::path settings() const { return home() / ".config" / "Vexor" / "Quillpg_Word"; }
  fs::path work() const { return settings() / "Wrk"; }
  fs::path docs() const { return home() / "docs"; }
  fs::path page(const std::string& pageName) const { return desktop() / (pageName + ".htm"); }

  // From now on the program runs as an ordinary user that owns the home:
  // permission faults mean nothing to root, who runs the tests in CI.
  // False when that cannot be arranged.
  bool RunUnprivileged();

  // Writes `bytes` as the user's document `name` (in ~/docs).
  fs::path Place(const std::string& name, const std::string& bytes) const;

  // A run under way: the program and the file its output goes to.
  struct Running {
    std::unique_ptr<sys::Child> child;
    fs::path output;
  };
  // Starts quillpage on `document` (the argument as the desktop hands it
  // over); Finish waits for it, killing it after `limit`.
  Running Start(const std::string& argument) const;
  Outcome Finish(Running& run, std::chrono::seconds limit) const;
  Outcome Run(const fs::path& document,
              std::chrono::seconds limit = std::chrono::seconds(120)) const;

 private:
  TempDir tmp_;
  TempDir logs_;  // outside the home, so that listings of it stay unchanged
  mutable int runs_ = 0;
  bool unprivileged_ = false;
};

// Every entry below `root` with its kind, size and time stamp, leaving out the
// folders the program may write (the desktop and the work folder).
std::map<std::string, std::string> Listing(const fs::path& root,
                                           const std::vector<fs::path>& writable);

// A document's bytes and time stamp: compared before and after a run.
struct Fingerprint {
  std::string bytes;
  fs::file_time_type mtime;
  bool operator==(const Fingerprint&) const = default;
};
Fingerprint FingerprintOf(const fs::path& document);

// Taken before a run: the home outside the program's folders and the
// document. Unchanged() says, after the run, whether both are as they were.
class Watch {
 public:
  Watch(const User& user, const fs::path& document);
  // Empty when nothing changed; else what did.
  std::string Changes() const;

 private:
  const User& user_;
  fs::path document_;
  std::map<std::string, std::string> home_;
  Fingerprint before_;
};

// True when the run ended as a person is told: a message or the failure
// report, in time, with the program's own exit status.
bool EndedWithMessage(const Outcome& out);

}  // namespace qp::robust
