#include "draw/confine.h"

#include <fcntl.h>
#include <sched.h>
#include <seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

namespace qp::draw {

namespace {

// Landlock's interface, spelled out here: the numbers belong to the
// kernel's ABI, and older kernel headers lack the later rights.
struct LandlockRuleset {
  std::uint64_t fs = 0;
  std::uint64_t net = 0;
  std::uint64_t scoped = 0;
};
struct [[gnu::packed]] LandlockPathBeneath {
  std::uint64_t allowed;
  std::int32_t parentFd;
};
constexpr unsigned kLandlockVersion = 1;
constexpr int kLandlockPathBeneath = 1;
constexpr std::uint64_t kReadFile = 1u << 2, kReadDir = 1u << 3;

// Every right the kernel's ABI knows is handled, so every one not granted
// below is refused.
LandlockRuleset HandledBy(long abi) {
  LandlockRuleset r;
  r.fs = (1u << 13) - 1;           // 1: execute ... make a symbolic link
  if (abi >= 2) r.fs |= 1u << 13;  // reparent a file
  if (abi >= 3) r.fs |= 1u << 14;  // truncate
  if (abi >= 5) r.fs |= 1u << 15;  // ioctl on devices
  if (abi >= 4) r.net = 3;         // bind and connect TCP
  if (abi >= 6) r.scoped = 3;      // abstract sockets and signals beyond the process
  return r;
}

std::size_t RulesetSize(long abi) {
  return abi >= 6   ? sizeof(LandlockRuleset)
         : abi >= 4 ? 2 * sizeof(std::uint64_t)
                    : sizeof(std::uint64_t);
}

// Read-only below `c.readable`, nothing elsewhere.
std::string Landlock(const Confinement& c) {
  long abi = syscall(SYS_landlock_create_ruleset, nullptr, 0, kLandlockVersion);
  if (abi < 1) return "Landlock is not available: files stay readable outside the allowed folders";
  LandlockRuleset handled = HandledBy(abi);
  int ruleset =
      static_cast<int>(syscall(SYS_landlock_create_ruleset, &handled, RulesetSize(abi), 0));
  if (ruleset < 0) return "Landlock refused the ruleset";
  for (const std::string& folder : c.readable) {
    int fd = open(folder.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0) continue;  // a folder this user does not have
    LandlockPathBeneath rule{kReadFile | kReadDir, fd};
    // A plain file (a device) takes file rights only.
    struct stat st;
    if (fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode)) rule.allowed = kReadFile;
    syscall(SYS_landlock_add_rule, ruleset, kLandlockPathBeneath, &rule, 0);
    close(fd);
  }
  long done = syscall(SYS_landlock_restrict_self, ruleset, 0);
  close(ruleset);
  return done == 0 ? "" : "Landlock could not be applied";
}

// A filter that lets everything through but what the helper never needs.
// Refused calls fail with EPERM (ENOSYS where the C library falls back to
// an older call), so that a library meets an error, not a dead process.
std::string Seccomp() {
  scmp_filter_ctx ctx = seccomp_init(SCMP_ACT_ALLOW);
  if (!ctx) return "seccomp is not available";
  const std::uint32_t deny = SCMP_ACT_ERRNO(EPERM);
  // Every thread, also any a library has started by now.
  bool ok = seccomp_attr_set(ctx, SCMP_FLTATR_CTL_TSYNC, 1) == 0;
  auto rule = [&](std::uint32_t action, const char* name,
                  std::initializer_list<scmp_arg_cmp> args) {
    int nr = seccomp_syscall_resolve_name(name);
    if (nr == __NR_SCMP_ERROR) return;  // a call this architecture does not have
    ok = seccomp_rule_add_array(ctx, action, nr, static_cast<unsigned>(args.size()),
                                args.size() ? args.begin() : nullptr) == 0 &&
         ok;
  };
  // Other processes: no new ones but threads, no programs, no tracing, no
  // signals beyond this process.
  for (const char* name :
       {"fork", "vfork", "execve", "execveat", "ptrace", "process_vm_readv", "process_vm_writev",
        "pidfd_open", "pidfd_send_signal", "pidfd_getfd", "tkill"}) {
    rule(deny, name, {});
  }
  rule(deny, "clone", {SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, 0)});
  rule(SCMP_ACT_ERRNO(ENOSYS), "clone3", {});  // its flags are out of a filter's sight
  const auto self = static_cast<scmp_datum_t>(getpid());
  for (const char* name : {"kill", "tgkill", "rt_sigqueueinfo", "rt_tgsigqueueinfo"}) {
    rule(deny, name, {SCMP_A0(SCMP_CMP_NE, self)});
  }
  // The network: the helper answers on the socket it was given.
  for (const char* name :
       {"socket", "socketpair", "connect", "bind", "listen", "accept", "accept4"}) {
    rule(deny, name, {});
  }
  // The system's state.
  for (const char* name : {"mount",
                           "umount2",
                           "unshare",
                           "setns",
                           "pivot_root",
                           "chroot",
                           "fsopen",
                           "fsmount",
                           "fsconfig",
                           "move_mount",
                           "open_tree",
                           "mount_setattr",
                           "keyctl",
                           "add_key",
                           "request_key",
                           "bpf",
                           "perf_event_open",
                           "userfaultfd",
                           "io_uring_setup",
                           "io_uring_enter",
                           "io_uring_register",
                           "init_module",
                           "finit_module",
                           "reboot",
                           "swapon",
                           "kexec_load",
                           "acct"}) {
    rule(deny, name, {});
  }
  // Files: opened for reading only, and nothing named on the file system
  // changes.
  for (unsigned flag : {O_WRONLY, O_RDWR, O_CREAT, O_TRUNC}) {
    rule(deny, "open", {SCMP_A1(SCMP_CMP_MASKED_EQ, flag, flag)});
    rule(deny, "openat", {SCMP_A2(SCMP_CMP_MASKED_EQ, flag, flag)});
  }
  rule(SCMP_ACT_ERRNO(ENOSYS), "openat2", {});  // its flags are out of a filter's sight
  for (const char* name :
       {"creat",     "truncate", "unlink",   "unlinkat", "rename", "renameat", "renameat2",
        "mkdir",     "mkdirat",  "rmdir",    "link",     "linkat", "symlink",  "symlinkat",
        "mknod",     "mknodat",  "chmod",    "fchmodat", "chown",  "lchown",   "fchownat",
        "utimensat", "utimes",   "setxattr", "lsetxattr"}) {
    rule(deny, name, {});
  }
  ok = ok && seccomp_load(ctx) == 0;
  seccomp_release(ctx);
  return ok ? "" : "the seccomp filter could not be loaded";
}

void Limit(int resource, rlim_t value) {
  rlimit r{value, value};
  setrlimit(resource, &r);
}

}  // namespace

Confinement HelperConfinement() {
  Confinement c;
  c.readable = {"/usr", "/etc/fonts", "/var/cache/fontconfig", "/dev/urandom"};
  auto env = [](const char* name) -> std::string {
    const char* v = std::getenv(name);
    return v && *v == '/' ? v : "";
  };
  std::string home = env("HOME");
  std::string data = env("XDG_DATA_HOME"), cache = env("XDG_CACHE_HOME");
  if (data.empty() && !home.empty()) data = home + "/.local/share";
  if (cache.empty() && !home.empty()) cache = home + "/.cache";
  if (!home.empty()) c.readable.push_back(home + "/.fonts");
  if (!data.empty()) c.readable.push_back(data + "/fonts");
  if (!cache.empty()) c.readable.push_back(cache + "/fontconfig");
  return c;
}

std::string ConfineFiles(const Confinement& c) {
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return "no_new_privs refused";
  return Landlock(c);
}

std::vector<std::string> Confine(const Confinement& c) {
  std::vector<std::string> missing;
  Limit(RLIMIT_CORE, 0);
  if (c.forbidFileWrites) Limit(RLIMIT_FSIZE, 0);
  // A 4,096 px square drawing needs a few of its 64 MB surfaces.
  if (c.limitAddressSpace) Limit(RLIMIT_AS, rlim_t{3} << 30);
  prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) missing.push_back("no_new_privs refused");
  if (std::string why = Seccomp(); !why.empty()) missing.push_back(why);
  return missing;
}

}  // namespace qp::draw
