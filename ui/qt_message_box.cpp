#include "ui/qt_message_box.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "ui/message_box.h"
#include "ui/qt_text.h"

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

}  // namespace

int RunMessageBox(TextView text, int style, TextView caption) {
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
  box.exec();
  for (qsizetype i = 0; i < pushButtons.size(); ++i) {
    if (box.clickedButton() == pushButtons[i]) return layout.buttons[static_cast<std::size_t>(i)];
  }
  return layout.escapeCode != 0 ? layout.escapeCode : layout.buttons.front();
}

}  // namespace qp::ui
