// Rewriting tags one at a time while the text is copied once: the walks of
// Rev_IEE_Style that rebuild a tag text and put it back in place.
#pragma once

#include <optional>

#include "text/ustring.h"

namespace qp::revise {

// A rule gets a tag text (from its "<" up to, not including, the ">") and
// returns the text to put in its place, or nothing to leave it as it is.
using TagRule = std::optional<Text> (*)(TextView tag);

// Walks `text` as the direct form does: at each `opening` (position a) whose
// tag has a ">", the rule is applied, and the next `opening` is searched from
// a + `step` in the text as changed. A changed tag never holds a ">", so an
// opening found inside it (in an attribute value) starts a tag that ends at
// the same ">".
void RewriteTags(Text& text, TextView opening, Pos step, TagRule rule);

}  // namespace qp::revise
