// The Qt message box as the shell's messages and the failure report use it:
// what the user sees, and which code comes back for the button pressed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/qt_message_box.h"

namespace qp::ui {
namespace {

// Runs `act` on the box once it is up, the way a user would answer it.
void WhenTheBoxShows(std::function<void(QMessageBox&)> act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(top);
      if (box == nullptr || !box->isVisible()) continue;
      poll->stop();
      poll->deleteLater();
      act(*box);
      return;
    }
  });
  poll->start(10);
}

TEST(QtMessageBox, AQuestionWithNoAsDefaultAnswersNoOnEnter) {
  WhenTheBoxShows([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), QStringLiteral("「Quillpage」 for Word"));
    EXPECT_EQ(box.icon(), QMessageBox::Question);
    EXPECT_EQ(box.buttons().size(), 2);
    EXPECT_EQ(box.standardButton(box.defaultButton()), QMessageBox::No);
    // "A||B" from the shell: three lines, the middle one empty.
    EXPECT_EQ(box.text(), QStringLiteral("A\n\nB"));
    QTest::keyClick(&box, Qt::Key_Return);
  });
  EXPECT_EQ(RunMessageBox(u"A\r\n\r\nB", 32 + 4 + 256, u"「Quillpage」 for Word"), 7);
}

TEST(QtMessageBox, TheFailureReportKeepsItsLinesWholeAndEscapeIsOk) {
  const char16_t* report =
      u"次の障害が発生しましたので処理を中断しました。    \r\n"
      u"この障害が続けて発生する場合はお手数ですがこの内容を開発元にご連絡願います。    \r\n"
      u"\r\n  （障害情報）\r\n     場所 ： Mod_Main -> Main Line=12\r\n     内容 ： Code=13\r\n";
  WhenTheBoxShows([](QMessageBox& box) {
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    EXPECT_EQ(box.buttons().size(), 1);
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    // The longest line is one line of the label, not two.
    const QFontMetrics metrics(label->font());
    EXPECT_GE(
        label->width(),
        metrics.horizontalAdvance(QStringLiteral(
            "この障害が続けて発生する場合はお手数ですがこの内容を開発元にご連絡願います。    ")));
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  EXPECT_EQ(RunMessageBox(report, 16, u"Quillpage"), 1);
}

TEST(QtMessageBox, EachButtonAnswersWithItsOwnCode) {
  struct Press {
    int style;
    QMessageBox::StandardButton press;
    int code;
  };
  for (const Press& p : {Press{5, QMessageBox::Retry, 4}, Press{5, QMessageBox::Cancel, 2},
                         Press{2, QMessageBox::Abort, 3}, Press{2, QMessageBox::Ignore, 5},
                         Press{3, QMessageBox::Yes, 6}, Press{1, QMessageBox::Cancel, 2},
                         Press{48, QMessageBox::Ok, 1}}) {
    WhenTheBoxShows([&p](QMessageBox& box) {
      QAbstractButton* button = box.button(p.press);
      ASSERT_NE(button, nullptr) << p.style;
      QTest::mouseClick(button, Qt::LeftButton);
    });
    EXPECT_EQ(RunMessageBox(u"?", p.style, u"t"), p.code) << p.style;
  }
}

}  // namespace
}  // namespace qp::ui
