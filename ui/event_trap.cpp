#include "ui/event_trap.h"

namespace qp::ui {

Failure LocatedFailure(const Trap& trap) {
  try {
    trap.Fail();
  } catch (const Failure& failure) {
    return failure;
  }
}

}  // namespace qp::ui
