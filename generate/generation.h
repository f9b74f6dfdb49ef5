// The generation run: one document on the command line becomes one page on
// the desktop.
#pragma once

#include "generate/run_state.h"

namespace qp::gen {

// "Mod_HtmlRev -> Generate_Page": obtains the engine, hides it, assembles the
// page, reports a page-creation error, opens the page when Prevw is 1.
void Generate_Page(RunState& run);
// "Mod_Sub -> Ref_Wrd_App": true when run.WordApp is set on return.
bool Ref_Wrd_App(RunState& run);
// "Mod_HtmlRev -> Dsp_FTs_Pag": opens OutputFolder + PageName + ".htm".
void Dsp_FTs_Pag(RunState& run);
// "Mod_HtmlRev -> Gen_Htm_Pag": empty on success, else the revision's text.
Text Gen_Htm_Pag(RunState& run);

// Links and pictures.
void Chg_Htm_Sta(Text& text);
Text Rev_ObjNm(const RunState& run);
void Del_Img_Fil(RunState& run, const Text& stem);

// "Mod_HtmlRev -> Cnv_Encode": rewrites the page file from Shift-JIS into
// UTF-8 with a byte-order mark, in place.
void Cnv_Encode(const Text& path);

}  // namespace qp::gen
