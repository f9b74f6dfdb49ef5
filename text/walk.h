// Helpers for walks that look at single characters or search backwards
// within a stretch; 1-based like the rest of the text layer.
#pragma once

#include "text/ustring.h"

namespace qp {

// The character at `pos`; 0 outside the text.
inline char16_t CharAt(TextView text, Pos pos) {
  return pos >= 1 && pos <= Len(text) ? text[static_cast<std::size_t>(pos - 1)] : u'\0';
}

// Overwrites the character at `pos` (a mark that a later sweep turns back).
inline void SetCharAt(Text& text, Pos pos, char16_t c) {
  if (pos >= 1 && pos <= Len(text)) text[static_cast<std::size_t>(pos - 1)] = c;
}

// Writes `with` over the characters from `pos` on (clamped to the text).
inline void Overwrite(Text& text, Pos pos, TextView with) {
  for (std::size_t i = 0; i < with.size(); ++i) SetCharAt(text, pos + static_cast<Pos>(i), with[i]);
}

// Like InStrRev from `start`, but only occurrences that begin after `after`
// count, and the search never looks in front of that: its cost is bounded by
// the stretch, not by the distance to the previous occurrence in the text.
inline Pos InStrRevAfter(TextView text, TextView find, Pos start, Pos after) {
  if (after < 0) after = 0;
  if (after >= Len(text) || start <= after) return 0;
  const Pos found = InStrRev(text.substr(static_cast<std::size_t>(after)), find, start - after);
  return found == 0 ? 0 : found + after;
}

}  // namespace qp
