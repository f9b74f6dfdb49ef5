// Small pieces of HTML text as Word writes them: escaped text, attribute
// values, the lines of the body folded at blanks.
#pragma once

#include "text/html_attribute.h"
#include "text/ustring.h"

namespace qp::word {

// Text content: "&", "<", ">" escaped; a no-break space as "&nbsp;"; runs
// of blanks as Word's space-run spans; control characters dropped.
Text EscapeText(TextView text);
// An href as Word writes it: "&" as "&amp;", blanks and quotes encoded.
Text EscapeHref(TextView url);

// Folds lines longer than `width` at a blank, as Word does, so that the page
// text has short lines. A blank is only replaced by CR LF where a reader that
// turns line breaks back into blanks gets the same text: never right after
// ">" and never before another blank.
Text FoldLines(TextView html, std::size_t width = 80);

// True for characters written in a Japanese font (kana, CJK ideographs,
// full-width forms).
bool IsEastAsian(char16_t c);

}  // namespace qp::word
