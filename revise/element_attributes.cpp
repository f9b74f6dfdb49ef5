// Rev_IEE_Style: repairs the attributes of six kinds of start tag. Row
// heights become style heights, images get an empty alt, tables a summary,
// cell widths and paragraph alignments give way to the style property that
// says the same, and a class written into a link's title after "%" becomes
// a class attribute.
#include "revise/passes.h"
#include "revise/tag_rewrite.h"
#include "text/failure.h"
#include "text/number.h"

namespace qp::revise {

namespace {

// `<tr height=20 class=x>` -> `<tr style='height:20pt' class=x>`; the unit of
// the value is ignored, and an existing style attribute is not merged.
std::optional<Text> RowHeight(TextView tag) {
  const Text r = Text(tag) + u" ";
  const Pos d = InStr(r, u" height=");
  if (d == 0) return std::nullopt;
  const Pos v = d + 8;
  const Pos e = InStr(v, r, u" ");
  if (e == v) return std::nullopt;
  const float height = static_cast<float>(LeadingNumber(Mid(r, v, e - v)));
  return TrimRight(Left(r, d - 1) + u" style='height:" + FormatSingle(height) + u"pt'" + Mid(r, e));
}

std::optional<Text> ImageAlt(TextView tag) {
  if (InStr(tag, u" alt=") != 0) return std::nullopt;
  return TrimRight(Text(tag) + u" alt=\"\"");
}

// A table that already has a summary but no layout gets a second one.
std::optional<Text> TableSummary(TextView tag) {
  if (InStr(tag, u" layout=") != 0) return std::nullopt;
  return TrimRight(Text(tag) + u" summary=\" \"");
}

// `title="Home%nav"` -> `class="nav" title="Home"`; only the first "%" counts.
std::optional<Text> LinkClass(TextView tag) {
  const Pos g = InStr(tag, u" title=");
  if (g == 0) return std::nullopt;
  const Pos m = InStr(g + 8, tag, u"\"");
  if (m == 0) return std::nullopt;
  const Text attribute = Mid(tag, g, m - g + 1);
  const Pos percent = InStr(attribute, u"%");
  if (percent == 0) return std::nullopt;
  Text replacement = u" class=\"" + Mid(attribute, percent + 1);
  if (!MatchAt(attribute, percent - 1, u"\"")) {
    replacement += Left(attribute, percent - 1) + u"\"";
  }
  return Left(tag, g - 1) + replacement + Mid(tag, m + 1);
}

// Deletes the attribute (` width=120`) of tags that also carry the style
// property saying the same, when the attribute comes first. Marks, and
// removes the marks only when it made any.
void DropDoubledAttribute(Text& text, TextView opening, Pos step, TextView attribute,
                          TextView property, bool propertyStartsDeclaration) {
  bool marked = false;
  for (Pos a = InStr(text, opening); a != 0; a = InStr(a + step, text, opening)) {
    const Pos b = InStr(a, text, u">");
    if (b == 0) continue;
    const Pos g = InStrBefore(a, text, attribute, b);
    const Pos h = InStrBefore(a, text, property, b);
    if (g == 0 || h == 0) continue;
    // `border-width:` is not the width property
    if (propertyStartsDeclaration && !MatchAt(text, h - 1, u";") && !MatchAt(text, h - 1, u"'") &&
        !MatchAt(text, h - 1, u" ")) {
      continue;
    }
    const Pos m = InStrBefore(g + Len(attribute), text, u" ", h);
    if (m == 0) continue;
    MarkRange(text, g, m - 1);
    marked = true;
  }
  if (marked) Compact(text);
}

}  // namespace

void Rev_IEE_Style(RevisionState& st) {
  Trap trap("Mod_HtmlRev -> Rev_IEE_Style");
  try {
    Text& text = st.PageText;
    trap.Step(1);
    RewriteTags(text, u"<tr ", 7, RowHeight);
    trap.Step(2);
    RewriteTags(text, u"<img ", 7, ImageAlt);
    trap.Step(3);
    RewriteTags(text, u"<table ", 7, TableSummary);
    trap.Step(4);
    DropDoubledAttribute(text, u"<td ", 4, u" width=", u"width:", true);
    trap.Step(5);
    DropDoubledAttribute(text, u"<p ", 3, u" align=", u"text-align:", false);
    trap.Step(6);
    RewriteTags(text, u"<a ", 8, LinkClass);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::revise
