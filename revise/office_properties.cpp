// Del_Std_Property: marks one style property, with its value, wherever it
// stands inside a tag of the source text. Any stretch from a "<" to the next
// ">" counts as a tag, so the comment that wraps Word's style sheet is one
// too and its rules lose the property by the same walk.
#include <algorithm>

#include "revise/office_markup_steps.h"
#include "revise/passes.h"
#include "revise/scan_cache.h"
#include "revise/tag_marks.h"
#include "text/failure.h"

namespace qp::revise {

bool DelStdProperty(RevisionState& st, Occurrences& name, const TagMarks& tags) {
  Trap trap("Mod_HtmlRev -> Del_Std_Property");
  bool marked = false;
  try {
    Text& text = st.SourceText;
    // The walk only moves forward and marks only ahead of itself, so the
    // separators after each occurrence are tracked instead of searched
    // again; the style sheet holds thousands of occurrences inside one "tag".
    NextSeen nextSemicolon(u";");
    NextSeen nextApostrophe(u"'");
    trap.Step(1);
    Pos p = name.Next(text, 1);
    while (p != 0) {
      trap.Step(2);
      const Pos lt = tags.LastOpen(text, p);
      const Pos gt = tags.LastClose(text, p);
      const Pos nx = tags.NextClose(text, p);
      Pos next = p + 1;
      if (gt < lt && lt < p && p < nx) {
        trap.Step(4);
        Pos semicolon = nextSemicolon.From(text, p);
        if (semicolon > nx) semicolon = 0;
        Pos apostrophe = nextApostrophe.From(text, p);
        if (apostrophe > nx) apostrophe = 0;
        if (semicolon == 0 && apostrophe == 0) {
          // the character before ">" (normally the closing quote) stays
          MarkRange(text, p, nx - 2);
          marked = true;
          next = std::max(nx - 1, p + 1);
        } else if (semicolon != 0 && (apostrophe == 0 || semicolon < apostrophe)) {
          MarkRange(text, p, semicolon);
          marked = true;
          next = semicolon + 1;
        } else {
          MarkRange(text, p, apostrophe - 1);
          marked = true;
          next = apostrophe;
        }
      }
      p = name.Next(text, next);
    }
  } catch (...) {
    trap.Fail();
  }
  return marked;
}

void Del_Std_Property(RevisionState& st, TextView name) {
  Occurrences searched(name);
  DelStdProperty(st, searched, TagMarks(st.SourceText));
}

}  // namespace qp::revise
