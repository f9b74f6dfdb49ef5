#include "ui/caption_frame.h"

#include <QFontMetrics>
#include <QPainter>

namespace qp::ui {

namespace {
constexpr int kCaptionIndent = 6;  // pixels from the frame's left edge
}  // namespace

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {
  setAccessibleName(caption.trimmed());
}

void CaptionFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const QRect border = rect().adjusted(0, metrics.height() / 2, 0, 0);
  // Etched: a dark line with a light one one pixel right and below it.
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(border.adjusted(0, 0, -2, -2));
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(border.adjusted(1, 1, -1, -1));

  const QRect text(kCaptionIndent, 0, metrics.horizontalAdvance(caption_), metrics.height());
  painter.fillRect(text, palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
}

}  // namespace qp::ui
