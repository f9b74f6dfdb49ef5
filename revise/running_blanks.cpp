// Step 16 of the driver: blanks of running text that a browser would
// swallow become non-breaking spaces, while the blanks it keeps stay
// ordinary, so that a paragraph can still wrap at them.
#include <algorithm>
#include <array>

#include "revise/driver_steps.h"
#include "text/walk.h"

namespace qp::revise {

namespace {

bool IsNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u':' || c == u'-' || c == u'_';
}

struct Tag {
  Text name;  // lower case, "st1:place"; empty for a comment or a stray "<"
  bool closing = false;
};

Tag ReadTag(TextView text, Pos lt) {
  Tag tag;
  Pos from = lt + 1;
  if (CharAt(text, from) == u'/') {
    tag.closing = true;
    ++from;
  }
  Pos to = from;
  while (IsNameChar(CharAt(text, to))) ++to;
  tag.name = LowerCase(Mid(text, from, to - from));
  return tag;
}

// How a browser lays a tag out: a block tag ends or starts a line; a
// content tag (a picture, a form control, an embedded object) shows
// something a blank stands beside; every other tag, one it does not know
// and the prefixed ones of smart tags too, flows inside the line and a blank
// next to it is judged by the text beyond it.
enum class Flow { kInline, kContent, kBlock };

Flow FlowOf(const Tag& tag) {
  static constexpr std::array<TextView, 8> kContent = {u"img",    u"input",  u"select", u"textarea",
                                                       u"button", u"object", u"embed",  u"iframe"};
  static constexpr std::array<TextView, 46> kBlock = {
      u"address",  u"article",  u"aside",    u"blockquote", u"body",    u"br",    u"caption",
      u"center",   u"col",      u"colgroup", u"dd",         u"dir",     u"div",   u"dl",
      u"dt",       u"fieldset", u"figure",   u"footer",     u"form",    u"frame", u"frameset",
      u"h1",       u"h2",       u"h3",       u"h4",         u"h5",      u"h6",    u"head",
      u"header",   u"hr",       u"html",     u"legend",     u"li",      u"menu",  u"nav",
      u"noframes", u"ol",       u"p",        u"pre",        u"section", u"table", u"tbody",
      u"td",       u"tfoot",    u"th",       u"thead"};
  static constexpr std::array<TextView, 3> kMoreBlock = {u"title", u"tr", u"ul"};
  const auto in = [&](const auto& names) {
    return std::find(names.begin(), names.end(), tag.name) != names.end();
  };
  if (in(kContent)) return Flow::kContent;
  return in(kBlock) || in(kMoreBlock) ? Flow::kBlock : Flow::kInline;
}

// Whether the blank next to `pos` on the far side (moving by `step`, over
// inline tags and the line ends between them, which a browser reads as
// blanks) has something visible beside it: text or a content tag. Blanks
// already marked to become "&nbsp;" belong to the same run and are passed
// over on the left; an ordinary blank on the right means the run goes on.
bool KeepsBlank(TextView text, Pos pos, int step) {
  for (;;) {
    const char16_t c = CharAt(text, pos);
    if (pos < 1 || pos > Len(text)) return false;
    if (c == u'\r' || c == u'\n' || (c == u'\0' && step < 0)) {
      pos += step;
      continue;
    }
    if (c == u' ') return false;
    const bool tagEdge = step > 0 ? c == u'<' : c == u'>';
    if (!tagEdge) return true;
    const Pos lt = step > 0 ? pos : InStrRev(text, u"<", pos);
    const Pos gt = step > 0 ? InStr(pos, text, u">") : pos;
    if (lt == 0 || gt == 0) return false;
    const Flow flow = FlowOf(ReadTag(text, lt));
    if (flow != Flow::kInline) return flow == Flow::kContent;
    pos = step > 0 ? gt + 1 : lt - 1;
  }
}

// Blanks alone between two block tags, opening or closing, are markup, not
// text: a browser drops them, and a non-breaking space there would make a
// line of its own (or be moved out of a table as text). The one exception
// is the whole content of one element ("<p> </p>"), whose line they keep.
bool IsBlankBetweenBlocks(TextView text, Pos from, Pos to) {
  for (Pos p = from; p < to; ++p) {
    if (CharAt(text, p) != u' ') return false;
  }
  const Pos lt = InStrRev(text, u"<", from - 1);
  if (lt == 0) return false;
  const Tag left = ReadTag(text, lt);
  const Tag right = ReadTag(text, to);
  if (FlowOf(left) != Flow::kBlock || FlowOf(right) != Flow::kBlock) return false;
  return !(!left.closing && right.closing && left.name == right.name);
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
