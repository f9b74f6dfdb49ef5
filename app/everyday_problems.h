// Failures of a run that are the user's everyday problems rather than faults
// of the program: a document that is missing, unreadable, not a Word
// document or protected by a password, a .doc without LibreOffice or one
// that LibreOffice could not convert in time, a desktop folder that cannot be
// written. Each gets one message that names the document or folder, the
// cause and what to do; the failure report stays for everything else.
#pragma once

#include <optional>

#include "generate/run_state.h"
#include "text/failure.h"

namespace qp::app {

// The message for `failure` of the generation run, or nothing when it is
// not an everyday problem.
std::optional<Text> EverydayProblemMessage(const Failure& failure, const gen::RunState& run);

}  // namespace qp::app
