#include "generate/word/doc_convert.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string_view>
#include <vector>

#include "generate/word/word_app.h"
#include "sys/child_process.h"
#include "text/failure.h"
#include "text/file_bytes.h"

namespace qp::word {

namespace {

constexpr char kTempPrefix[] = "quillpage-doc-";
constexpr std::time_t kStaleSeconds = 180;

// A folder under the system's temporary folder, removed with its contents
// when the conversion ends in any way. The run holds a lock on it while it
// lives, so that a later run can tell a folder a killed run left from one
// a run of the same user in another home is using.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(kTempPrefix) + "XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) Raise(err::kConverterFailed, T("No temporary folder."));
    path_ = buffer.data();
    lock_ = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (lock_ >= 0) ::flock(lock_, LOCK_EX | LOCK_NB);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    if (lock_ >= 0) ::close(lock_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  int lock_ = -1;
};

// The folder of `program` on PATH, or empty.
std::filesystem::path FindOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::filesystem::path candidate =
        std::filesystem::path(dirs.substr(start, end - start)) / program;
    if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

bool OptedOutOfSandbox() {
  const char* value = std::getenv(kNoSandboxVariable);
  return value != nullptr && std::string_view(value) == "1";
}

// The bwrap arguments up to the command: a read-only system, none of the
// user's files, only `temp` writable, no network, and the whole sandbox
// killed when the run ends. `soffice` is the program's real path.
std::vector<std::string> SandboxPrefix(const std::filesystem::path& bwrap,
                                       const std::filesystem::path& soffice,
                                       const std::filesystem::path& temp) {
  std::vector<std::string> args = {bwrap.string(),  "--unshare-all", "--die-with-parent",
                                   "--new-session", "--ro-bind",     "/usr",
                                   "/usr"};
  for (const char* top : {"/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"}) {
    std::error_code ec;
    const auto st = std::filesystem::symlink_status(top, ec);
    if (std::filesystem::is_symlink(st)) {
      args.insert(args.end(), {"--symlink", std::filesystem::read_symlink(top, ec).string(), top});
    } else if (std::filesystem::is_directory(st)) {
      args.insert(args.end(), {"--ro-bind", top, top});
    }
  }
  // LibreOffice installed outside /usr (a vendor's package under /opt):
  // its own folder only, the one that holds program/soffice.
  if (soffice.string().rfind("/usr/", 0) != 0) {
    const std::filesystem::path installation = soffice.parent_path().parent_path();
    args.insert(args.end(), {"--ro-bind", installation.string(), installation.string()});
  }
  // What LibreOffice reads of the system's configuration: fonts, its own
  // settings, the loader's cache, the account and time zone names.
  for (const char* config :
       {"/etc/fonts", "/etc/libreoffice", "/etc/ld.so.cache", "/etc/passwd", "/etc/group",
        "/etc/nsswitch.conf", "/etc/localtime", "/var/cache/fontconfig"}) {
    args.insert(args.end(), {"--ro-bind-try", config, config});
  }
  args.insert(args.end(), {"--dev", "/dev", "--proc", "/proc", "--tmpfs", "/tmp", "--bind",
                           temp.string(), temp.string(), "--chdir", temp.string(), "--"});
  return args;
}

// Empty when bwrap can build a sandbox here; else why not, in a note's words.
std::string SandboxUnavailable(const std::filesystem::path& bwrap) {
  if (bwrap.empty()) return "bubblewrap (bwrap) is not installed";
  const sys::ChildEnd end = sys::RunWithin({{bwrap.string(), "--unshare-all", "--die-with-parent",
                                             "--ro-bind", "/", "/", "--", "/bin/true"},
                                            sys::ChildEnvironment(),
                                            sys::ChildSetup::Group::Own},
                                           std::chrono::seconds(10));
  if (end.Succeeded()) return {};
  return "bwrap cannot make a sandbox here (user namespaces are off or not allowed)";
}

}  // namespace

std::filesystem::path FindConverter() {
  return FindOnPath("soffice");
}

void RemoveStaleConversionFolders() {
  std::error_code ec;
  const std::filesystem::path tmp = std::filesystem::temp_directory_path(ec);
  if (ec) return;
  for (std::filesystem::directory_iterator it(tmp, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(kTempPrefix, 0) != 0) continue;
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    // Only this user's, and only one no living run holds. Its age is checked
    // too: a folder made a moment ago may not be locked by its run yet, and
    // a run of a version that does not lock gives up on its converter after
    // two minutes.
    const bool settled = ::fstat(fd, &st) == 0 && st.st_mtime + kStaleSeconds < std::time(nullptr);
    if (settled && st.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      std::error_code removeError;
      std::filesystem::remove_all(it->path(), removeError);
    }
    ::close(fd);
  }
}

std::string FileUrl(const std::filesystem::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path.string()) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

std::string ConvertDocToDocx(const std::string& docBytes, Notes& notes,
                             std::chrono::seconds timeLimit) {
  std::filesystem::path soffice = FindConverter();
  if (soffice.empty()) {
    notes.Add(u".doc files need LibreOffice; install the package libreoffice-writer-nogui");
    Raise(err::kConverterMissing, T("LibreOffice is not installed."));
  }
  // A .doc (or an RTF file under that name) can make LibreOffice read files
  // it links to and put them in the document: it only ever runs where the
  // user's files are out of its reach.
  const std::filesystem::path bwrap = FindOnPath("bwrap");
  const std::string why = SandboxUnavailable(bwrap);
  const bool sandboxed = why.empty();
  if (!sandboxed && !OptedOutOfSandbox()) {
    notes.Add(u".doc files are converted by LibreOffice in a sandbox, and " + T(why) +
              u". Install the package bubblewrap, or set " + T(kNoSandboxVariable) +
              u"=1 to convert .doc files without the sandbox (a document could then copy "
              u"your files into its page).");
    Raise(err::kConverterUnconfined, T("LibreOffice cannot run in a sandbox."));
  }
  RemoveStaleConversionFolders();
  TempFolder temp;
  std::filesystem::path input = temp.path() / "document.doc";
  std::filesystem::path outDir = temp.path() / "out";
  std::filesystem::create_directory(outDir);
  {
    std::ofstream out(input, std::ios::binary);
    out.write(docBytes.data(), static_cast<std::streamsize>(docBytes.size()));
    if (!out) Raise(err::kConverterFailed, T("The document cannot be copied for conversion."));
  }
  // A profile of its own: one shared with a running LibreOffice would hand
  // the job to that instance and return at once.
  std::vector<std::string> args;
  if (sandboxed) {
    // The program's own path: a link to it (/usr/local/bin/soffice) may
    // point outside what the sandbox shows.
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(soffice, ec);
    if (!ec) soffice = real;
    args = SandboxPrefix(bwrap, soffice, temp.path());
  }
  args.insert(
      args.end(),
      {soffice.string(), "-env:UserInstallation=" + FileUrl(temp.path() / "profile"), "--headless",
       "--norestore", "--convert-to", "docx", "--outdir", outDir.string(), input.string()});
  // Its own process group, so that a converter out of time is killed with
  // every helper it started; in the sandbox, bwrap also kills it when this
  // process dies first.
  const sys::ChildEnd end = sys::RunWithin(
      {args,
       sys::ChildEnvironment({"HOME=" + temp.path().string(), "DISPLAY", "WAYLAND_DISPLAY",
                              "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS"}),
       sys::ChildSetup::Group::Own},
      timeLimit);
  if (end.how == sys::ChildEnd::How::Running) {
    Raise(err::kConverterTimedOut, T("LibreOffice did not convert the document in time."));
  }
  // soffice exits 0 even when it made nothing: the output decides.
  std::error_code ec;
  std::string bytes = ReadFileBytes(outDir / "document.docx", ec).value_or(std::string());
  if (bytes.size() < 4 || bytes.compare(0, 2, "PK") != 0) {
    Raise(err::kConverterFailed, T("LibreOffice made nothing of the document."));
  }
  return bytes;
}

}  // namespace qp::word
