#include "tests/robust/robust_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

extern char** environ;

namespace qp::robust {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "qp-robust-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests take write permission away; give it back so that all goes.
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

User::User() {
  WriteFile(home() / ".config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n");
  fs::create_directories(desktop());
  WriteFile(settings() / "Control.ini",
            "[SYSTEM]\r\nSetCt=0\r\nSetPW=0\r\nLGrid=1\r\nPrevw=0\r\nEncod=0\r\nAddSS=0\r\n");
}

fs::path Program() {
  return fs::path(QP_BINARY_DIR) / "bin" / "quillpage";
}

// The account the program runs as when the tests run as root.
constexpr uid_t kNobody = 65534;

bool User::RunUnprivileged() {
  if (::geteuid() != 0) return true;  // already an ordinary user
  if (!fs::exists("/usr/bin/setpriv")) return false;
  std::error_code ec;
  auto own = [](const fs::path& p) { return ::lchown(p.c_str(), kNobody, kNobody) == 0; };
  bool ok = own(home());
  for (auto it = fs::recursive_directory_iterator(home(), ec);
       ok && !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    ok = own(it->path());
  }
  unprivileged_ = ok && !ec;
  return unprivileged_;
}

fs::path User::Place(const std::string& name, const std::string& bytes) const {
  WriteFile(docs() / name, bytes);
  if (unprivileged_) {
    if (::lchown(docs().c_str(), kNobody, kNobody) != 0 ||
        ::lchown((docs() / name).c_str(), kNobody, kNobody) != 0) {
      std::perror("lchown");  // the run then cannot read the document, and says so
    }
  }
  return docs() / name;
}

User::Running User::Start(const std::string& argument) const {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    bool dropped = false;
    for (const char* drop : {"DISPLAY=", "WAYLAND_DISPLAY=", "HOME=", "XDG_",
                             "PATH=", "LANGUAGE=", "LC_ALL=", "LC_MESSAGES="}) {
      if (entry.rfind(drop, 0) == 0) dropped = true;
    }
    if (!dropped) env.push_back(entry);
  }
  env.push_back("HOME=" + home().string());
  env.push_back("LC_MESSAGES=ja_JP.UTF-8");  // the messages in the design's words
  env.push_back("XDG_CONFIG_HOME=" + (home() / ".config").string());
  env.push_back("PATH=/usr/bin:/bin");
  std::string program = Program().string();
  std::vector<std::string> words;
  if (unprivileged_) {
    words = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
  }
  words.push_back(program);
  words.push_back(argument);
  Running run;
  run.output = logs_.path() / ("output-" + std::to_string(++runs_) + ".txt");
  sys::ChildStreams streams;
  streams.outputLog = run.output.string();  // standard error too
  run.child = std::make_unique<sys::Child>(sys::ChildSetup{words, env}, streams);
  return run;
}

Outcome User::Finish(Running& run, std::chrono::seconds limit) const {
  Outcome out;
  if (!run.child || !run.child->Started()) return out;
  sys::ChildEnd end = run.child->WaitFor(limit);
  if (end.how == sys::ChildEnd::How::Running) {
    end = run.child->Kill();
    out.timedOut = true;
  }
  out.status = end.status;
  out.output = ReadFile(run.output);
  return out;
}

Outcome User::Run(const fs::path& document, std::chrono::seconds limit) const {
  Running run = Start(document.string());
  return Finish(run, limit);
}

std::map<std::string, std::string> Listing(const fs::path& root,
                                           const std::vector<fs::path>& writable) {
  std::map<std::string, std::string> entries;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const fs::path& p = it->path();
    bool skip = false;
    for (const fs::path& w : writable) skip = skip || p == w;
    if (skip) {
      it.disable_recursion_pending();
      continue;
    }
    std::string facts = it->is_directory(ec) ? "dir" : std::to_string(it->file_size(ec));
    facts += " " + std::to_string(it->last_write_time(ec).time_since_epoch().count());
    entries[fs::relative(p, root).string()] = facts;
  }
  return entries;
}

Fingerprint FingerprintOf(const fs::path& document) {
  std::error_code ec;
  return {ReadFile(document), fs::last_write_time(document, ec)};
}

Watch::Watch(const User& user, const fs::path& document)
    : user_(user),
      document_(document),
      home_(Listing(user.home(), {user.desktop(), user.settings()})),
      before_(FingerprintOf(document)) {}

std::string Watch::Changes() const {
  std::string changes;
  if (!(FingerprintOf(document_) == before_)) changes += "the document changed; ";
  const auto after = Listing(user_.home(), {user_.desktop(), user_.settings()});
  for (const auto& [name, facts] : after) {
    auto it = home_.find(name);
    if (it == home_.end()) {
      changes += "new " + name + "; ";
    } else if (it->second != facts) {
      changes += "changed " + name + "; ";
    }
  }
  for (const auto& [name, facts] : home_) {
    if (!after.count(name)) changes += "gone " + name + "; ";
  }
  return changes;
}

bool EndedWithMessage(const Outcome& out) {
  if (out.timedOut) return false;
  if (out.status == kRefused) return !out.output.empty();
  if (out.status == kFailureReport) return out.output.find(kReportMark) != std::string::npos;
  return false;
}

}  // namespace qp::robust
