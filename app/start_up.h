// Start-up's pieces: the program's folders, the settings file, the
// command-line text. Main itself is declared in app/shell.h.
#pragma once

#include "app/desktop.h"
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
// double quotes, the arguments joined by single spaces. With more than one
// argument every one is quoted, so that the text always shows the closing
// quote and space that the dispatch refuses as several files.
Text CommandLineText(int argc, char** argv);

// True when some argument holds a double quote: such a path cannot travel
// in the argument text, whose quotes are removed.
bool ArgumentHasQuote(int argc, char** argv);

// The dispatch of the program's arguments (at least one): sets the argument
// text, refuses a path with a double quote, and runs Generate_Dispose.
// Answers the exit status.
int DisposeArguments(gen::RunState& run, Desktop& desktop, int argc, char** argv);

}  // namespace qp::app
