// Work that may crash or run away (a metafile player fed a hostile file, a
// drawing far bigger than it looks) runs in a child process; requests and
// results cross a socket. The child is forked on the first request and
// serves every later one, so the libraries it loads and the caches they
// fill (fontconfig's, above all) are paid for once per worker, not once per
// object. A crash, a hang or a result past its size cap costs that one
// request: the child is killed and the next request starts a new one.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace qp::draw {

struct Isolated {
  bool ok = false;
  std::string bytes;  // what the child answered, when ok
  std::string why;    // why not ok: "crashed", "took longer than 5 s", ...
};

class IsolatedWorker {
 public:
  // `serve` runs in the child, once per request. It is copied into the
  // child with the rest of the process as it stands at the first request.
  using Serve = std::function<std::string(std::string_view request)>;

  IsolatedWorker(Serve serve, std::chrono::milliseconds cap, std::size_t maxReply);
  ~IsolatedWorker();
  IsolatedWorker(const IsolatedWorker&) = delete;
  IsolatedWorker& operator=(const IsolatedWorker&) = delete;

  // Sends `request` and waits for the answer, at most the cap (which also
  // covers starting the child). A request that throws in the child fails
  // alone; the child goes on serving.
  Isolated Run(std::string_view request);

 private:
  bool Start();
  // Kills the child (when `kill`) and reaps it; returns how it ended.
  std::string Stop(bool kill);

  Serve serve_;
  std::chrono::milliseconds cap_;
  std::size_t maxReply_;
  pid_t pid_ = -1;
  int socket_ = -1;
};

}  // namespace qp::draw
