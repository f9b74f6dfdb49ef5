// The walks Del_Xml_State is made of. Each marks (overwrites with NUL) what
// it deletes and leaves the removal of the marks to the caller.
#pragma once

#include "text/ustring.h"

namespace qp::revise {

// From `start`, at each `opening`: finds the first `closing` at or after it
// and marks from the opening through the closing and `extra` characters
// after it (clamped to the end); continues after the marked stretch. A
// missing closing is the structure failure.
void MarkSpans(Text& text, Pos start, TextView opening, TextView closing, Pos extra, Compare cmp);

// "v:" attributes (with the blank in front of them) inside tags.
void MarkVmlAttributes(Text& text);

// The " id=" attributes of "<div " tags that close inside the tag.
void MarkDivIds(Text& text);

// One Excel attribute (" x:str" and the like) with its quoted value.
void MarkExcelAttribute(Text& text, TextView attribute);

}  // namespace qp::revise
