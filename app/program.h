// The whole program between a thin main and the shell: the information
// options, the run state, Main, and the failure report for whatever escapes.
#pragma once

#include <functional>
#include <memory>

#include "app/desktop.h"
#include "generate/run_state.h"

namespace qp::app {

// --help (or -h) or --version as the only argument: prints it and answers 0;
// otherwise answers -1 and prints nothing.
int RunInformationOption(int argc, char** argv);

// Runs the program with the desktop `makeDesktop` builds (not called for
// --help and --version) and the Word engine `engine`. Answers the exit
// status; a failure ends the process through the failure report.
int RunProgram(int argc, char** argv, gen::WordEngine& engine,
               const std::function<std::unique_ptr<Desktop>()>& makeDesktop);

}  // namespace qp::app
