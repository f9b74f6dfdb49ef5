#include "generate/word/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "text/failure.h"

namespace qp::word {

std::filesystem::path LockFilePath(const std::filesystem::path& settingsFolder) {
  return settingsFolder / "Engine.lock";
}

RunLock::RunLock(const std::filesystem::path& settingsFolder) {
  fd_ = ::open(LockFilePath(settingsFolder).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) Raise(qp::err::kCannotCreateObject, T("The engine's lock file cannot be opened."));
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd_);
    fd_ = -1;
    Raise(qp::err::kCannotCreateObject, T("Another engine is running."));
  }
}

RunLock::~RunLock() {
  Release();
}

void RunLock::Release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

bool RunLock::HeldElsewhere(const std::filesystem::path& settingsFolder) {
  // Opening never creates the file: a folder without one has no engine.
  int fd = ::open(LockFilePath(settingsFolder).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool held = false;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    ::flock(fd, LOCK_UN);
  } else {
    held = errno == EWOULDBLOCK;
  }
  ::close(fd);
  return held;
}

}  // namespace qp::word
