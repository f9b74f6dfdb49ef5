// The stretches of page assembly that Gen_Htm_Pag runs in order, each in its
// own file. Internal to generate/.
#pragma once

#include "generate/run_state.h"
#include "text/failure.h"

namespace qp::gen {

// Opens the document, exports it as Word HTML to WorkFolder + docStem +
// ".htm" under the fixed web options (the document's own options and Normal
// font put back afterwards), fills run.PageInfo and closes the document.
// Numbers its steps on the caller's trap.
void ExportDocument(RunState& run, const Text& docStem, Trap& trap);

// Moves the pictures the page references from the export into the desktop
// Image folder as PageName-001.ext, PageName-002.ext, ... and points the page
// at their new names. Returns the number of pictures moved.
int MovePictures(RunState& run, Text& page, const Text& docStem);

// Writes the page text in code page 932 followed by one CR LF, replacing the
// file at `path` in one step.
void WritePage(const Text& path, const Text& page);

}  // namespace qp::gen
