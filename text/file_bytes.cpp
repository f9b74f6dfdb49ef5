#include "text/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qp {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file,
                                         std::error_code& error) {
  error.clear();
  const FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0) {
    error.assign(errno, std::generic_category());
    return std::nullopt;
  }
  if (S_ISDIR(status.st_mode)) {
    error = std::make_error_code(std::errc::is_a_directory);
    return std::nullopt;
  }
  // The size is a first guess (pipes and some special files say 0); one
  // spare byte lets the end show without a second pass over a full buffer.
  std::string bytes(S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) + 1 : 65536,
                    '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      error.assign(errno, std::generic_category());
      return std::nullopt;
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace qp
