// Event handlers of the windows arm a trap like every procedure, but nothing
// may be thrown through Qt's event loop: the failure is caught at the
// handler's edge, located by its trap, and then either reported at once or
// kept for the caller to throw once control is back outside Qt.
#pragma once

#include "text/failure.h"

namespace qp::ui {

// Call only inside a catch block: the failure being handled, located by
// `trap` unless an inner trap located it already.
Failure LocatedFailure(const Trap& trap);

}  // namespace qp::ui
