// Work that may crash or run away (a metafile player fed a hostile file, a
// drawing far bigger than it looks) runs in a child process with a time
// cap; its result comes back through a pipe. A crash, a hang or a result
// past its size cap costs that one object, never the run.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace qp::draw {

struct Isolated {
  bool ok = false;
  std::string bytes;  // what `work` returned, when ok
  std::string why;    // why not ok: "timed out", "crashed", ...
};

Isolated RunIsolated(const std::function<std::string()>& work, std::chrono::milliseconds cap,
                     std::size_t maxBytes);

}  // namespace qp::draw
