#include "draw/helper.h"

#include <malloc.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "draw/confine.h"
#include "draw/raster.h"
#include "sys/child_process.h"

#if defined(__SANITIZE_ADDRESS__)
#define QP_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QP_SANITIZED 1
#endif
#endif

namespace qp::draw {

int RunDrawingHelper(int argc, char** argv, const Serve& serve) {
  long parent = 0;
  bool verbose = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg.starts_with("--parent=")) parent = std::strtol(argv[i] + 9, nullptr, 10);
    if (arg == "--verbose") verbose = true;
  }
  // A helper never outlives the run it serves, even one killed in the
  // middle of a drawing; one whose parent is gone already ends at once.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  // Drawings allocate surfaces of a few sizes, one after another: what one
  // frees stays for the next instead of going back to the kernel and being
  // faulted in again.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  if (parent <= 0 || getppid() != parent) return 1;
  // Only the socket is open, whatever the starter forgot to close.
  close_range(sys::kChannelDescriptor + 1, ~0u, 0);

  Confinement confinement = HelperConfinement();
#ifdef QP_SANITIZED
  // The sanitizer's shadow memory is terabytes of address space, its
  // error log a file, its reports read /proc/self/maps.
  confinement.limitAddressSpace = false;
  confinement.forbidFileWrites = false;
  confinement.readable.push_back("/proc/self");
#endif
  std::vector<std::string> missing = {ConfineFiles(confinement)};
  for (const std::string& why : Confine(confinement)) missing.push_back(why);
  for (const std::string& why : missing) {
    if (verbose && !why.empty()) std::fprintf(stderr, "quillpage-draw: %s\n", why.c_str());
  }
  // Fontconfig reads its configuration, confined, while the first requests
  // come in; only a drawing with text waits for it.
  PreloadFonts();
  int status = ServeRequests(sys::kChannelDescriptor, serve);
  AwaitFonts();
  return status;
}

}  // namespace qp::draw
