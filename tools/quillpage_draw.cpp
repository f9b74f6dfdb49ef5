// The drawing helper: draws one document's charts, shapes and metafiles,
// confined, for the process that writes the page (draw/helper.h).
#include "draw/helper.h"
#include "draw/serve.h"

// A confined process cannot stop its own threads with ptrace, which the
// leak checker needs at exit; the helper's code is leak-checked in the
// draw tests instead.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}

int main(int argc, char** argv) {
  return qp::draw::RunDrawingHelper(argc, argv, qp::draw::ServeRequest);
}
