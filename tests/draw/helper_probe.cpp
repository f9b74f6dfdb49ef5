// A stand-in for the drawing helper, for the tests: it serves requests
// that crash, hang, flood or throw, count what it has served, and attempt
// what a confined helper must not do. With --confined it starts exactly as
// quillpage-draw does (RunDrawingHelper: confinement, then fontconfig on a
// thread of its own); without, it serves unconfined, which shows each
// attempt can succeed.
#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <string_view>

#include "draw/helper.h"
#include "draw/isolated.h"
#include "sys/child_process.h"

namespace {

std::string Outcome(bool allowed) {
  return allowed ? "allowed" : std::string("refused: ") + std::strerror(errno);
}

std::string Attempt(std::string_view request) {
  std::string arg(request.substr(request.find(':') + 1));
  if (request.starts_with("write:")) {
    int fd = open(arg.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool wrote = fd >= 0 && write(fd, "x", 1) == 1;
    if (fd >= 0) close(fd);
    return Outcome(wrote);
  }
  if (request.starts_with("read:")) {
    int fd = open(arg.c_str(), O_RDONLY | O_CLOEXEC);
    char c = 0;
    bool read = fd >= 0 && ::read(fd, &c, 1) == 1;
    if (fd >= 0) close(fd);
    return Outcome(read);
  }
  if (request.starts_with("connect:")) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, arg.c_str(), sizeof address.sun_path - 1);
    bool connected =
        fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) close(fd);
    return Outcome(connected);
  }
  if (request == "exec") {
    // Unconfined, in a child, so that this process goes on answering;
    // confined, where there is no child, in this process itself.
    pid_t pid = fork();
    if (pid == 0) {
      execl("/bin/true", "true", nullptr);
      _exit(127);
    }
    if (pid < 0) {
      execl("/bin/true", "true", nullptr);
      return Outcome(false);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return Outcome(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  if (request == "ptrace") {
    bool attached = ptrace(PTRACE_SEIZE, getppid(), nullptr, nullptr) == 0;
    return Outcome(attached);
  }
  if (request == "kill") return Outcome(kill(getppid(), 0) == 0);
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  int served = 0;
  qp::draw::Serve serve = [&served](std::string_view request) -> std::string {
    ++served;
    if (request == "crash") kill(getpid(), SIGKILL);  // as a sanitizer would end it
    if (request == "hang") {
      for (volatile bool forever = true; forever;) {
      }
    }
    if (request == "flood") return std::string(3 << 20, 'x');
    if (request == "throw") throw 1;
    std::string outcome = Attempt(request);
    if (!outcome.empty()) return outcome;
    return std::to_string(served) + std::string(request.size(), '.');
  };
  if (argc > 1 && std::string_view(argv[1]) == "--confined") {
    return qp::draw::RunDrawingHelper(argc, argv, serve);
  }
  return qp::draw::ServeRequests(qp::sys::kChannelDescriptor, serve);
}
