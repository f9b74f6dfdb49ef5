// Temporary bodies so that the shell links; replaced file by file.
#include "generate/generation.h"
#include "text/failure.h"

namespace qp::gen {

void Generate_Page(RunState&) { Raise(err::kInternal); }
bool Ref_Wrd_App(RunState&) { Raise(err::kInternal); }
void Dsp_FTs_Pag(RunState&) { Raise(err::kInternal); }
Text Gen_Htm_Pag(RunState&) { Raise(err::kInternal); }
void Chg_Htm_Sta(Text&) { Raise(err::kInternal); }
Text Rev_ObjNm(const RunState&) { Raise(err::kInternal); }
void Del_Img_Fil(RunState&, const Text&) { Raise(err::kInternal); }
void Cnv_Encode(const Text&) { Raise(err::kInternal); }

}  // namespace qp::gen
