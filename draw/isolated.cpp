#include "draw/isolated.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace qp::draw {

namespace {

using Clock = std::chrono::steady_clock;

// Every message starts with its length; an answer also with its status.
constexpr std::size_t kLengthBytes = 8;
enum Status : char { kAnswered = 0, kThrew = 1 };
// Past the largest metafile a request carries.
constexpr std::uint64_t kMaxRequest = 64u << 20;

std::string Length(std::uint64_t n) {
  std::string out(kLengthBytes, '\0');
  std::memcpy(out.data(), &n, kLengthBytes);
  return out;
}

std::uint64_t ReadLength(const char* p) {
  std::uint64_t n = 0;
  std::memcpy(&n, p, kLengthBytes);
  return n;
}

// Blocking I/O in the helper, which has nothing else to wait for.
bool ReadAll(int fd, char* p, std::size_t n) {
  while (n > 0) {
    ssize_t got = read(fd, p, n);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    n -= static_cast<std::size_t>(got);
  }
  return true;
}

bool WriteAll(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    ssize_t put = send(fd, p, n, MSG_NOSIGNAL);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    p += put;
    n -= static_cast<std::size_t>(put);
  }
  return true;
}

long long MillisecondsLeft(Clock::time_point deadline) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
}

// Waits until `fd` is ready for `events` or the deadline passes.
bool Ready(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    long long left = MillisecondsLeft(deadline);
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    int ready = poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready > 0) return true;
    if (ready < 0) return false;
  }
}

enum class Io { Done, Closed, Late };

Io Send(int fd, std::string_view bytes, Clock::time_point deadline) {
  while (!bytes.empty()) {
    if (!Ready(fd, POLLOUT, deadline)) return Io::Late;
    ssize_t put = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (put < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (put <= 0) return Io::Closed;
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return Io::Done;
}

Io Receive(int fd, char* p, std::size_t n, Clock::time_point deadline) {
  while (n > 0) {
    if (!Ready(fd, POLLIN, deadline)) return Io::Late;
    ssize_t got = recv(fd, p, n, MSG_DONTWAIT);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return Io::Closed;
    p += got;
    n -= static_cast<std::size_t>(got);
  }
  return Io::Done;
}

}  // namespace

IsolatedWorker::IsolatedWorker(sys::ChildSetup helper, sys::ChildStreams errors,
                               std::chrono::milliseconds cap, std::size_t maxReply)
    : helper_(std::move(helper)), streams_(std::move(errors)), cap_(cap), maxReply_(maxReply) {}

IsolatedWorker::~IsolatedWorker() {
  if (!child_) return;
  // The document is done: how its helper ends no longer matters, and its
  // teardown need not hold up the page.
  close(socket_);
  child_->KillAndLetGo();
}

bool IsolatedWorker::Start() {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
  streams_.channel = fds[1];
  auto child = std::make_unique<sys::Child>(helper_, streams_);
  streams_.channel = -1;
  close(fds[1]);
  if (!child->Started()) {
    close(fds[0]);
    return false;
  }
  ++started_;
  child_ = std::move(child);
  socket_ = fds[0];
  return true;
}

std::string IsolatedWorker::Stop(bool killChild) {
  close(socket_);
  socket_ = -1;
  // A helper that closed its end is ending: wait for it (briefly, then
  // kill) to learn how.
  sys::ChildEnd end = killChild ? child_->Kill() : child_->WaitFor(std::chrono::seconds(1));
  if (end.how == sys::ChildEnd::How::Running) end = child_->Kill();
  child_.reset();
  return end.how == sys::ChildEnd::How::Signalled ? "crashed" : "failed";
}

int ServeRequests(int fd, const Serve& serve) {
  std::string request;
  for (;;) {
    char header[kLengthBytes];
    if (!ReadAll(fd, header, kLengthBytes)) return 0;
    if (ReadLength(header) > kMaxRequest) return 5;
    request.resize(ReadLength(header));
    if (!ReadAll(fd, request.data(), request.size())) return 0;
    std::string answer;
    char status = kAnswered;
    try {
      answer = serve(request);
    } catch (...) {
      answer.clear();
      status = kThrew;
    }
    std::string head = status + Length(answer.size());
    if (!WriteAll(fd, head.data(), head.size()) || !WriteAll(fd, answer.data(), answer.size())) {
      return 4;
    }
  }
}

void IsolatedWorker::Prepare() {
  if (!child_) Start();
}

Isolated IsolatedWorker::Run(std::string_view request) {
  Isolated result;
  auto deadline = Clock::now() + cap_;
  if (!child_ && !Start()) {
    result.why = "found no drawing helper to run";
    return result;
  }
  auto late = [&] {
    Stop(true);
    result.why = "took longer than " + std::to_string(cap_.count() / 1000) + " s";
    return result;
  };
  Io io = Send(socket_, Length(request.size()), deadline);
  if (io == Io::Done) io = Send(socket_, request, deadline);
  char head[1 + kLengthBytes];
  if (io == Io::Done) io = Receive(socket_, head, sizeof head, deadline);
  if (io == Io::Late) return late();
  // A child that closed its end has ended: the way it ended is the reason.
  if (io == Io::Closed) {
    result.why = Stop(false);
    return result;
  }
  std::uint64_t length = ReadLength(head + 1);
  if (length > maxReply_) {
    Stop(true);
    result.why = "gave a result past its size cap";
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(length));
  io = Receive(socket_, result.bytes.data(), result.bytes.size(), deadline);
  if (io == Io::Late) {
    result.bytes.clear();
    return late();
  }
  if (io == Io::Closed) {
    result.bytes.clear();
    result.why = Stop(false);
    return result;
  }
  result.ok = head[0] == kAnswered;
  if (!result.ok) {
    result.bytes.clear();
    result.why = "failed";
  }
  return result;
}

}  // namespace qp::draw
