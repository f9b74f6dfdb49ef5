#include "draw/picture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/isolated.h"
#include "draw/metafile_kind.h"
#include "draw/request.h"
#include "sys/child_process.h"

extern char** environ;

namespace qp::draw {

namespace {

// The largest PNG a helper may send back: 4096 x 4096 RGBA, uncompressed.
constexpr std::size_t kMaxPngBytes = 4096u * 4096u * 4u + (1u << 20);

// What a Drawer keeps of the requests it answered, requests and pictures
// together; past it, a repeated object is drawn again.
constexpr std::size_t kMaxRememberedBytes = 64u << 20;

namespace fs = std::filesystem;

// The drawing helper's program: beside the desktop program (both in
// libexec/quillpage), or found from the command in bin by the same
// relative path in the build tree and the installed tree. QP_DRAW_HELPER
// names another (tests run from folders of their own).
std::string HelperPath() {
  if (const char* named = std::getenv("QP_DRAW_HELPER"); named && *named) return named;
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  for (const fs::path& candidate :
       {self.parent_path() / QP_DRAW_FROM_COMMAND, self.parent_path() / QP_DRAW_PROGRAM_NAME}) {
    if (access(candidate.c_str(), X_OK) == 0) return candidate.lexically_normal();
  }
  return {};
}

// What the helper may see of this process's environment: where the user's
// fonts and their caches are, and the locale. Nothing that leads to a
// display, a session bus or the user's other services.
std::vector<std::string> HelperEnvironment() {
  static constexpr std::string_view kKept[] = {"HOME",
                                               "LANG",
                                               "LANGUAGE",
                                               "LC_ALL",
                                               "LC_CTYPE",
                                               "XDG_DATA_HOME",
                                               "XDG_DATA_DIRS",
                                               "XDG_CACHE_HOME",
                                               "XDG_CONFIG_HOME",
                                               "XDG_CONFIG_DIRS",
                                               "FONTCONFIG_FILE",
                                               "FONTCONFIG_PATH",
                                               "ASAN_OPTIONS",
                                               "UBSAN_OPTIONS",
                                               "LSAN_OPTIONS"};
  std::vector<std::string> kept;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string_view entry(*e);
    std::string_view name = entry.substr(0, entry.find('='));
    if (std::find(std::begin(kKept), std::end(kKept), name) != std::end(kKept)) {
      kept.emplace_back(entry);
    }
  }
  return sys::ChildEnvironmentFrom(kept, {});
}

sys::ChildSetup HelperSetup(sys::ChildStreams& errors) {
  sys::ChildSetup setup;
  setup.arguments = {HelperPath(), "--parent=" + std::to_string(getpid())};
  setup.environment = HelperEnvironment();
  setup.group = sys::ChildSetup::Group::Own;
  const char* verbose = std::getenv("QP_DRAW_VERBOSE");
  if (verbose && *verbose) {
    setup.arguments.push_back("--verbose");
    errors.shareErrors = true;
  }
#ifdef QP_DRAW_ERROR_LOG
  // Sanitizer builds: the helper's reports are kept, not lost in /dev/null.
  errors.errorLog = QP_DRAW_ERROR_LOG;
#endif
  return setup;
}

}  // namespace

Drawer::Drawer() {
  sys::ChildStreams errors;
  sys::ChildSetup setup = HelperSetup(errors);
  worker_ =
      std::make_unique<IsolatedWorker>(std::move(setup), std::move(errors), kDrawCap, kMaxPngBytes);
}

Drawer::~Drawer() = default;

Picture Drawer::Draw(char kind, std::string_view source, const Palette* palette, double widthPx,
                     double heightPx) {
  std::string request = PackRequest(kind, source, palette, widthPx, heightPx);
  if (auto known = drawn_.find(request); known != drawn_.end()) return known->second;
  Picture p = DrawAnew(request, kind, source, widthPx, heightPx);
  std::size_t bytes = request.size() + p.png.size();
  if (bytes <= kMaxRememberedBytes - drawnBytes_) {
    drawnBytes_ += bytes;
    drawn_.emplace(std::move(request), p);
  }
  return p;
}

Picture Drawer::DrawAnew(const std::string& request, char kind, std::string_view source,
                         double widthPx, double heightPx) {
  Isolated run = worker_->Run(request);
  Picture p;
  if (run.ok && UnpackPicture(run.bytes, p) && !p.png.empty()) return p;
  // The helper crashed, hung or answered nonsense: a placeholder from a
  // fresh helper, or a bare frame when even that fails.
  p = Picture();
  p.note = "the drawing " + (run.ok ? std::string("failed") : run.why);
  std::string caption = Caption(kind, source);
  Isolated placeholder = worker_->Run(PackRequest('P', caption, nullptr, widthPx, heightPx));
  Picture drawn;
  if (placeholder.ok && UnpackPicture(placeholder.bytes, drawn) && !drawn.png.empty()) {
    p.png = std::move(drawn.png);
  } else {
    p.png = FramePng(CapSize(widthPx, heightPx));
  }
  return p;
}

Picture Drawer::Metafile(std::string_view bytes, double widthPx, double heightPx) {
  if (bytes.size() <= kMaxMetafileBytes) return Draw('M', bytes, nullptr, widthPx, heightPx);
  Picture p = Draw('P', Caption('M', bytes), nullptr, widthPx, heightPx);
  p.note = "the metafile is larger than " + std::to_string(kMaxMetafileBytes >> 20) + " MB";
  return p;
}

Picture Drawer::Chart(std::string_view chartXml, const Palette& palette, double widthPx,
                      double heightPx) {
  return Draw('C', chartXml, &palette, widthPx, heightPx);
}

Picture Drawer::Shape(std::string_view drawingXml, const Palette& palette, double widthPx,
                      double heightPx) {
  return Draw('S', drawingXml, &palette, widthPx, heightPx);
}

}  // namespace qp::draw
