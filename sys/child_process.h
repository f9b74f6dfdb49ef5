// Child processes. Every program the run starts (the .doc converter,
// xdg-open for the page and the help page) is started here with posix_spawn
// from an argument vector and an environment prepared beforehand: nothing
// runs between fork and exec, which a multithreaded program (the desktop)
// needs, and every child sees the same character type.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace qp::sys {

// The environment for a child: `base` ("NAME=value" entries) with each of
// `changes` applied ("NAME=value" sets NAME, "NAME" alone removes it), then
// the one locale rule: when the character type in force (the first set of
// LC_ALL, LC_CTYPE, LANG) is not UTF-8, LC_ALL and LC_CTYPE are dropped and
// LC_CTYPE=C.UTF-8 is set, so that the UTF-8 bytes of a path reach the child
// as the characters they are. The other categories (messages, dates) keep
// what the user chose wherever LC_ALL did not override them.
std::vector<std::string> ChildEnvironmentFrom(const std::vector<std::string>& base,
                                              const std::vector<std::string>& changes);
// The same over this process's own environment.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes = {});

struct ChildSetup {
  // arguments[0] is the program; without a "/" it is looked up on PATH.
  std::vector<std::string> arguments;
  std::vector<std::string> environment;  // from ChildEnvironment
  // Where the child lives: in this process's group, in a group of its own
  // (killed as a whole with everything it started), or in a session of its
  // own (detached: a terminal's signals and this process's end leave it be).
  enum class Group { Inherit, Own, Session };
  Group group = Group::Own;
};

// What a child gets beyond standard streams on /dev/null.
struct ChildStreams {
  // When not empty, the child's standard output is appended to this file,
  // and its standard error with it unless errorLog or shareErrors says
  // otherwise (the tests read what a program printed).
  std::string outputLog;
  // A descriptor handed to the child as its descriptor 3 (a socket to talk
  // over); when set, every other descriptor above standard error is closed
  // in the child, whatever its close-on-exec flag says.
  int channel = -1;
  // When not empty, the child's standard error is appended to this file
  // instead of going to /dev/null.
  std::string errorLog;
  // When set (and errorLog empty), the child shares this process's
  // standard error.
  bool shareErrors = false;
};

// How a child ended, in the terms a shell reports: the exit status, 128 + N
// for a signal N, 127 when the program was not found, 126 when it could not
// be run.
struct ChildEnd {
  enum class How { Exited, Signalled, Running, NotStarted };
  How how = How::NotStarted;
  int status = 126;

  bool Succeeded() const { return how == How::Exited && status == 0; }
};

constexpr int kStatusCannotRun = 126;
constexpr int kStatusNotFound = 127;
// Where a child finds ChildSetup::channel.
constexpr int kChannelDescriptor = 3;

// One started child. Its standard input, output and error are /dev/null
// (output and error perhaps logs): no child holds a terminal or a pipe of
// this process open.
class Child {
 public:
  explicit Child(const ChildSetup& setup, const ChildStreams& streams = {});
  // A child still running at the end is killed (with its group when it has
  // one) unless it was let go.
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  // Waits at most `limit` for the child to end; How::Running when it has not.
  ChildEnd WaitFor(std::chrono::milliseconds limit);
  // Kills the child (its whole group when it has one of its own) and reaps it.
  ChildEnd Kill();
  // Leaves a running child to itself: it is reaped in the background when it
  // ends, never killed.
  void LetGo();
  // Kills the child as Kill does and leaves it to be reaped in the
  // background, for a caller that need not wait for the kernel to take the
  // child down.
  void KillAndLetGo();

 private:
  ChildEnd Collect(int waitStatus);

  pid_t pid_ = 0;
  ChildSetup::Group group_;
  ChildEnd end_;
};

// Runs the child to its end, at most `limit`: a child that is still running
// then is killed with its group, and the result is How::Running.
ChildEnd RunWithin(const ChildSetup& setup, std::chrono::milliseconds limit);

// Starts the child detached (a session of its own) and watches it for
// `watch`: a program that fails at once reports its status; one still
// running then has taken the job over and is let go (How::Running).
ChildEnd HandOver(std::vector<std::string> arguments, std::chrono::milliseconds watch);

// How long HandOver watches xdg-open: long enough for it to report that
// nothing can open the file, short enough that nobody waits for a browser
// it started afresh and waits for in turn.
constexpr std::chrono::milliseconds kHandOverWatch{1500};

// Replaces this process with `program` (a path), given `arguments` and the
// environment ChildEnvironment() gives. Returns only when that failed, with
// the errno.
int ReplaceProcess(const std::string& program, char** arguments);

}  // namespace qp::sys
