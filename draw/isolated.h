// Work that may crash or run away (a metafile player fed a hostile file, a
// drawing far bigger than it looks) runs in a helper program of its own;
// requests and answers cross a socket, the helper's descriptor 3. The
// helper is started on the first request and serves every later one, so
// the libraries it loads and the caches they fill (fontconfig's, above all)
// are paid for once per helper, not once per object. A crash, a hang or an
// answer past its size cap costs that one request: the helper is killed
// and the next request starts a new one.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sys/child_process.h"

namespace qp::draw {

struct Isolated {
  bool ok = false;
  std::string bytes;  // what the helper answered, when ok
  std::string why;    // why not ok: "crashed", "took longer than 5 s", ...
};

class IsolatedWorker {
 public:
  // `helper` is started with posix_spawn: its arguments[0] is a path, its
  // environment what the caller prepared; the socket becomes its
  // descriptor 3 and no other descriptor of this process reaches it. Its
  // standard error is `errors` (/dev/null by default).
  IsolatedWorker(sys::ChildSetup helper, sys::ChildStreams errors, std::chrono::milliseconds cap,
                 std::size_t maxReply);
  ~IsolatedWorker();
  IsolatedWorker(const IsolatedWorker&) = delete;
  IsolatedWorker& operator=(const IsolatedWorker&) = delete;

  // Sends `request` and waits for the answer, at most the cap (which also
  // covers starting the helper). A request that throws in the helper fails
  // alone; the helper goes on serving.
  Isolated Run(std::string_view request);

  // Starts the helper now, so that it loads its libraries while the caller
  // does other work, and the first Run finds it ready. Nothing when one
  // runs already; a helper that cannot start is told of by the next Run.
  void Prepare();

  // How many helpers this worker has started.
  int Started() const { return started_; }

 private:
  bool Start();
  // Kills the helper (when `kill`) and reaps it; returns how it ended.
  std::string Stop(bool kill);

  sys::ChildSetup helper_;
  sys::ChildStreams streams_;
  std::chrono::milliseconds cap_;
  std::size_t maxReply_;
  std::unique_ptr<sys::Child> child_;
  int socket_ = -1;
  int started_ = 0;
};

// The helper's side: answers each request read from `fd` with `serve`,
// until the other end closes. A request that throws gets a failure answer.
// Returns the helper's exit status: 0 when the other end closed, 4 when an
// answer could not be sent, 5 for a request past its size cap.
using Serve = std::function<std::string(std::string_view request)>;
int ServeRequests(int fd, const Serve& serve);

}  // namespace qp::draw
