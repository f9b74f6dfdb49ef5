// Documents dropped on the open settings window: each drop is one run, as if
// the same files had been dropped on the launcher.
#pragma once

#include <string>
#include <vector>

#include "app/desktop.h"
#include "generate/run_state.h"

namespace qp::app {

// Runs the dispatch on `paths` (file names as the system spells them) in a
// run state of its own, so that every drop comes out as the first would:
// only the folders and the engine of `shell`, and `options` (what the window
// shows now, saved or not), are carried over. The refusals and messages are
// those of the launcher; an empty path (an item that is no local file) is
// refused as not a Word document. Answers the exit status the launcher would
// give.
int DisposeDroppedFiles(const gen::RunState& shell, const gen::Options& options, Desktop& desktop,
                        const std::vector<std::string>& paths);

}  // namespace qp::app
