#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {

void Del_Xml_State(RevisionState&) { qp::Raise(qp::err::kInternal, u"not built yet"); }
void Del_Std_Property(RevisionState&, TextView) { qp::Raise(qp::err::kInternal, u"not built yet"); }

}  // namespace qp::revise
