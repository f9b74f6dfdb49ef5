// Showing the finished page with the desktop's program for it. xdg-open is
// handed the page in a session of its own and watched only briefly: a
// failure it reports at once gets the message with its code, and a browser
// it started and waits for keeps neither the run nor the guide window.
#include <string>

#include "generate/file_patterns.h"
#include "generate/generation.h"
#include "sys/child_process.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen {

namespace {

constexpr int kNoSuchFile = 2;  // the page is missing

// xdg-open's exit status, or 0 when it is still at work after the watch (it
// has handed the page on by then).
int RunOpener(const std::string& file) {
  const sys::ChildEnd end = sys::HandOver({"xdg-open", file}, sys::kHandOverWatch);
  return end.how == sys::ChildEnd::How::Running ? 0 : end.status;
}

}  // namespace

// "Mod_HtmlRev -> Dsp_FTs_Pag"
void Dsp_FTs_Pag(RunState& run) {
  Trap trap("Mod_HtmlRev -> Dsp_FTs_Pag");
  try {
    trap.Step(2);
    const Text page = run.OutputFolder + run.PageName + u".htm";
    std::error_code ec;
    const bool exists = fs::is_regular_file(ToPath(page), ec);

    trap.Step(3);
    const int code = exists ? RunOpener(ToPath(page).string()) : kNoSuchFile;

    trap.Step(4);
    if (code != 0) {
      run.Ui->Srv_Dsp_Msg(
          u"ページの表示に失敗しました。(Code=" + T(std::to_string(code)) + u")    ", 3, 0, 0);
    }
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::gen
