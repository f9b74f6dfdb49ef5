// Escaping for the HTML the program writes: the engine's export and the head
// the revision builds.
#pragma once

#include "text/ustring.h"

namespace qp {

// "&amp;", "&lt;" or "&gt;" for the three characters markup reserves in
// text and attribute values alike; null for any other.
const char16_t* MarkupReference(char16_t c);

// Whether `c` is a control character: C0 (below U+0020), U+007F, or C1
// (U+0080 to U+009F).
bool IsControl(char16_t c);

// `value` with every control character made a blank: a line break in a
// document property or an alternative text still parts two words, and no NUL
// or other character HTML forbids reaches a page.
Text BlankControls(TextView value);

// The content of a double-quoted attribute value (or of a title element):
// "&", "<", ">" and the double quote as references, controls as blanks.
Text EscapeAttributeValue(TextView value);

}  // namespace qp
