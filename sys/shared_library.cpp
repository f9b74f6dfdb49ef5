#include "sys/shared_library.h"

#include <dlfcn.h>

namespace qp {

// RTLD_LOCAL keeps the library's symbols to itself: nothing else in the
// process binds to them by accident. Only libraries that can be unloaded
// again are opened here (libtiff, the display clients); the GLib-based
// drawing libraries are linked by the drawing helper instead.
SharedLibrary::SharedLibrary(const char* soname) : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {}

SharedLibrary::~SharedLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* SharedLibrary::FindSymbol(const char* symbol) const {
  return handle_ == nullptr ? nullptr : dlsym(handle_, symbol);
}

}  // namespace qp
