#include "ui/qt_desktop.h"

#include <algorithm>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <QWindow>

#include "ui/design_font.h"
#include "ui/guide_window.h"
#include "ui/message_box.h"
#include "ui/product_picture.h"
#include "ui/qt_text.h"
#include "ui/settings_window.h"

namespace qp::ui {

namespace {

QMessageBox::Icon QtIcon(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Stop:
      return QMessageBox::Critical;
    case BoxIcon::Question:
      return QMessageBox::Question;
    case BoxIcon::Warning:
      return QMessageBox::Warning;
    case BoxIcon::Information:
      return QMessageBox::Information;
    case BoxIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton QtButton(int code) {
  switch (code) {
    case button::kCancel:
      return QMessageBox::Cancel;
    case button::kAbort:
      return QMessageBox::Abort;
    case button::kRetry:
      return QMessageBox::Retry;
    case button::kIgnore:
      return QMessageBox::Ignore;
    case button::kYes:
      return QMessageBox::Yes;
    case button::kNo:
      return QMessageBox::No;
    default:
      return QMessageBox::Ok;
  }
}

// The shell lays its messages out in lines (the failure report is a small
// table); Qt would wrap them at a narrow width. Lines stay whole unless the
// longest would not fit on the screen.
void KeepLinesWhole(QMessageBox& box, const QString& body) {
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (label == nullptr || screen == nullptr) return;
  const QFontMetrics metrics(label->font());
  int widest = 0;
  for (const QString& line : body.split(QLatin1Char('\n'))) {
    widest = std::max(widest, metrics.horizontalAdvance(line));
  }
  // QMessageBox turns wrapping on past a width of its own choosing; a label
  // as wide as the widest line keeps the lines whole all the same.
  if (widest < screen->availableGeometry().width() * 3 / 4) label->setMinimumWidth(widest + 2);
}

class QtDesktop final : public app::Desktop {
 public:
  QtDesktop(int& argc, char** argv) : app_(argc, argv) {
    QApplication::setApplicationName(QStringLiteral("quillpage"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillpage"));
    // The windows decide themselves when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProductIcon());
    SubstituteDesignFonts();
  }

  ~QtDesktop() override {
    guide_.reset();
    if (waitCursor_) QApplication::restoreOverrideCursor();
  }

  int MessageBox(TextView text, int style, TextView caption) override {
    const BoxLayout layout = DecodeMessageBoxStyle(style);
    QString body = ToQString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QtIcon(layout.icon), ToQString(caption), body);
    box.setTextFormat(Qt::PlainText);
    KeepLinesWhole(box, body);
    QList<QPushButton*> pushButtons;
    for (int code : layout.buttons) pushButtons.append(box.addButton(QtButton(code)));
    box.setDefaultButton(pushButtons.at(layout.defaultIndex));
    QPushButton* escape = nullptr;
    for (qsizetype i = 0; i < pushButtons.size(); ++i) {
      if (layout.buttons[static_cast<std::size_t>(i)] == layout.escapeCode) escape = pushButtons[i];
    }
    if (escape != nullptr) box.setEscapeButton(escape);
    // The failure report can come while the run shows the hourglass; the box
    // itself takes clicks, so it gets the arrow.
    if (waitCursor_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waitCursor_) QApplication::restoreOverrideCursor();
    for (qsizetype i = 0; i < pushButtons.size(); ++i) {
      if (box.clickedButton() == pushButtons[i]) return layout.buttons[static_cast<std::size_t>(i)];
    }
    return layout.escapeCode != 0 ? layout.escapeCode : layout.buttons.front();
  }

  void RunSettingsWindow(gen::RunState& run) override {
    Frm_RefWd window(run, *this);
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
  std::unique_ptr<Frm_Guide> guide_;
  bool waitCursor_ = false;
};

}  // namespace

std::unique_ptr<app::Desktop> MakeQtDesktop(int& argc, char** argv) {
  return std::make_unique<QtDesktop>(argc, argv);
}

}  // namespace qp::ui
