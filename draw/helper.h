// The drawing helper program (quillpage-draw): started by a Drawer with
// its socket as descriptor 3, it closes every other descriptor, confines
// its file access, warms fontconfig and the drawing libraries, completes
// its confinement (draw/confine.h) and then serves requests until the
// Drawer closes the socket.
#pragma once

#include "draw/isolated.h"

namespace qp::draw {

// The helper's main, answering with `serve` (ServeRequest in the helper
// program; the tests' probes in theirs). Arguments: --parent=PID (the
// process it serves, whose end is its own) and --verbose (say on standard
// error which layer of confinement the kernel lacks).
int RunDrawingHelper(int argc, char** argv, const Serve& serve);

// Loads what drawing needs from the file system (fontconfig's
// configuration and caches, the fonts of a simple text) while it still
// may.
void WarmUp();

}  // namespace qp::draw
