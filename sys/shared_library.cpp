#include "sys/shared_library.h"

#include <dlfcn.h>

namespace qp {

// RTLD_LOCAL keeps the library's symbols to itself: nothing else in the
// process binds to them by accident. RTLD_NODELETE keeps the code mapped
// after the last close: GLib-based libraries (librsvg, pango) register types
// and threads that cannot be unloaded, so a second document in the same
// process would call into unmapped code; and leak reports can still name
// the library's frames.
SharedLibrary::SharedLibrary(const char* soname)
    : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {}

SharedLibrary::~SharedLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* SharedLibrary::FindSymbol(const char* symbol) const {
  return handle_ == nullptr ? nullptr : dlsym(handle_, symbol);
}

}  // namespace qp
