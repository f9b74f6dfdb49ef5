// quillpage: one Word document on the command line becomes one page on the
// desktop; without a document, the settings. With a display that answers,
// the desktop program (the same run, with Qt's windows and message boxes)
// takes over this process; without one, messages go to standard error and
// the settings are printed. This program itself never loads the toolkit.
#include <memory>

#include "app/console_desktop.h"
#include "app/display.h"
#include "app/program.h"
#include "app/word_engine.h"

int main(int argc, char** argv) {
  if (const int status = qp::app::RunInformationOption(argc, argv); status >= 0) return status;
  if (qp::app::HasDisplay()) qp::app::StartDesktopProgram(argv);
  qp::app::ProcessWordEngine engine;
  return qp::app::RunProgram(argc, argv, engine,
                             [] { return std::make_unique<qp::app::ConsoleDesktop>(); });
}
