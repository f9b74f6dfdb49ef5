// Set_Quote: puts double quotes around every attribute value that has none.
#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {

namespace {

// Quotes the values of the tag that starts at `at` in `tag` (which ends with
// the tag's ">") and returns where the search for the next "<" goes on from:
// the last closing quote inserted, or `at` when nothing changed. An "="
// inside a value that is already in double quotes is part of that value
// (href="page.htm?id=3"): quoting it would cut the link in two.
Pos QuoteValues(Text& tag, Pos at) {
  Pos equals = InStr(at, tag, u"=");
  while (equals != 0) {
    const Pos value = equals + 1;
    Pos next = value;
    if (!MatchAt(tag, value, u"\"")) {
      Pos end = InStr(equals, tag, u" ");
      if (end == 0) end = Len(tag);  // up to the ">"
      tag = Left(tag, equals) + u"\"" + Mid(tag, value, end - value) + u"\"" + Mid(tag, end);
      at = end + 1;
    } else if (const Pos closing = InStr(value + 1, tag, u"\""); closing != 0) {
      next = closing + 1;
    }
    equals = InStr(next, tag, u"=");
  }
  return at;
}

}  // namespace

void Set_Quote(RevisionState& st) {
  Trap trap("Mod_HtmlRev -> Set_Quote");
  try {
    trap.Step(1);
    Text& text = st.PageText;
    Pos lt = InStr(text, u"<");
    Text out;
    Pos copied = 1;  // first character of `text` not yet in `out`
    trap.Step(2);
    while (lt != 0) {
      const Pos gt = InStr(lt, text, u">");
      if (gt == 0) RaiseStructure();
      if (InStrBefore(lt, text, u"=", gt) != 0) {
        // Each tag is rewritten on its own, so the text is copied once
        // however many values get quotes. A "<" inside the tag (in a value)
        // starts another tag that ends at the same ">".
        if (out.empty()) out.reserve(text.size() + text.size() / 8);
        out += Mid(text, copied, lt - copied);
        Text tag = Mid(text, lt, gt - lt + 1);
        Pos at = QuoteValues(tag, 1);
        for (Pos inner = InStr(at + 1, tag, u"<"); inner != 0; inner = InStr(at + 1, tag, u"<")) {
          at = QuoteValues(tag, inner);
        }
        out += tag;
        copied = gt + 1;
      }
      lt = InStr(gt + 1, text, u"<");
    }
    trap.Step(3);
    if (copied == 1) return;
    out += Mid(text, copied);
    text.swap(out);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::revise
