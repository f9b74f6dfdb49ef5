// The driver's clean-up steps on PageText: empty style attributes, spans
// that carry nothing, blanks inside tags, and half-width katakana.
#include <array>

#include "revise/driver_steps.h"
#include "revise/finder.h"
#include "text/failure.h"
#include "text/walk.h"

namespace qp::revise {

namespace {

constexpr char16_t kKeptSpan = u'\x0001';  // "<" of a span that stays, until all kinds are done

// The last "<" and ">" at or before a position that only moves forward, so a
// walk over many hits reads the text once instead of searching back each time.
class LastTagMarks {
 public:
  explicit LastTagMarks(const Text& text) : text_(text) {}
  void AdvanceTo(Pos p) {
    for (; seen_ < p; ++seen_) {
      const char16_t c = CharAt(text_, seen_ + 1);
      if (c == u'<') lt_ = seen_ + 1;
      if (c == u'>') gt_ = seen_ + 1;
    }
  }
  Pos lt() const { return lt_; }
  Pos gt() const { return gt_; }
  bool Inside(Pos p) {  // p lies inside a tag that is still open
    AdvanceTo(p);
    return gt_ < lt_;
  }

 private:
  const Text& text_;
  Pos seen_ = 0;
  Pos lt_ = 0;
  Pos gt_ = 0;
};

}  // namespace

void DropEmptyStyles(Text& page) {
  LastTagMarks marks(page);
  for (Pos p = InStr(page, u" style="); p != 0;) {
    marks.AdvanceTo(p);
    const Pos tagEnd = InStr(p, page, u">");
    if (marks.gt() < marks.lt() && marks.lt() < p && p < tagEnd) {
      const Text quote(1, CharAt(page, p + 7));
      Pos close = 0;
      bool empty = false;
      if (MatchAt(page, p + 8, quote)) {
        close = p + 8;
        empty = true;
      } else {
        close = InStr(p + 8, page, quote);
        empty = close != 0 && close < tagEnd && Trim(Mid(page, p + 8, close - p - 8)).empty();
      }
      if (empty) MarkRange(page, p, close);
    }
    if (tagEnd == 0) RaiseStructure();
    p = InStr(tagEnd, page, u" style=");
  }
  Compact(page);  // also the marks of the class attribute step
}

namespace {

bool AllMarked(TextView page, Pos from, Pos to) {
  for (Pos i = from; i <= to; ++i) {
    if (CharAt(page, i) != u'\0') return false;
  }
  return true;
}

// The "<span" that a "</span>" at e closes: the last one ending at or before
// e, if it starts after the element's opening o; 0 otherwise. When e lies
// past the element's closing c, any "<span" from c on is the answer (and
// ends the element's walk); only without one is the element searched.
Pos OpeningSpan(const Text& page, Finder& spans, Pos o, Pos c, Pos e) {
  if (e > c) {
    const Pos next = spans.Next(page, c);
    if (next != 0 && next + 4 <= e) return next;
    return InStrRevAfter(page, u"<span", c + 3, o);
  }
  return InStrRevAfter(page, u"<span", e, o);
}

void UnwrapSpansIn(Text& page, TextView open, TextView close) {
  Finder ends(u"</span>");
  Finder spans(u"<span");
  for (Pos o = InStr(page, open); o != 0;) {
    const Pos c = InStr(o, page, close);
    if (c <= o) RaiseStructure();
    for (Pos e = ends.Next(page, o); e != 0; e = ends.Next(page, e + 7)) {
      const Pos s = OpeningSpan(page, spans, o, c, e);
      if (s <= o || s >= c) break;
      const Pos g = InStr(s, page, u">");
      if (g <= s || g >= e) RaiseStructure();
      if (MatchAt(page, s, u"<span>")) {
        MarkDeleted(page, s, 6);
        MarkDeleted(page, e, 7);
      } else if (g + 1 == e || AllMarked(page, g + 1, e - 1)) {
        MarkRange(page, s, g);
        MarkDeleted(page, e, 7);
      } else {
        SetCharAt(page, s, kKeptSpan);  // later walks pass over it to the enclosing span
      }
    }
    o = InStr(c, page, open);
  }
}

}  // namespace

void UnwrapSpans(Text& page) {
  static constexpr TextView kKinds[][2] = {
      {u"<p ", u"</p>"},  {u"<h1", u"</h1>"}, {u"<h2", u"</h2>"},
      {u"<h3", u"</h3>"}, {u"<h4", u"</h4>"}, {u"<h5", u"</h5>"},
      {u"<h6", u"</h6>"}, {u"<li", u"</li>"}, {u"<ol", u"</ol>"},
  };
  for (const auto& kind : kKinds) UnwrapSpansIn(page, kind[0], kind[1]);
  ReplaceAll(page, Text(1, kKeptSpan), u"<");
  Compact(page);
  ReplaceAll(page, u"<b></b>", u"");
  ReplaceAll(page, u"\r\n</span>", u"</span>");
}

// Sweeps for ":" and ";" followed by 8 blanks down to 1 take, at each sign
// inside a tag, the blanks after it up to eight; one pass does the same.
void DropBlanksInTags(Text& page) {
  bool inTag = false;
  for (Pos p = 1; p <= Len(page); ++p) {
    const char16_t c = CharAt(page, p);
    if (c == u'<') inTag = true;
    if (c == u'>') inTag = false;
    if (!inTag || (c != u':' && c != u';')) continue;
    Pos n = 0;
    while (n < 8 && CharAt(page, p + 1 + n) == u' ') ++n;
    MarkDeleted(page, p + 1, n);
    p += n;
  }
  Compact(page);
}

void WidenKatakana(Text& page) {
  // U+FF61 to U+FF9F in code order; the sound marks stay separate characters
  static constexpr std::array<char16_t, 63> kFullWidth = {
      0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
      0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
      0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
      0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
      0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
      0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
  };
  // one character for one, so a single sweep gives what 63 replacements give
  for (char16_t& c : page) {
    if (c >= 0xFF61 && c <= 0xFF9F) c = kFullWidth[c - 0xFF61];
  }
}

}  // namespace qp::revise
