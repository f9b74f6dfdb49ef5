#include "app/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <system_error>

#include "app/ini_file.h"
#include "text/codec.h"
#include "text/file_bytes.h"

namespace qp::app {

namespace {

namespace fs = std::filesystem;

// The whole file, or nothing when it cannot be read (missing, a folder, no
// permission).
std::optional<Bytes> ReadWhole(const fs::path& file) {
  std::error_code ec;
  return ReadFileBytes(file, ec);
}

// Bytes of a character in code page 932: one for ASCII and half-width
// katakana, two for the rest.
std::size_t Cp932Width(char16_t c) {
  return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F) ? 1 : 2;
}

// The longest start of `value` whose code page 932 form fits in `limit`
// bytes; a two-byte character is never cut in half.
Text CutToLimit(const Text& value, std::size_t limit) {
  std::size_t bytes = 0;
  std::size_t i = 0;
  for (; i < value.size(); ++i) {
    bytes += Cp932Width(value[i]);
    if (bytes > limit) break;
  }
  return value.substr(0, i);
}

bool WriteAll(int fd, const Bytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Replaces `file` by `bytes` through a temporary file beside it. A symbolic
// link is followed, so the link stays and its target gets the new content;
// the permissions of an existing file are kept.
bool ReplaceFile(const fs::path& file, const Bytes& bytes) {
  std::error_code ec;
  fs::path target = file;
  if (fs::is_symlink(file, ec)) {
    target = fs::canonical(file, ec);
    if (ec) return false;
  }
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;

  std::string temp = (target.parent_path() / (target.filename().native() + ".XXXXXX")).native();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  const mode_t mode = existed ? (old.st_mode & 07777) : [] {
    const mode_t mask = ::umask(0);  // read the mask back; it is restored at once
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace

Text ReadProfileString(const fs::path& file, TextView section, TextView key, TextView fallback) {
  const std::optional<Bytes> bytes = ReadWhole(file);
  if (!bytes) return Text(fallback);
  const std::optional<Text> value = IniFile::Parse(*bytes).Get(section, key);
  if (!value) return Text(fallback);
  return CutToLimit(*value, kProfileValueLimit);
}

bool WriteProfileString(const fs::path& file, TextView section, TextView key, TextView value) {
  std::error_code ec;
  if (fs::is_directory(file, ec)) return false;
  std::optional<Bytes> bytes;
  if (fs::exists(file, ec)) {
    bytes = ReadWhole(file);
    if (!bytes) return false;  // never replace a file whose content could not be read
  }
  IniFile ini = IniFile::Parse(bytes.value_or(Bytes()));
  if (!ini.Set(section, key, value)) return false;
  return ReplaceFile(file, ini.Serialize());
}

}  // namespace qp::app
