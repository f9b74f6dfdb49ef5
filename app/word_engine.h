// The Word engine of this process, as the run reaches it.
#pragma once

#include "generate/run_state.h"

namespace qp::app {

class ProcessWordEngine : public gen::WordEngine {
 public:
  std::unique_ptr<word::Application> Attach(const Text& settingsFolder) override;
  std::unique_ptr<word::Application> Create(const Text& settingsFolder) override;
};

}  // namespace qp::app
