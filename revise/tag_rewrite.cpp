#include "revise/tag_rewrite.h"

namespace qp::revise {

void RewriteTags(Text& text, TextView opening, Pos step, TagRule rule) {
  Text out;
  Pos copied = 1;  // first character of `text` not yet in `out`
  Pos a = InStr(text, opening);
  while (a != 0) {
    const Pos b = InStr(a, text, u">");
    // Without a ">" after it, no later opening has one either.
    if (b == 0) break;
    Text region = Mid(text, a, b - a);  // the tag as it stands now
    bool edited = false;
    Pos at = 1;  // where the tag being ruled starts inside `region`
    for (;;) {
      if (auto changed = rule(Mid(region, at))) {
        region = Left(region, at - 1) + *changed;
        edited = true;
      }
      const Pos inner = InStr(at + step, region, opening);
      if (inner == 0) break;
      at = inner;
    }
    if (edited) {
      if (out.empty()) out.reserve(text.size() + text.size() / 8);
      out += Mid(text, copied, a - copied);
      out += region;
      copied = b;
    }
    // a + step may lie past the tag: the search skips that far into the
    // unchanged text behind it.
    const Pos beyond = at - 1 + step - Len(region);
    a = InStr(beyond > 0 ? b + beyond : b, text, opening);
  }
  if (copied == 1) return;
  out += Mid(text, copied);
  text.swap(out);
}

}  // namespace qp::revise
