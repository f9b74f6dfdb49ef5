#include "ui/qt_desktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QString>
#include <QTranslator>
#include <QWindow>
#include <clocale>

#include "app/catalogue.h"
#include "ui/design_font.h"
#include "ui/guide_window.h"
#include "ui/page_notice.h"
#include "ui/product_picture.h"
#include "ui/qt_message_box.h"
#include "ui/qt_text.h"
#include "ui/settings_window.h"
#include "ui/single_window.h"
#include "ui/window_catalogue.h"

namespace qp::ui {

namespace {

class QtDesktop final : public app::Desktop {
 public:
  QtDesktop(int& argc, char** argv) : app_(argc, argv) {
    // QApplication has put the process in the user's locale; numbers read
    // and written by the C library (here and in the libraries the engine
    // uses) keep the point of the pages' CSS.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("quillpage"));
    // No display name: the window systems' platform code appends it to every
    // title that does not end with it (" — Quillpage"), and the captions are
    // the design's. The launcher's name ties the windows to its icon on
    // Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("quillpage"));
    // The windows decide themselves when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProductIcon());
    SubstituteDesignFonts();
    // The windows are written in Japanese; every other reader gets them in
    // English. Before any window is made.
    if (!app::UserReadsJapanese()) {
      const std::string_view qm = EnglishWindowCatalogue();
      if (translator_.load(reinterpret_cast<const uchar*>(qm.data()),
                           static_cast<int>(qm.size()))) {
        QCoreApplication::installTranslator(&translator_);
      }
    }
  }

  ~QtDesktop() override {
    guide_.reset();
    if (waitCursor_) QApplication::restoreOverrideCursor();
  }

  Text Translate(TextView text) const override { return catalogue_.Translate(text); }

  int MessageBox(TextView text, int style, TextView caption) override {
    // The failure report can come while the run shows the hourglass; the box
    // itself takes clicks, so it gets the arrow.
    if (waitCursor_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = RunMessageBox(text, style, caption);
    if (waitCursor_) QApplication::restoreOverrideCursor();
    return answer;
  }

  void RunSettingsWindow(gen::RunState& run) override {
    // A second start brings the open window to the front and ends.
    SingleWindow single;
    if (!single.Claim(run.SettingsFolder)) return;
    Frm_RefWd window(run, *this);
    QObject::connect(&single, &SingleWindow::RaiseRequested, &window, [&window] {
      window.showNormal();
      window.raise();
      window.activateWindow();
    });
    QEventLoop loop;
    QObject::connect(&window, &Frm_RefWd::Unloaded, &loop, &QEventLoop::quit);
    window.show();
    loop.exec();
  }

  void ShowGuideWindow() override {
    guide_ = std::make_unique<Frm_Guide>();
    guide_->show();
    // The run that follows keeps the event loop waiting until its own
    // points; give the window system a moment to map the window so that it
    // is on the screen, painted, before then. Never longer than that moment.
    QElapsedTimer waited;
    waited.start();
    do {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    } while (!guide_->windowHandle()->isExposed() && waited.elapsed() < 300);
    guide_->repaint();
    guide_->ThrowPendingFailure();
  }

  void UnloadGuideWindow() override {
    if (!guide_) return;
    guide_->close();
    std::unique_ptr<Frm_Guide> closing = std::move(guide_);
    closing->ThrowPendingFailure();
  }

  void LetMessagesRun() override {
    QCoreApplication::processEvents();
    if (guide_) guide_->ThrowPendingFailure();
  }

  bool AnnouncePage(TextView pagePath) override {
    return NotifyPageWritten(QDBusConnection::sessionBus(), ToQString(pagePath));
  }

  void SetWaitCursor(bool wait) override {
    if (wait == waitCursor_) return;
    if (wait) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
    waitCursor_ = wait;
  }

 private:
  QApplication app_;
  app::Catalogue catalogue_ = app::UserCatalogue();
  QTranslator translator_;
  std::unique_ptr<Frm_Guide> guide_;
  bool waitCursor_ = false;
};

}  // namespace

std::unique_ptr<app::Desktop> MakeQtDesktop(int& argc, char** argv) {
  return std::make_unique<QtDesktop>(argc, argv);
}

}  // namespace qp::ui
