#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {

void Del_Lines(RevisionState&) { qp::Raise(qp::err::kInternal, u"not built yet"); }
void Rev_BrTag(RevisionState&) { qp::Raise(qp::err::kInternal, u"not built yet"); }

}  // namespace qp::revise
