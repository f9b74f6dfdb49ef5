#include "app/failure_report.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/messages.h"
#include "app/quietly.h"
#include "app/shell.h"

namespace qp::app {

void Srv_Dsp_Err(const Failure& failure, gen::RunState& run, Desktop& desktop) {
  // The report itself ignores every failure: whatever happens, it is shown
  // as far as it can be, Word is let go and the process ends.
  Text report;
  Quietly([&] { report = desktop.Translate(FailureReportText(failure)); });
  Quietly([&] { desktop.SetWaitCursor(false); });
  // The engine's notes can say why (a converter that is not installed).
  if (run.WordApp) {
    Quietly([&] {
      const std::vector<Text> notes = run.WordApp->TakeNotes();
      if (notes.empty()) return;
      desktop.MessageBox(desktop.Translate(Replace(NotesMessage(notes), u"|", u"\r\n")),
                         kStyleInformationOk, desktop.Translate(kMessageCaption));
    });
  }
  Quietly([&] { desktop.MessageBox(report, kStyleStopOk, kReportCaption); });
  if (run.WordApp) {
    Quietly([&] { run.WordApp->Quit(); });
    Quietly([&] { run.WordApp.reset(); });
  }
  // Ends at once: no window closes normally, so the settings window does not
  // save its options.
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(kExitFailure);
}

}  // namespace qp::app
