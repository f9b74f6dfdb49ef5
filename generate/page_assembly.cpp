// Page assembly: one document through Word's export and the revision into
// the finished page and its pictures on the desktop.
#include "generate/assembly_steps.h"
#include "generate/file_patterns.h"
#include "generate/folders.h"
#include "generate/generation.h"
#include "revise/passes.h"
#include "text/codec.h"
#include "text/failure.h"
#include "text/link_target.h"

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

// The run deletes and writes inside the work folder and the Image folder by
// name. Either one as a symbolic link would lead those deletes and writes
// into the folder it points at, so a linked one is refused before anything
// is touched (the desktop itself may be a link: the user chose where it is).
bool IsSymbolicLink(const Text& folder) {
  std::error_code ec;
  return fs::is_symlink(fs::symlink_status(ToPath(Left(folder, Len(folder) - 1)), ec));
}

Text LinkedFolderReason(const Text& folder) {
  return u"フォルダ「" + Left(folder, Len(folder) - 1) +
         u"」がシンボリックリンクのため、ページを作成しません。"
         u"リンクを削除してから実行してください。";
}

// A link that would run script, embed data or reach the reader's own files
// (javascript:, data:, file:, ...) never reaches a published page: its text
// stays, unlinked, and a note names it.
void DropUnsafeLinksOf(RunState& run, Text& page) {
  constexpr std::size_t kShown = 80;
  for (Text target : DropUnsafeLinks(page)) {
    if (target.size() > kShown) target = target.substr(0, kShown) + u"...";
    if (run.Ui != nullptr) {
      run.Ui->Note(u"link to \"" + target +
                   u"\" left out (a page links only to http, https, mailto and ftp addresses "
                   u"and within the site)");
    }
  }
}

}  // namespace

// "Mod_HtmlRev -> Gen_Htm_Pag"
Text Gen_Htm_Pag(RunState& run) {
  Trap trap("Mod_HtmlRev -> Gen_Htm_Pag");
  try {
    trap.Step(1);
    run.WorkFolder = run.SettingsFolder + u"/Wrk/";
    if (IsSymbolicLink(run.WorkFolder)) return LinkedFolderReason(run.WorkFolder);
    if (!Srv_Chk_Foldr(Left(run.WorkFolder, Len(run.WorkFolder) - 1))) {
      CreateFolder(ToPath(run.WorkFolder));
    }
    trap.Step(2);
    run.OutputFolder = Get_Spe_Fdr(kFolderDesktop) + u"/";
    if (!Srv_Chk_Foldr(Left(run.OutputFolder, Len(run.OutputFolder) - 1))) {
      CreateFolder(ToPath(run.OutputFolder));
    }
    trap.Step(3);
    if (IsSymbolicLink(run.OutputFolder + u"Image/")) {
      return LinkedFolderReason(run.OutputFolder + u"Image/");
    }
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
      DropUnsafeLinksOf(run, page);  // last: the rewriting above must not make a link unsafe
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
