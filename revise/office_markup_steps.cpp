#include "revise/office_markup_steps.h"

#include "revise/scan_cache.h"
#include "text/failure.h"

namespace qp::revise {

bool MarkSpans(Text& text, Pos start, Occurrences& opening, TextView closing, Pos extra) {
  bool marked = false;
  Pos d = opening.Next(text, start);
  while (d != 0) {
    const Pos e = InStr(d, text, closing);
    if (e == 0) RaiseStructure();
    const Pos end = e + Len(closing) - 1 + extra;
    MarkRange(text, d, end);
    marked = true;
    d = opening.Next(text, end + 1);
  }
  return marked;
}

bool MarkSpans(Text& text, Pos start, TextView opening, TextView closing, Pos extra) {
  Occurrences searched(opening);
  return MarkSpans(text, start, searched, closing, extra);
}

bool MarkVmlAttributes(Text& text) {
  bool marked = false;
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
        marked = true;
        next = m + 1;
      }
    }
    f = InStr(next, text, u"v:");
  }
  return marked;
}

bool MarkDivIds(Text& text) {
  bool marked = false;
  NextSeen ids(u" id=\"");
  Pos l = InStr(text, u"<div ");
  while (l != 0) {
    const Pos m = InStr(l, text, u">");
    if (m == 0) Raise(err::kInvalidArgument, u"<div without >");
    // an id that does not close before the tag's ">" is left alone
    const Pos o = ids.From(text, l);
    if (o != 0) {
      const Pos k = InStrBefore(o + 5, text, u"\"", m);
      if (k != 0) {
        MarkRange(text, o, k);
        marked = true;
      }
    }
    l = InStr(m, text, u"<div ");
  }
  return marked;
}

bool MarkExcelAttribute(Text& text, TextView attribute) {
  bool marked = false;
  Pos p = InStr(text, attribute);
  while (p != 0) {
    MarkDeleted(text, p, Len(attribute));
    marked = true;
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
  return marked;
}

}  // namespace qp::revise
