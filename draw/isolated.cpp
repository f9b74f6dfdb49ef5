#include "draw/isolated.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace qp::draw {

namespace {

// In the child: run the work, send its bytes, and end without running the
// parent's exit handlers or destructors.
[[noreturn]] void Child(const std::function<std::string()>& work, int out) {
  // The drawing libraries talk on standard error; the user's terminal is
  // not theirs.
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
  }
  std::string bytes;
  try {
    bytes = work();
  } catch (...) {
    _exit(3);
  }
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = write(out, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) _exit(4);
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  _exit(0);
}

}  // namespace

Isolated RunIsolated(const std::function<std::string()>& work, std::chrono::milliseconds cap,
                     std::size_t maxBytes) {
  Isolated result;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    result.why = "no pipe";
    return result;
  }
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    Child(work, fds[1]);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    result.why = "no child process";
    return result;
  }
  auto deadline = std::chrono::steady_clock::now() + cap;
  bool killed = false;
  char buffer[65536];
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.why = "took longer than " + std::to_string(cap.count() / 1000) + " s";
      killed = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.bytes.append(buffer, static_cast<std::size_t>(n));
    if (result.bytes.size() > maxBytes) {
      result.why = "gave a result past its size cap";
      killed = true;
      break;
    }
  }
  close(fds[0]);
  if (killed) kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (killed) {
    result.bytes.clear();
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    result.ok = true;
  } else {
    result.bytes.clear();
    result.why = WIFSIGNALED(status) ? "crashed" : "failed";
  }
  return result;
}

}  // namespace qp::draw
