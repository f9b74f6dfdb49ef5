// Page assembly: one document through Word's export and the revision into
// the finished page and its pictures on the desktop.
#include "generate/assembly_steps.h"
#include "generate/file_patterns.h"
#include "generate/folders.h"
#include "generate/generation.h"
#include "revise/passes.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen {

namespace {

Text ReadExport(const Text& path) {
  return Cp932ToText(ReadWholeFile(ToPath(path)));
}

// Empties the work folder: what the export left is never kept.
void CleanWorkFolder(const RunState& run, Trap& trap) {
  const fs::path work = ToPath(run.WorkFolder);
  trap.Step(27);
  IgnoreFailures([&] { DeleteFiles(work, {{}, u"*.*"}); });
  trap.Step(28);
  IgnoreFailures([&] { DeleteFolders(work, {{}, u"*.*"}); });
}

}  // namespace

// "Mod_HtmlRev -> Gen_Htm_Pag"
Text Gen_Htm_Pag(RunState& run) {
  Trap trap("Mod_HtmlRev -> Gen_Htm_Pag");
  try {
    trap.Step(1);
    run.WorkFolder = run.SettingsFolder + u"/Wrk/";
    if (!Srv_Chk_Foldr(Left(run.WorkFolder, Len(run.WorkFolder) - 1))) {
      CreateFolder(ToPath(run.WorkFolder));
    }
    trap.Step(2);
    run.OutputFolder = Get_Spe_Fdr(kFolderDesktop) + u"/";
    if (!Srv_Chk_Foldr(Left(run.OutputFolder, Len(run.OutputFolder) - 1))) {
      CreateFolder(ToPath(run.OutputFolder));
    }
    trap.Step(3);
    if (!Srv_Chk_Foldr(run.OutputFolder + u"Image"))
      CreateFolder(ToPath(run.OutputFolder + u"Image"));

    // The earlier page and pictures are cleared under the name the new ones
    // get (PageName), so that a second run on "report.old.docx" replaces the
    // first run's report.htm and report-001.png instead of colliding with them.
    const Text docStem = Rev_ObjNm(run);
    const fs::path work = ToPath(run.WorkFolder);
    trap.Step(4);
    IgnoreFailures([&] {
      DeleteFilesExceptDocuments(ToPath(run.OutputFolder), {run.PageName + u".htm", u"*"});
    });
    trap.Step(5);
    IgnoreFailures([&] { Del_Img_Fil(run, run.PageName); });
    trap.Step(6);
    IgnoreFailures([&] { DeleteFiles(work, {{}, u"*.htm"}); });
    trap.Step(7);
    IgnoreFailures([&] { DeleteFiles(work, {{}, u"*.html"}); });
    trap.Step(8);
    IgnoreFailures([&] { DeleteFolders(work, {docStem, u"*.files"}); });

    ExportDocument(run, docStem, trap);  // steps 9-17

    trap.Step(18);
    Text page = ReadExport(run.WorkFolder + docStem + u".htm");

    trap.Step(19);
    Text result = revise::Rev_Html_State(page, run.PageInfo,
                                         revise::RevisionContext{run.Opt.Encod, run.Opt.AddSS});
    if (result.empty()) {
      trap.Step(20);
      Chg_Htm_Sta(page);
      trap.Step(21);
      MovePictures(run, page, docStem);  // steps 21-23

      const Text pagePath = run.OutputFolder + run.PageName + u".htm";
      trap.Step(24);
      WritePage(pagePath, page);
      trap.Step(25);
      if (run.Opt.Encod == 1) Cnv_Encode(pagePath);
    }

    CleanWorkFolder(run, trap);  // steps 27-28, after a revision's refusal too
    return result;
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::gen
