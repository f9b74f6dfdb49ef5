// The drawing helper program (quillpage-draw): started by a Drawer with
// its socket as descriptor 3, it closes every other descriptor, confines
// its file access, completes its confinement (draw/confine.h) and then
// serves requests until the Drawer closes the socket, while fontconfig
// loads on a thread of its own.
#pragma once

#include "draw/isolated.h"

namespace qp::draw {

// The helper's main, answering with `serve` (ServeRequest in the helper
// program; the tests' probes in theirs). Arguments: --parent=PID (the
// process it serves, whose end is its own) and --verbose (say on standard
// error which layer of confinement the kernel lacks).
int RunDrawingHelper(int argc, char** argv, const Serve& serve);

}  // namespace qp::draw
