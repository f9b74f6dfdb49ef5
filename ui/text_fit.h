// The layout was measured with the design font. The substitute is close but
// not identical, so a caption may need a few pixels more than its control
// was given; rather than cut the caption short, the control grows to the
// right, never past its parent's edge.
#pragma once

#include <QWidget>

namespace qp::ui {

// Widens every text label, check box and option button below `top` whose
// caption does not fit.
void WidenTextControlsToFit(QWidget* top);

}  // namespace qp::ui
