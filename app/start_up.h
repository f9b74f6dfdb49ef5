// Start-up's pieces: the program's folders, the settings file, the
// command-line text. Main itself is declared in app/shell.h.
#pragma once

#include "generate/run_state.h"
#include "text/ustring.h"

namespace qp::app {

inline constexpr char16_t kDevelopmentMarker[] = u"Ridgeworks";
inline constexpr char16_t kSettingsSubfolder[] = u"/Vexor/Quillpg_Word";

// The folder of the quillpage command: the running executable's folder
// (/proc/self/exe), or for the desktop program the command's folder.
Text ProcessProgramFolder();

// The program folder itself when it contains "Ridgeworks" (a development
// tree keeps its own settings), else `configHome` + "/Vexor/Quillpg_Word".
Text SettingsFolderFor(TextView programFolder, TextView configHome);

// Makes sure `folder` + "/Control.ini" exists: the folder is created with its
// parents when `mayCreateFolder`, the file empty when missing; an existing
// file is left untouched. False when either cannot be created.
bool PrepareSettingsFile(TextView folder, bool mayCreateFolder);

// The one argument text the dispatch checks, rebuilt from the arguments the
// system has already split: an argument with a space (or an empty one) in
// double quotes, the arguments joined by single spaces.
Text CommandLineText(int argc, char** argv);

// True when some argument holds a double quote: such a path cannot travel
// in the argument text, whose quotes are removed.
bool ArgumentHasQuote(int argc, char** argv);

}  // namespace qp::app
