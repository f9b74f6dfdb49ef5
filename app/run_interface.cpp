#include "app/run_interface.h"

#include <utility>

#include "app/messages.h"
#include "app/shell.h"

namespace qp::app {

RunInterface::RunInterface(gen::RunState& run, Desktop& desktop) : run_(run), desktop_(desktop) {
  if (run_.Ui == nullptr) {
    run_.Ui = this;
    installed_ = true;
  }
}

RunInterface::~RunInterface() {
  if (installed_) run_.Ui = nullptr;
}

int RunInterface::Srv_Dsp_Msg(TextView text, int iconKind, int buttons, int defaultButton) {
  return app::Srv_Dsp_Msg(desktop_, text, iconKind, buttons, defaultButton);
}

void RunInterface::ShowNotes() {
  if (notes_.empty()) return;
  app::Srv_Dsp_Msg(desktop_, NotesMessage(std::exchange(notes_, {})), 4, 0, 0);
}

}  // namespace qp::app
