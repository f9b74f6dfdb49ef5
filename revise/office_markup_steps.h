// The walks Del_Xml_State is made of. Each marks (overwrites with NUL) what
// it deletes, leaves the removal of the marks to the caller and tells
// whether it marked anything.
#pragma once

#include "revise/occurrences.h"
#include "revise/state.h"
#include "revise/tag_marks.h"
#include "text/ustring.h"

namespace qp::revise {

// From `start`, at each `opening`: finds the first `closing` at or after it
// and marks from the opening through the closing and `extra` characters
// after it (clamped to the end); continues after the marked stretch. A
// missing closing is the structure failure.
bool MarkSpans(Text& text, Pos start, Occurrences& opening, TextView closing, Pos extra);
bool MarkSpans(Text& text, Pos start, TextView opening, TextView closing, Pos extra);

// "v:" attributes (with the blank in front of them) inside tags.
bool MarkVmlAttributes(Text& text);

// The " id=" attributes of "<div " tags that close inside the tag.
bool MarkDivIds(Text& text);

// One Excel attribute (" x:str" and the like) with its quoted value.
bool MarkExcelAttribute(Text& text, TextView attribute);

// Del_Std_Property over occurrences that may have been recorded beforehand,
// with the tag bounds of the text as it stood when `tags` was recorded (the
// walks of several properties share one record).
bool DelStdProperty(RevisionState& st, Occurrences& name, const TagMarks& tags);

}  // namespace qp::revise
