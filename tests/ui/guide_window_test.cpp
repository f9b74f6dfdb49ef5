// Frm_Guide: its rounded region at the screens the design knows, and the
// window itself on the offscreen platform.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include "text/failure.h"
#include "ui/guide_window.h"
#include "ui/twips.h"

namespace qp::ui {
namespace {

TEST(GuideRegionSize, FollowsTheScreensTwipsPerPixel) {
  // 4080 x 1365 twips: 96 dpi is 15 twips a pixel, 120 dpi 12.
  EXPECT_EQ(PixelSizeFromTwips(4080, 1365, 15, 15), QSize(272, 91));
  EXPECT_EQ(PixelSizeFromTwips(4080, 1365, 12, 12), QSize(340, 114));  // 113.75 up
  // 144 dpi: 10 twips a pixel makes 136.5, which goes to the even 136.
  EXPECT_EQ(PixelSizeFromTwips(4080, 1365, 10, 10), QSize(408, 136));
  EXPECT_EQ(PixelsFromTwips(1375, 10), 138);  // 137.5 goes to the even 138
  EXPECT_EQ(PixelsFromTwips(22.5, 15), 2);    // 1.5 up to 2
  EXPECT_EQ(PixelsFromTwips(7.5, 15), 0);     // 0.5 down to 0
}

TEST(GuideRegionSize, AFaultyScreenMeasureRaisesInsteadOfGuessing) {
  auto code = [](double twips, double perPixel) {
    try {
      PixelsFromTwips(twips, perPixel);
    } catch (const RuntimeError& e) {
      return e.code();
    }
    return 0;
  };
  EXPECT_EQ(code(4080, 0), err::kDivisionByZero);
  EXPECT_EQ(code(4080, 1e-300), err::kOverflow);
  EXPECT_EQ(code(1e300, 1), err::kOverflow);
}

TEST(GuideRegion, CutsFifteenPixelCornersAndKeepsTheEdges) {
  const QRegion region = RoundedWindowRegion(QSize(272, 91));
  EXPECT_EQ(region.boundingRect(), QRect(0, 0, 272, 91));
  for (QPoint corner : {QPoint(0, 0), QPoint(271, 0), QPoint(0, 90), QPoint(271, 90), QPoint(1, 1),
                        QPoint(270, 89)}) {
    EXPECT_FALSE(region.contains(corner)) << corner.x() << "," << corner.y();
  }
  for (QPoint inside : {QPoint(136, 0), QPoint(136, 90), QPoint(0, 45), QPoint(271, 45),
                        QPoint(7, 7), QPoint(264, 83)}) {
    EXPECT_TRUE(region.contains(inside)) << inside.x() << "," << inside.y();
  }
}

TEST(GuideWindow, IsABorderlessRoundedNoticeInTheMiddleOfTheScreen) {
  Frm_Guide guide;
  guide.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&guide));
  EXPECT_NO_THROW(guide.ThrowPendingFailure());

  EXPECT_TRUE(guide.windowFlags() & Qt::FramelessWindowHint);
  // A tool window stays out of the taskbar.
  EXPECT_EQ(guide.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_EQ(guide.size(), QSize(272, 91));
  EXPECT_EQ(guide.mask().boundingRect(), QRect(0, 0, 272, 91));
  EXPECT_FALSE(guide.mask().contains(QPoint(0, 0)));
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE((guide.frameGeometry().center() - screen.center()).manhattanLength(), 2);
  EXPECT_EQ(guide.palette().color(QPalette::Window), QColor(128, 255, 255));

  auto* notice = guide.findChild<QLabel*>(QStringLiteral("Label1"));
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->text(), QStringLiteral(" HTMLファイルを作成しています。 "));
  EXPECT_EQ(notice->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(notice->palette().color(QPalette::Window), QColor(255, 255, 255));
}

}  // namespace
}  // namespace qp::ui
