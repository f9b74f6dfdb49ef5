// The application shell: start-up, dispatch, options, failure report and
// messages.
#pragma once

#include <cstdint>

#include "app/desktop.h"
#include "generate/run_state.h"
#include "text/failure.h"

namespace qp::app {

// Exit statuses of the program.
constexpr int kExitDone = 0;     // page written, or settings window closed
constexpr int kExitRefused = 1;  // a message refused or ended the run without a page
constexpr int kExitFailure = 2;  // after the failure report

// "Mod_Main -> Main". `arguments` are the program's arguments after its name.
// Returns the exit status; the failure report does not return.
int Main(gen::RunState& run, Desktop& desktop, int argc, char** argv);
void Generate_Dispose(gen::RunState& run, Desktop& desktop);

// The failure report: shows it, quits the Word engine when it was obtained,
// and ends the process at once with kExitFailure.
[[noreturn]] void Srv_Dsp_Err(const Failure& failure, gen::RunState& run, Desktop& desktop);

// "Mod_Sub -> Srv_Dsp_Msg".
int Srv_Dsp_Msg(Desktop& desktop, TextView text, int iconKind, int buttons, int defaultButton);

// Settings file.
void Get_Opt_Inf(gen::RunState& run);
void Sav_Opt_Fil(gen::RunState& run);
Text GetINIVal(const gen::RunState& run, TextView key, TextView section);
bool SetINIVal(const gen::RunState& run, TextView value, TextView key, TextView section);

}  // namespace qp::app
