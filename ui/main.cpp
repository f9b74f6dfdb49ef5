// quillpage: one Word document on the command line becomes one page on the
// desktop; without a document, the settings window. With a display the
// windows and message boxes are Qt's; without one, messages go to standard
// error and the settings are printed.
#include <memory>

#include "app/console_desktop.h"
#include "app/program.h"
#include "text/failure.h"
#include "ui/qt_desktop.h"

namespace {

// Stands in for the engine until the in-process Word engine is linked: no
// other run holds it, and it cannot be started.
class EngineNotBuilt : public qp::gen::WordEngine {
 public:
  std::unique_ptr<qp::word::Application> Attach(const qp::Text&) override {
    qp::Raise(qp::err::kCannotCreateObject);
  }
  std::unique_ptr<qp::word::Application> Create(const qp::Text&) override {
    qp::Raise(qp::err::kCannotCreateObject);
  }
};

}  // namespace

int main(int argc, char** argv) {
  EngineNotBuilt engine;
  // Qt sees only the program's name: the document path is ours to read, and
  // no file name may be taken for a Qt option. QApplication keeps these.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  return qp::app::RunProgram(argc, argv, engine, [&]() -> std::unique_ptr<qp::app::Desktop> {
    if (qp::app::HasDisplay()) return qp::ui::MakeQtDesktop(qtArgc, qtArgv);
    return std::make_unique<qp::app::ConsoleDesktop>();
  });
}
