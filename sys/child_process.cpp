#include "sys/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <thread>

extern char** environ;

namespace qp::sys {

namespace {

std::string NameOf(const std::string& entry) {
  return entry.substr(0, entry.find('='));
}

// The value of NAME in `env`, or null when NAME is not set or empty.
const std::string* ValueOf(const std::vector<std::string>& env, const std::string& name) {
  for (const std::string& entry : env) {
    if (entry.size() > name.size() + 1 && entry.compare(0, name.size(), name) == 0 &&
        entry[name.size()] == '=') {
      return &entry;
    }
  }
  return nullptr;
}

bool NamesUtf8(std::string value) {
  std::transform(value.begin(), value.end(), value.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return value.find("utf-8") != std::string::npos || value.find("utf8") != std::string::npos;
}

void Apply(std::vector<std::string>& env, const std::string& change) {
  const std::string name = NameOf(change);
  std::erase_if(env, [&](const std::string& entry) { return NameOf(entry) == name; });
  if (change.find('=') != std::string::npos) env.push_back(change);
}

std::vector<char*> NullTerminated(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (std::string& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::vector<std::string> ChildEnvironmentFrom(const std::vector<std::string>& base,
                                              const std::vector<std::string>& changes) {
  std::vector<std::string> env = base;
  for (const std::string& change : changes) Apply(env, change);
  const std::string* ctype = nullptr;
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    ctype = ValueOf(env, name);
    if (ctype != nullptr) break;
  }
  if (ctype == nullptr || !NamesUtf8(ctype->substr(ctype->find('=') + 1))) {
    Apply(env, "LC_ALL");
    Apply(env, "LC_CTYPE=C.UTF-8");
  }
  return env;
}

std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes) {
  std::vector<std::string> base;
  for (char** e = environ; *e != nullptr; ++e) base.emplace_back(*e);
  return ChildEnvironmentFrom(base, changes);
}

Child::Child(const ChildSetup& setup, const ChildStreams& streams) : group_(setup.group) {
  if (setup.arguments.empty()) return;
  std::vector<std::string> argumentTexts = setup.arguments;
  std::vector<std::string> environmentTexts = setup.environment;
  std::vector<char*> argv = NullTerminated(argumentTexts);
  std::vector<char*> envp = NullTerminated(environmentTexts);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (streams.outputLog.empty())
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  else
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, streams.outputLog.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (streams.errorLog.empty()) {
    if (!streams.shareErrors)
      posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, streams.errorLog.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
  }
  if (streams.channel >= 0) {
    posix_spawn_file_actions_adddup2(&actions, streams.channel, kChannelDescriptor);
    posix_spawn_file_actions_addclosefrom_np(&actions, kChannelDescriptor + 1);
  }
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Signals this process ignores or blocks are not the child's business.
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  if (group_ == ChildSetup::Group::Own) {
    flags |= POSIX_SPAWN_SETPGROUP;
    posix_spawnattr_setpgroup(&attributes, 0);
  } else if (group_ == ChildSetup::Group::Session) {
    flags |= POSIX_SPAWN_SETSID;
  }
  posix_spawnattr_setflags(&attributes, flags);

  pid_t pid = 0;
  const bool onPath = setup.arguments[0].find('/') == std::string::npos;
  const int error =
      onPath ? posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data())
             : posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error == 0) {
    pid_ = pid;
    end_ = {ChildEnd::How::Running, 0};
  } else {
    end_ = {ChildEnd::How::NotStarted, error == ENOENT ? kStatusNotFound : kStatusCannotRun};
  }
}

Child::~Child() {
  if (end_.how == ChildEnd::How::Running) Kill();
}

ChildEnd Child::Collect(int waitStatus) {
  if (WIFEXITED(waitStatus)) {
    end_ = {ChildEnd::How::Exited, WEXITSTATUS(waitStatus)};
  } else if (WIFSIGNALED(waitStatus)) {
    end_ = {ChildEnd::How::Signalled, 128 + WTERMSIG(waitStatus)};
  }
  return end_;
}

ChildEnd Child::WaitFor(std::chrono::milliseconds limit) {
  if (end_.how != ChildEnd::How::Running) return end_;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) return Collect(status);
    if (done < 0 && errno != EINTR) {
      // Reaped elsewhere; nothing more can be known of it.
      end_ = {ChildEnd::How::Exited, 0};
      return end_;
    }
    if (std::chrono::steady_clock::now() >= deadline) return end_;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
}

ChildEnd Child::Kill() {
  if (end_.how != ChildEnd::How::Running) return end_;
  ::kill(group_ == ChildSetup::Group::Inherit ? pid_ : -pid_, SIGKILL);
  int status = 0;
  pid_t done = 0;
  do {
    done = ::waitpid(pid_, &status, 0);
  } while (done < 0 && errno == EINTR);
  if (done == pid_) return Collect(status);
  end_ = {ChildEnd::How::Signalled, 128 + SIGKILL};
  return end_;
}

void Child::LetGo() {
  if (end_.how != ChildEnd::How::Running) return;
  // A thread of its own waits for the end, so that a long-lived process
  // (the desktop) keeps no finished child as a zombie; at this process's
  // end it simply stops with it.
  std::thread([pid = pid_] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  end_.how = ChildEnd::How::Exited;  // no longer this object's to kill
}

void Child::KillAndLetGo() {
  if (end_.how != ChildEnd::How::Running) return;
  ::kill(group_ == ChildSetup::Group::Inherit ? pid_ : -pid_, SIGKILL);
  LetGo();
  end_ = {ChildEnd::How::Signalled, 128 + SIGKILL};
}

ChildEnd RunWithin(const ChildSetup& setup, std::chrono::milliseconds limit) {
  Child child(setup);
  const ChildEnd end = child.WaitFor(limit);
  if (end.how == ChildEnd::How::Running) child.Kill();
  return end;
}

ChildEnd HandOver(std::vector<std::string> arguments, std::chrono::milliseconds watch) {
  Child child({std::move(arguments), ChildEnvironment(), ChildSetup::Group::Session});
  const ChildEnd end = child.WaitFor(watch);
  if (end.how == ChildEnd::How::Running) child.LetGo();
  return end;
}

int ReplaceProcess(const std::string& program, char** arguments) {
  std::vector<std::string> environment = ChildEnvironment();
  std::vector<char*> envp = NullTerminated(environment);
  ::execve(program.c_str(), arguments, envp.data());
  return errno;
}

}  // namespace qp::sys
