#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {

void Rev_Unit(RevisionState&) {
  qp::Raise(qp::err::kInternal, u"not built yet");
}

}  // namespace qp::revise
