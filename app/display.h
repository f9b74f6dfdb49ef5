// Whether windows can be shown, and the separate program that shows them.
// The command itself never links the window toolkit: a run without a display
// loads only what the conversion needs, and a run with one hands itself over
// to the desktop program.
#pragma once

namespace qp::app {

// True when a display server answers at DISPLAY or WAYLAND_DISPLAY. A
// variable that names no running server (a stale DISPLAY after logging out,
// an ssh session without forwarding) counts as no display, so the run goes
// on with messages on standard error instead of the toolkit aborting it.
bool HasDisplay();

// Replaces this process with the desktop program, with the same arguments
// and the environment every child program gets.
// Returns only when that program could not be started, after saying why on
// standard error.
void StartDesktopProgram(char** argv);

}  // namespace qp::app
