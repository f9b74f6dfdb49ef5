// Del_Lines drops the empty paragraphs Word leaves at the end of a document;
// Rev_BrTag makes every line-break element end its source line.
#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {

void Del_Lines(RevisionState& st) {
  Trap trap("Mod_HtmlRev -> Del_Lines");
  try {
    Text& text = st.PageText;
    trap.Step(1);
    // The end marker: the section block's "</div>" when it closes before the
    // body, otherwise "</body>" itself.
    Pos end = InStrRev(text, u"</body>");
    if (end == 0) RaiseStructure();
    const Pos div = InStrRev(text, u"</div>");
    if (div != 0 && div < end) end = div;

    trap.Step(2);
    // Walk back over paragraphs that end exactly two characters (the line
    // break) in front of the marker and hold only a non-breaking space.
    for (;;) {
      const Pos close = InStrRev(text, u"</p>", end - 1);
      if (close == 0 || close + 6 != end) break;
      Pos open = InStrRev(text, u"<p ", close - 1);
      if (open == 0) open = InStrRev(text, u"<p>", close - 1);
      if (open == 0) RaiseStructure();
      const Text paragraph = Mid(text, open, close - open + 1);
      if (InStr(paragraph, u">&nbsp;<") == 0 || InStr(paragraph, u"\r\n") != 0) break;
      MarkRange(text, open, close + 5);
      end = open;
    }

    trap.Step(3);
    Compact(text);
  } catch (...) {
    trap.Fail();
  }
}

// Failures inside are reported by the driver, whose step this is.
void Rev_BrTag(RevisionState& st) {
  Text& text = st.PageText;
  Pos br = InStr(text, u"<br");
  Text out;
  Pos copied = 1;  // first character of `text` not yet in `out`
  while (br != 0) {
    const Pos close = InStr(br + 1, text, u">");
    // Without a ">" after it, no later "<br" has one either.
    if (close == 0) break;
    if (!MatchAt(text, close + 1, u"<") && !MatchAt(text, close + 1, u"\r\n")) {
      if (out.empty()) out.reserve(text.size() + text.size() / 8);
      out += Mid(text, copied, close - copied + 1);
      out += u"\r\n";
      copied = close + 1;
    }
    br = InStr(close + 1, text, u"<br");
  }
  if (copied == 1) return;
  out += Mid(text, copied);
  text.swap(out);
}

}  // namespace qp::revise
