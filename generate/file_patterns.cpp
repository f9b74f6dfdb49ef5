#include "generate/file_patterns.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "text/codec.h"
#include "text/failure.h"
#include "text/file_bytes.h"

namespace qp::gen {

namespace {

// Iterative "*" / "?" matcher with one backtrack point: linear in practice,
// never exponential on names full of stars.
bool GlobMatch(TextView name, TextView pattern) {
  std::size_t n = 0, p = 0, starP = TextView::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (starP != TextView::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

bool KindFits(const fs::file_status& st, EntryKind kind) {
  switch (kind) {
    case EntryKind::kRegularFile:
      return fs::is_regular_file(st);
    case EntryKind::kFileOrLink:
      return fs::is_regular_file(st) || fs::is_symlink(st);
    case EntryKind::kFolder:
      return fs::is_directory(st);
  }
  return false;
}

std::int32_t ErrorNumberFor(const std::error_code& ec) {
  if (ec == std::errc::no_such_file_or_directory) return err::kFileNotFound;
  if (ec == std::errc::file_exists) return err::kFileAlreadyExists;
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
      ec == std::errc::read_only_file_system) {
    return err::kPermissionDenied;
  }
  if (ec == std::errc::not_a_directory) return err::kPathNotFound;
  return err::kPathFileAccess;
}

void RemoveMatching(const fs::path& folder, const NamePattern& pattern, EntryKind kind,
                    bool spareDocuments = false) {
  std::vector<fs::path> found = ListMatching(folder, pattern, kind);
  if (spareDocuments) {
    std::erase_if(found,
                  [](const fs::path& p) { return IsWordDocumentName(FromPath(p.filename())); });
  }
  if (found.empty())
    Raise(err::kFileNotFound, u"No file matches " + pattern.prefix + pattern.wildcards);
  for (const fs::path& entry : found) {
    std::error_code ec;
    // remove_all does not follow links: a link inside a removed folder goes
    // as a link, its target stays.
    if (kind == EntryKind::kFolder) {
      fs::remove_all(entry, ec);
    } else {
      fs::remove(entry, ec);
    }
    if (ec) RaiseFileError(ec, entry);
  }
}

}  // namespace

bool MatchesPattern(TextView name, const NamePattern& pattern) {
  if (name.substr(0, pattern.prefix.size()) != pattern.prefix) return false;
  const TextView rest = name.substr(pattern.prefix.size());
  if (pattern.wildcards == u"*.*") return true;
  return GlobMatch(rest, pattern.wildcards);
}

std::vector<fs::path> ListMatching(const fs::path& folder, const NamePattern& pattern,
                                   EntryKind kind) {
  std::vector<fs::path> found;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return found;
  for (const fs::directory_entry& entry : it) {
    std::error_code stEc;
    const fs::file_status st = entry.symlink_status(stEc);
    if (stEc || !KindFits(st, kind)) continue;
    if (MatchesPattern(FromPath(entry.path().filename()), pattern)) found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

bool AnyFileMatches(const fs::path& folder, const NamePattern& pattern) {
  return !ListMatching(folder, pattern, EntryKind::kRegularFile).empty();
}

void DeleteFiles(const fs::path& folder, const NamePattern& pattern) {
  RemoveMatching(folder, pattern, EntryKind::kFileOrLink);
}

void DeleteFilesExceptDocuments(const fs::path& folder, const NamePattern& pattern) {
  RemoveMatching(folder, pattern, EntryKind::kFileOrLink, true);
}

bool IsWordDocumentName(TextView name) {
  const Text lower = LowerCase(name);
  return lower.ends_with(u".doc") || lower.ends_with(u".docx");
}

void DeleteFolders(const fs::path& folder, const NamePattern& pattern) {
  RemoveMatching(folder, pattern, EntryKind::kFolder);
}

void CreateFolder(const fs::path& folder) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(folder, ec))) return;
  if (!fs::create_directory(folder, ec) && ec) RaiseFileError(ec, folder);
  if (!fs::is_directory(folder, ec)) {
    Raise(err::kPathFileAccess, u"Not a folder: " + FromPath(folder));
  }
}

namespace {
void CopyIntoPlace(const fs::path& from, const fs::path& to);
}  // namespace

void MoveFileNoReplace(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(to, ec))) {
    Raise(err::kFileAlreadyExists, u"The file already exists: " + FromPath(to));
  }
  // link() refuses an existing target, so the check above cannot race with a
  // file appearing in between.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) != 0) {
      RaiseFileError(std::error_code(errno, std::generic_category()), from);
    }
    return;
  }
  const int linkErr = errno;
  if (linkErr == EEXIST) {
    Raise(err::kFileAlreadyExists, u"The file already exists: " + FromPath(to));
  }
  if (linkErr != EXDEV && linkErr != EPERM && linkErr != ENOTSUP && linkErr != EMLINK) {
    RaiseFileError(std::error_code(linkErr, std::generic_category()), from);
  }
  CopyIntoPlace(from, to);
  fs::remove(from, ec);
  if (ec) RaiseFileError(ec, from);
}

std::string ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  std::optional<std::string> bytes = ReadFileBytes(path, ec);
  if (!bytes) RaiseFileError(ec, path);
  return std::move(*bytes);
}

namespace {

// The temporary file beside `path`: a dot, the file's name and the six
// characters mkstemp fills in. A name near the file system's limit of 255
// bytes is shortened (at a character boundary) so that the temporary name
// stays within it; otherwise a page whose own name fits could not be written.
std::string TemporaryNameBeside(const fs::path& path) {
  constexpr std::size_t kNameMax = 255;
  constexpr std::string_view kSuffix = ".XXXXXX";
  std::string name = path.filename().string();
  const std::size_t room = kNameMax - 1 - kSuffix.size();
  if (name.size() > room) {
    name.resize(room);
    // Drop a UTF-8 sequence the cut has split.
    while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80) {
      name.pop_back();
    }
    if (!name.empty() && static_cast<unsigned char>(name.back()) >= 0xC0) name.pop_back();
  }
  return (path.parent_path() / ("." + name + std::string(kSuffix))).string();
}

// Writes `bytes` whole to a new file named as TemporaryNameBeside(path) and
// returns its path; raises, leaving nothing behind, when it cannot (a full
// disk included).
fs::path WriteTemporaryBeside(const fs::path& path, std::string_view bytes) {
  std::string pattern = TemporaryNameBeside(path);
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) RaiseFileError(std::error_code(errno, std::generic_category()), path);
  const fs::path temp(pattern);
  auto fail = [&](int code) {
    ::close(fd);
    ::unlink(temp.c_str());
    RaiseFileError(std::error_code(code, std::generic_category()), path);
  };
  // mkstemp makes the file private; a page is as readable as any new file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  if (::fchmod(fd, 0666 & ~mask) != 0) fail(errno);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    done += static_cast<std::size_t>(put);
  }
  if (::fsync(fd) != 0) fail(errno);
  if (::close(fd) != 0) {
    const int closeErr = errno;
    ::unlink(temp.c_str());
    RaiseFileError(std::error_code(closeErr, std::generic_category()), path);
  }
  return temp;
}

}  // namespace

void RemoveStaleTemporaries(const fs::path& path) {
  const std::string temporary = fs::path(TemporaryNameBeside(path)).filename().string();
  const std::string_view start(temporary.data(), temporary.size() - 6);  // without "XXXXXX"
  std::error_code ec;
  for (fs::directory_iterator it(path.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != temporary.size() || !name.starts_with(start)) continue;
    const bool filled = std::all_of(name.end() - 6, name.end(),
                                    [](unsigned char c) { return std::isalnum(c) != 0; });
    std::error_code typeError;
    if (filled && it->is_regular_file(typeError) && !it->is_symlink(typeError)) {
      fs::remove(it->path(), typeError);  // one that cannot go is left; the page is written anyway
    }
  }
}

void ReplaceFileContent(const fs::path& path, std::string_view bytes) {
  const fs::path temp = WriteTemporaryBeside(path, bytes);
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int renameErr = errno;
    ::unlink(temp.c_str());
    RaiseFileError(std::error_code(renameErr, std::generic_category()), path);
  }
}

namespace {

// Another file system, or one without hard links: the copy is written under
// a temporary name beside `to` and takes its name only when whole, so a full
// disk leaves no cut-short file under the picture's name. Never replaces.
void CopyIntoPlace(const fs::path& from, const fs::path& to) {
  const fs::path temp = WriteTemporaryBeside(to, ReadWholeFile(from));
  if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
  int renameErr = errno;
  if (renameErr == EINVAL || renameErr == ENOSYS) {
    // A file system without the no-replace rename: `to` was checked absent.
    renameErr = ::rename(temp.c_str(), to.c_str()) == 0 ? 0 : errno;
    if (renameErr == 0) return;
  }
  ::unlink(temp.c_str());
  if (renameErr == EEXIST)
    Raise(err::kFileAlreadyExists, u"The file already exists: " + FromPath(to));
  RaiseFileError(std::error_code(renameErr, std::generic_category()), to);
}

}  // namespace

void RaiseFileError(const std::error_code& ec, const fs::path& path) {
  Raise(ErrorNumberFor(ec), Utf8ToText(ec.message()) + u": " + FromPath(path));
}

}  // namespace qp::gen
