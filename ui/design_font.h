// The windows are laid out for "ＭＳ Ｐゴシック", which Linux desktops do not
// have; IPAPGothic has the same proportional metrics, so the layout in twips
// still fits when Qt is told to use it in that font's place.
#pragma once

#include <QFont>

namespace qp::ui {

// Registers the substitution with Qt; may be called more than once.
void SubstituteDesignFonts();

// The design font at `points` (points at 96 dpi, as the layout counts them).
QFont DesignFont(double points, bool bold = false);

}  // namespace qp::ui
