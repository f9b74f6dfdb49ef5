// The desktop program: the quillpage command hands its run to this program
// when a display answers, so that only runs with windows load Qt. Started by
// hand without a display, it runs as the command does.
#include <memory>

#include "app/console_desktop.h"
#include "app/display.h"
#include "app/program.h"
#include "app/word_engine.h"
#include "ui/qt_desktop.h"

int main(int argc, char** argv) {
  qp::app::ProcessWordEngine engine;
  // Qt sees only the program's name: the document path is ours to read, and
  // no file name may be taken for a Qt option. QApplication keeps these.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  return qp::app::RunProgram(argc, argv, engine, [&]() -> std::unique_ptr<qp::app::Desktop> {
    if (qp::app::HasDisplay()) return qp::ui::MakeQtDesktop(qtArgc, qtArgv);
    return std::make_unique<qp::app::ConsoleDesktop>();
  });
}
