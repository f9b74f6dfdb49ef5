// Escaping for the HTML the program writes: the engine's export and the head
// the revision builds.
#pragma once

#include "text/ustring.h"

namespace qp {

// "&amp;", "&lt;" or "&gt;" for the three characters markup reserves in
// text and attribute values alike; null for any other.
const char16_t* MarkupReference(char16_t c);

// The content of a double-quoted attribute value (or of a title element):
// "&", "<", ">" and the double quote as references. A control character
// (below U+0020, and U+007F) becomes a blank: a line break in a document
// property or an alternative text still parts two words, and no NUL or other
// character HTML forbids reaches a page.
Text EscapeAttributeValue(TextView value);

}  // namespace qp
