// The generation run: the Word engine is reached, the page is assembled, a
// refusal of the revision is reported, and the page is shown when wanted.
#include "generate/generation.h"
#include "text/failure.h"

namespace qp::gen {

namespace {

Text PageErrorMessage(const Text& reason) {
  return u"ページ（htmlファイル）の作成処理中に次のエラーが発生しました。    \r\n"
         u"このエラーが続けて発生する場合はお手数ですがこの内容を開発元にご連絡願います。    "
         u"\r\n\r\n    エラー内容：" +
         reason + u"    ";
}

Text WordStartMessage(std::int32_t error) {
  return u"Wordを起動できません。(" + T(std::to_string(error)) +
         u")||   このソフトウェアの実行には、Microsoft Word "
         u"2000､2002､2003､2007のいずれかが必要です。    ";
}

}  // namespace

// "Mod_HtmlRev -> Generate_Page"
void Generate_Page(RunState& run) {
  Trap trap("Mod_HtmlRev -> Generate_Page");
  try {
    trap.Step(2);
    const bool ok = Ref_Wrd_App(run);
    if (ok) {
      trap.Step(3);
      run.Ui->SetWaitCursor(true);
      run.WordApp->SetVisible(false);
      run.WordApp->SetScreenUpdating(false);
      const Text reason = Gen_Htm_Pag(run);
      for (const Text& note : run.WordApp->TakeNotes()) run.Ui->Note(note);
      if (!reason.empty()) run.Ui->Srv_Dsp_Msg(PageErrorMessage(reason), 4, 0, 0);
    }
    trap.Step(4);
    run.Ui->LetMessagesRun();
    // The page is shown after a refusal too; Dsp_FTs_Pag then reports that
    // there is no page (code 2).
    trap.Step(5);
    if (ok && run.Opt.Prevw == 1) Dsp_FTs_Pag(run);
    trap.Step(6);
    run.Ui->LetMessagesRun();
    trap.Step(7);
    run.Ui->SetWaitCursor(false);
  } catch (...) {
    trap.Fail();
  }
}

// "Mod_Sub -> Ref_Wrd_App"
bool Ref_Wrd_App(RunState& run) {
  Trap trap("Mod_Sub -> Ref_Wrd_App");
  try {
    trap.Step(2);
    if (run.WordApp) return true;

    trap.Step(3);
    run.WordStartError =
        IgnoreFailures([&] { run.WordApp = run.Engine->Attach(run.SettingsFolder); });
    // An engine that answers with nothing counts as none reachable.
    if (run.WordStartError == 0 && !run.WordApp) run.WordStartError = err::kCannotCreateObject;

    trap.Step(4);
    if (run.WordStartError == err::kCannotCreateObject ||
        run.WordStartError == err::kServerUnavailable) {
      run.WordStartError = 0;
      run.WordStartError =
          IgnoreFailures([&] { run.WordApp = run.Engine->Create(run.SettingsFolder); });
      if (run.WordStartError == 0 && !run.WordApp) run.WordStartError = err::kCannotCreateObject;
      if (run.WordStartError != 0) {
        run.WordApp.reset();
        run.Ui->Srv_Dsp_Msg(WordStartMessage(run.WordStartError), 3, 0, 0);
      }
    }
    trap.Step(6);
    return run.WordApp != nullptr;
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::gen
