// For the last steps of a run that is already over (the failure report,
// letting the engine go): whatever a step throws is dropped, located
// failures included, so that the following steps still run.
#pragma once

namespace qp::app {

template <class F>
void Quietly(F&& step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace qp::app
