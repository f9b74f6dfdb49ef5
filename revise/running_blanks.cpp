// Step 16 of the driver: blanks of running text that a browser would
// swallow become non-breaking spaces, while the blanks it keeps stay
// ordinary, so that a paragraph can still wrap at them.
#include <array>

#include "revise/driver_steps.h"
#include "text/walk.h"

namespace qp::revise {

namespace {

bool IsLetterOrDigit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// Elements that flow inside a line: a blank next to their tags is judged by
// the text beyond them. Any other tag ends or starts a line.
bool IsInlineTag(TextView text, Pos lt) {
  static constexpr std::array<TextView, 25> kInline = {
      u"a",      u"abbr",   u"b",   u"big", u"cite", u"code", u"del",  u"dfn",   u"em",
      u"font",   u"i",      u"ins", u"kbd", u"q",    u"s",    u"samp", u"small", u"span",
      u"strike", u"strong", u"sub", u"sup", u"tt",   u"u",    u"var"};
  Pos from = lt + 1;
  if (CharAt(text, from) == u'/') ++from;
  Pos to = from;
  while (IsLetterOrDigit(CharAt(text, to))) ++to;
  const Text name = LowerCase(Mid(text, from, to - from));
  for (TextView inlineName : kInline) {
    if (name == inlineName) return true;
  }
  return false;
}

bool IsImageTag(TextView text, Pos lt) {
  const Text head = LowerCase(Mid(text, lt + 1, 4));
  return head == u"img " || head == u"img>";
}

// Whether the character on the far side of `pos` (moving by `step`, over
// inline tags) keeps a blank next to it on the same line: visible text, a
// picture, or a blank already marked to become "&nbsp;".
bool KeepsBlank(TextView text, Pos pos, int step) {
  for (;;) {
    const char16_t c = CharAt(text, pos);
    if (c == u'\0' && (pos < 1 || pos > Len(text))) return false;
    if (c == u' ' || c == u'\r' || c == u'\n') return false;
    const bool tagEdge = step > 0 ? c == u'<' : c == u'>';
    if (!tagEdge) return true;
    const Pos lt = step > 0 ? pos : InStrRev(text, u"<", pos);
    const Pos gt = step > 0 ? InStr(pos, text, u">") : pos;
    if (lt == 0 || gt == 0) return false;
    if (IsImageTag(text, lt)) return true;
    if (!IsInlineTag(text, lt)) return false;
    pos = step > 0 ? gt + 1 : lt - 1;
  }
}

// Blanks alone between the end of a block and the next tag, or between a
// table's or list's own tags, are markup, not text: a browser drops them, and
// a non-breaking space there would be moved out of the table as text.
bool IsBlankBetweenBlocks(TextView text, Pos from, Pos to) {
  for (Pos p = from; p < to; ++p) {
    if (CharAt(text, p) != u' ') return false;
  }
  const Pos lt = InStrRev(text, u"<", from - 1);
  if (lt == 0 || IsInlineTag(text, lt) || IsImageTag(text, lt)) return false;
  if (CharAt(text, lt + 1) == u'/') return true;
  static constexpr std::array<TextView, 8> kHolders = {u"table", u"tbody", u"thead", u"tfoot",
                                                       u"tr",    u"ul",    u"ol",    u"dl"};
  Pos end = lt + 1;
  while (IsLetterOrDigit(CharAt(text, end))) ++end;
  const Text name = LowerCase(Mid(text, lt + 1, end - lt - 1));
  for (TextView holder : kHolders) {
    if (name == holder) return true;
  }
  return false;
}

// One text run [from, to): a single blank between kept characters stays;
// a longer run of blanks keeps its width as NULs (later "&nbsp;") ending in
// one ordinary blank; blanks the browser would drop at the start or end of
// a line become NULs whole.
void MarkRunBlanks(Text& page, Pos from, Pos to) {
  if (IsBlankBetweenBlocks(page, from, to)) return;
  for (Pos a = from; a < to; ++a) {
    if (CharAt(page, a) != u' ') continue;
    Pos b = a;
    while (b + 1 < to && CharAt(page, b + 1) == u' ') ++b;
    const bool kept = KeepsBlank(page, a - 1, -1) && KeepsBlank(page, b + 1, 1);
    for (Pos p = a; p <= b; ++p) {
      if (!(kept && p == b)) SetCharAt(page, p, u'\0');
    }
    a = b;
  }
}

}  // namespace

// Runs that start right behind a tag, on the tag's line; runs that start a
// line keep their blanks as they are.
void KeepRunningBlanks(Text& page) {
  for (Pos p = InStr(page, u">"); p != 0; p = InStr(p, page, u">")) {
    ++p;
    if (MatchAt(page, p, u"\r\n")) {
      p += 2;
    } else if (CharAt(page, p) == u'<') {
      ++p;
    } else {
      const Pos q = InStr(p, page, u"<");
      if (q == 0) break;
      MarkRunBlanks(page, p, q);
      p = q;
    }
  }
  ReplaceAll(page, TextView(u"\0", 1), u"&nbsp;");
}

}  // namespace qp::revise
