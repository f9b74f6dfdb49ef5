#include "ui/design_font.h"

#include <QStringList>

namespace qp::ui {

namespace {
QString DesignFamily() {
  return QStringLiteral("ＭＳ Ｐゴシック");
}
}  // namespace

void SubstituteDesignFonts() {
  const QStringList present = QFont::substitutes(DesignFamily());
  if (present.contains(QStringLiteral("IPAPGothic"))) return;
  // Preferred first; the fixed-pitch IPAGothic is wider but still Japanese.
  QFont::insertSubstitutions(DesignFamily(),
                             {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                              QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
}

QFont DesignFont(double points, bool bold) {
  QFont font(DesignFamily());
  font.setPointSizeF(points);
  font.setBold(bold);
  // Without the family installed, any gothic beats a serif fallback.
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace qp::ui
