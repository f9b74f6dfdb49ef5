#include "ui/guide_window.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainterPath>
#include <QPalette>
#include <QScreen>

#include "ui/design_font.h"
#include "ui/event_trap.h"
#include "ui/product_picture.h"
#include "ui/text_fit.h"
#include "ui/twips.h"

namespace qp::ui {

namespace {

constexpr int kWidthTwips = 4080;
constexpr int kHeightTwips = 1365;
constexpr double kCornerEllipse = 15.0;

void SetColours(QWidget* widget, QColor text, QColor background) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Window, background);
  widget->setPalette(palette);
}

}  // namespace

QRegion RoundedWindowRegion(QSize size) {
  QPainterPath path;
  path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), kCornerEllipse / 2,
                      kCornerEllipse / 2);
  return QRegion(path.toFillPolygon().toPolygon());
}

Frm_Guide::Frm_Guide(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("Frm_Guide"));
  // Its design caption; no title bar ever shows it.
  setWindowTitle(QStringLiteral("Form1"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  BuildControls();
  Form_Load();
}

void Frm_Guide::BuildControls() {
  setFont(DesignFont(9.75));
  const QRect client = TwipsRect(0, 0, kWidthTwips, kHeightTwips);
  setFixedSize(client.size());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - client.center());
  }

  QLabel* picture = MakeProductPictureBox(this);
  picture->setObjectName(QStringLiteral("FPc_DesIcP"));
  picture->setGeometry(TwipsRect(3345, 210, 480, 480));

  auto* title =
      new QLabel(QCoreApplication::translate("Frm_Guide", "「Quillpage」 for Word"), this);
  title->setObjectName(QStringLiteral("FLb_GuideP"));
  title->setGeometry(TwipsRect(255, 330, 2910, 240));
  title->setFont(DesignFont(12, true));
  SetColours(title, QColor(0, 0, 192), QColor(128, 255, 255));
  title->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* notice = new QLabel(
      QCoreApplication::translate("Frm_Guide", " HTMLファイルを作成しています。 "), this);
  notice->setObjectName(QStringLiteral("Label1"));
  notice->setGeometry(TwipsRect(690, 900, 3240, 225));
  notice->setFont(DesignFont(11.25));
  SetColours(notice, QColor(255, 0, 0), QColor(255, 255, 255));
  notice->setAutoFillBackground(true);
  notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  WidenTextControlsToFit(this);
}

void Frm_Guide::Form_Load() {
  Trap trap("Frm_Guide -> Form_Load");
  try {
    trap.Step(1);
    SetColours(this, palette().color(QPalette::WindowText), QColor(128, 255, 255));
    setAutoFillBackground(true);
  } catch (...) {
    if (!pending_) pending_ = LocatedFailure(trap);
  }
}

void Frm_Guide::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void Frm_Guide::Form_Resize() {
  Trap trap("Frm_Guide -> Form_Resize");
  try {
    // Layout pixels are 15 twips each whatever the screen; Qt scales the
    // region with the window for the device pixel ratio.
    trap.Step(1);
    const QSize pixels = PixelSizeFromTwips(width() * kTwipsPerPixel, height() * kTwipsPerPixel,
                                            kTwipsPerPixel, kTwipsPerPixel);
    trap.Step(2);
    const QRegion region = RoundedWindowRegion(pixels);
    trap.Step(3);
    setMask(region);
  } catch (...) {
    if (!pending_) pending_ = LocatedFailure(trap);
  }
}

void Frm_Guide::ThrowPendingFailure() {
  if (!pending_) return;
  const Failure failure = *pending_;
  pending_.reset();
  throw failure;
}

}  // namespace qp::ui
