// The texts that tell a user how the program is used: the settings window's
// usage and options (printed when there is no window to show), --help and
// --version.
#pragma once

#include <string>

#include "generate/run_state.h"
#include "text/ustring.h"

namespace qp::app {

// "1.0.4"
std::string VersionText();

// The settings window's usage texts and the six options with their current
// values, one per line (LF).
Text SettingsUsageText(const gen::RunState& run);

// What --help prints.
std::string HelpText();

}  // namespace qp::app
