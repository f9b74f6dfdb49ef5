#include "app/word_engine.h"

#include "text/codec.h"

namespace qp::app {

std::unique_ptr<word::Application> ProcessWordEngine::Attach(const Text& settingsFolder) {
  return word::AttachRunningApplication(ToPath(settingsFolder));
}

std::unique_ptr<word::Application> ProcessWordEngine::Create(const Text& settingsFolder) {
  return word::CreateApplication(ToPath(settingsFolder));
}

}  // namespace qp::app
