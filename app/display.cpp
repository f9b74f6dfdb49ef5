#include "app/display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "sys/child_process.h"
#include "sys/shared_library.h"

namespace qp::app {

namespace {

namespace fs = std::filesystem;

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

// Client libraries are opened only to ask whether their server answers: a
// run without a display never loads them, and a missing library means the
// toolkit could not use that server either.
bool X11Answers() {
  const SharedLibrary xcb("libxcb.so.1");
  using Connect = void*(const char*, int*);
  using Check = int(void*);
  using Disconnect = void(void*);
  auto* connect = xcb.Find<Connect>("xcb_connect");
  auto* hasError = xcb.Find<Check>("xcb_connection_has_error");
  auto* disconnect = xcb.Find<Disconnect>("xcb_disconnect");
  if (connect == nullptr || hasError == nullptr || disconnect == nullptr) return false;
  // xcb_connect never answers null: a failed connection is an error object
  // that must be released all the same.
  void* connection = connect(nullptr, nullptr);
  const bool answers = hasError(connection) == 0;
  disconnect(connection);
  return answers;
}

bool WaylandAnswers() {
  const SharedLibrary wayland("libwayland-client.so.0");
  using Connect = void*(const char*);
  using Disconnect = void(void*);
  auto* connect = wayland.Find<Connect>("wl_display_connect");
  auto* disconnect = wayland.Find<Disconnect>("wl_display_disconnect");
  if (connect == nullptr || disconnect == nullptr) return false;
  void* display = connect(nullptr);
  if (display == nullptr) return false;
  disconnect(display);
  return true;
}

}  // namespace

bool HasDisplay() {
  return (IsSet("WAYLAND_DISPLAY") && WaylandAnswers()) || (IsSet("DISPLAY") && X11Answers());
}

void StartDesktopProgram(char** argv) {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  const fs::path program = (self.parent_path() / QP_DESKTOP_PROGRAM).lexically_normal();
  const std::string why = ec ? ec.message() : std::strerror(sys::ReplaceProcess(program, argv));
  std::fprintf(stderr,
               "quillpage: cannot start the desktop program %s (%s); messages follow here.\n",
               program.c_str(), why.c_str());
}

}  // namespace qp::app
