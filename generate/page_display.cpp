// Showing the finished page with the desktop's program for it. xdg-open runs
// as a child process (no shell between) and is waited for a few seconds at
// most; the browser it starts is never waited for.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "generate/file_patterns.h"
#include "generate/generation.h"
#include "text/codec.h"
#include "text/failure.h"

extern char** environ;

namespace qp::gen {

namespace {

constexpr int kNoSuchFile = 2;         // the page is missing
constexpr int kProgramNotFound = 127;  // xdg-open is not installed
constexpr auto kOpenerWait = std::chrono::seconds(5);

bool IsUtf8Locale(const char* value) {
  if (value == nullptr) return false;
  std::string v(value);
  for (char& c : v) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return v.find("utf-8") != std::string::npos || v.find("utf8") != std::string::npos;
}

// The environment for xdg-open: the program's own, with a UTF-8 character
// type so that the page path (UTF-8 bytes) reaches the browser intact.
std::vector<std::string> OpenerEnvironment() {
  std::vector<std::string> env;
  const char* all = std::getenv("LC_ALL");
  const char* ctype = std::getenv("LC_CTYPE");
  const char* lang = std::getenv("LANG");
  const bool allSet = all != nullptr && *all != '\0';
  const char* effective = allSet ? all : (ctype != nullptr && *ctype != '\0') ? ctype : lang;
  const bool utf8 = IsUtf8Locale(effective);
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    if (!utf8 && (entry.rfind("LC_ALL=", 0) == 0 || entry.rfind("LC_CTYPE=", 0) == 0)) continue;
    env.push_back(entry);
  }
  if (!utf8) env.push_back("LC_CTYPE=C.UTF-8");
  return env;
}

// Runs xdg-open on `file` and returns its exit status, 0 when it is still
// running after the wait (it has handed the page on by then), 127 when it
// cannot be started, 128 + N when a signal N ended it.
int RunOpener(const std::string& file) {
  std::vector<std::string> envText = OpenerEnvironment();
  std::vector<char*> envp;
  for (std::string& e : envText) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = "xdg-open";
  std::string argument = file;
  char* argv[] = {program.data(), argument.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "xdg-open", &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return spawned == ENOENT ? kProgramNotFound : 126;

  const auto deadline = std::chrono::steady_clock::now() + kOpenerWait;
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status)) return WEXITSTATUS(status);
      if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
      return 0;
    }
    if (done < 0 && errno != EINTR) return 0;
    if (std::chrono::steady_clock::now() >= deadline) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace

// "Mod_HtmlRev -> Dsp_FTs_Pag"
void Dsp_FTs_Pag(RunState& run) {
  Trap trap("Mod_HtmlRev -> Dsp_FTs_Pag");
  try {
    trap.Step(2);
    const Text page = run.OutputFolder + run.PageName + u".htm";
    std::error_code ec;
    const bool exists = fs::is_regular_file(ToPath(page), ec);

    trap.Step(3);
    const int code = exists ? RunOpener(ToPath(page).string()) : kNoSuchFile;

    trap.Step(4);
    if (code != 0) {
      run.Ui->Srv_Dsp_Msg(
          u"ページの表示に失敗しました。(Code=" + T(std::to_string(code)) + u")    ", 3, 0, 0);
    }
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::gen
