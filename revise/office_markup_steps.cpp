#include "revise/office_markup_steps.h"

#include "revise/scan_cache.h"
#include "text/failure.h"

namespace qp::revise {

void MarkSpans(Text& text, Pos start, TextView opening, TextView closing, Pos extra, Compare cmp) {
  Pos d = InStr(start, text, opening, cmp);
  while (d != 0) {
    const Pos e = InStr(d, text, closing);
    if (e == 0) RaiseStructure();
    const Pos end = e + Len(closing) - 1 + extra;
    MarkRange(text, d, end);
    d = InStr(end + 1, text, opening, cmp);
  }
}

void MarkVmlAttributes(Text& text) {
  LastSeen lastOpen(u"<");
  LastSeen lastClose(u">");
  Pos f = InStr(text, u"v:");
  while (f != 0) {
    Pos next = f + 2;
    const bool blank = MatchAt(text, f - 1, u" ");
    if (blank || MatchAt(text, f - 1, u"\n")) {
      const Pos s = blank ? f - 1 : f;  // the blank in front goes too
      const Pos lt = lastOpen.At(text, s);
      // A "v:" in running text (outside every tag) is a word, not an
      // attribute: it stays.
      if (lt != 0 && lastClose.At(text, s) < lt) {
        const Pos q = InStr(s, text, u"\"");
        if (q == 0) Raise(err::kInvalidArgument, u"v: attribute without a quoted value");
        const Pos m = InStr(q + 1, text, u"\"");
        if (m == 0) RaiseStructure();
        MarkRange(text, s, m);
        next = m + 1;
      }
    }
    f = InStr(next, text, u"v:");
  }
}

void MarkDivIds(Text& text) {
  NextSeen ids(u" id=\"");
  Pos l = InStr(text, u"<div ");
  while (l != 0) {
    const Pos m = InStr(l, text, u">");
    if (m == 0) Raise(err::kInvalidArgument, u"<div without >");
    // an id that does not close before the tag's ">" is left alone
    const Pos o = ids.From(text, l);
    if (o != 0) {
      const Pos k = InStrBefore(o + 5, text, u"\"", m);
      if (k != 0) MarkRange(text, o, k);
    }
    l = InStr(m, text, u"<div ");
  }
}

void MarkExcelAttribute(Text& text, TextView attribute) {
  Pos p = InStr(text, attribute);
  while (p != 0) {
    MarkDeleted(text, p, Len(attribute));
    const Pos v = p + Len(attribute);
    Pos next = v;
    if (MatchAt(text, v, u"=")) {
      // the character after "=" is taken to be the opening quote
      const Pos w = InStr(v + 2, text, u"\"");
      if (w == 0) RaiseStructure();
      MarkRange(text, v, w);
      next = w + 1;
    }
    p = InStr(next, text, attribute);
  }
}

}  // namespace qp::revise
