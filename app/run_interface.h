// The generation run's view of the desktop: its messages go through the
// message service, its notes are kept for one message at the end. Installed
// in RunState::Ui for as long as it lives, unless the run already has an
// interface of its own (tests).
#pragma once

#include <vector>

#include "app/desktop.h"
#include "generate/run_state.h"

namespace qp::app {

class RunInterface : public gen::UserInterface {
 public:
  RunInterface(gen::RunState& run, Desktop& desktop);
  ~RunInterface() override;
  RunInterface(const RunInterface&) = delete;
  RunInterface& operator=(const RunInterface&) = delete;

  int Srv_Dsp_Msg(TextView text, int iconKind, int buttons, int defaultButton) override;
  void LetMessagesRun() override { desktop_.LetMessagesRun(); }
  void SetWaitCursor(bool wait) override { desktop_.SetWaitCursor(wait); }
  void Note(TextView note) override { notes_.emplace_back(note); }

  // Shows the notes kept so far in one message (none when there are none)
  // and forgets them.
  void ShowNotes();

 private:
  gen::RunState& run_;
  Desktop& desktop_;
  bool installed_ = false;
  std::vector<Text> notes_;
};

}  // namespace qp::app
