#include "ui/text_fit.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <algorithm>

namespace qp::ui {

namespace {

// Room kept free at the parent's right edge, for a frame's border.
constexpr int kEdge = 3;

int NeededWidth(const QWidget* control) {
  if (const auto* label = qobject_cast<const QLabel*>(control)) {
    if (label->text().isEmpty()) return 0;  // a picture box
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : label->text().split(QLatin1Char('\n'))) {
      widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest + 2 * label->margin() + std::max(0, label->indent()) + 2 * label->frameWidth();
  }
  if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control)) {
    return control->sizeHint().width();
  }
  return 0;
}

}  // namespace

void WidenTextControlsToFit(QWidget* top) {
  for (QWidget* control : top->findChildren<QWidget*>()) {
    const QWidget* parent = control->parentWidget();
    const int needed = NeededWidth(control);
    if (parent == nullptr || needed <= control->width()) continue;
    const int room = parent->width() - control->x() - kEdge;
    control->resize(std::max(control->width(), std::min(needed, room)), control->height());
  }
}

}  // namespace qp::ui
