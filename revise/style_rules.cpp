// The driver's steps on the style rules: Word's style block into rule lines,
// the body tag's presentational attributes into a body rule, the tidying of
// the finished rules and the rule for plain paragraphs.
#include "revise/driver_steps.h"
#include "text/failure.h"
#include "text/number.h"

namespace qp::revise {

// A "}" inside a quoted value stands in as NUL while the rules are cut.
std::vector<Text> StyleBlockToRules(Text& styleSheet) {
  MarkQuotedBraces(styleSheet);
  ReplaceAll(styleSheet, u"\r\n", u" ");
  ReplaceAll(styleSheet, u"<!--", u"");
  ReplaceAll(styleSheet, u"-->", u"");
  styleSheet = Trim(styleSheet);
  ReplaceAll(styleSheet, u"{ ", u"{");
  ReplaceAll(styleSheet, u"} ", u"}\r\n");
  ReplaceAll(styleSheet, u"*/ ", u"*/\r\n");
  ReplaceAll(styleSheet, TextView(u"\0", 1), u"}");
  return Split(styleSheet, u"\r\n");
}

namespace {

struct BodyValues {
  Text colour;
  Text image;
};

// bgcolor=: a double-quoted value up to its closing quote (which goes with
// the character after it), or an unquoted value up to the next blank.
void TakeBackgroundColour(Text& attrs, BodyValues& values) {
  const Pos name = InStr(attrs, u"bgcolor=");
  if (name == 0) return;
  const Pos start = name + 8;
  if (MatchAt(attrs, start, u"\"")) {
    const Pos quote = InStr(start + 1, attrs, u"\"");
    if (quote == 0 || quote == start + 1) return;
    values.colour = Mid(attrs, start + 1, quote - start - 1);
    MarkRange(attrs, name, quote + 1);
  } else {
    const Pos blank = InStr(start, attrs, u" ");
    if (blank == 0 || blank == start) return;
    values.colour = Mid(attrs, start, blank - start);
    MarkRange(attrs, name, blank);
  }
}

void TakeBackgroundImage(Text& attrs, BodyValues& values) {
  const Pos name = InStr(attrs, u"background=");
  if (name == 0) return;
  const Pos start = name + 11;
  const Pos blank = InStr(start, attrs, u" ");
  if (blank == 0 || blank == start) return;
  values.image = Mid(attrs, start, blank - start);
  MarkRange(attrs, name, blank);
}

// Marked in this order, so that the search for "link=" passes over the
// marked "vlink=" and "alink=".
void DropLinkColours(Text& attrs) {
  for (TextView name : {u"vlink=", u"alink=", u"link="}) {
    const Pos at = InStr(attrs, name);
    if (at == 0) continue;
    const Pos blank = InStr(at, attrs, u" ");
    if (blank != 0) MarkRange(attrs, at, blank);
  }
}

BodyValues TakeBodyAttributes(Text& page) {
  BodyValues values;
  const Pos body = InStr(page, u"<body ");
  if (body == 0) return values;  // a bare <body> has nothing to take
  const Pos end = InStr(body, page, u">");
  if (end == 0) Raise(err::kInvalidArgument);
  // every attribute, the last one too, is followed by a blank
  Text attrs = Mid(page, body + 1, end - body - 1) + u" ";
  TakeBackgroundColour(attrs, values);
  TakeBackgroundImage(attrs, values);
  DropLinkColours(attrs);
  Compact(attrs);
  page = Left(page, body) + TrimRight(attrs) + Mid(page, end);
  return values;
}

}  // namespace

void BodyRule(RevisionState& st) {
  const BodyValues values = TakeBodyAttributes(st.PageText);
  const PageInfoRecord& info = st.PageInfo;
  st.StyleSheetText.clear();
  if (values.colour.empty() && values.image.empty() && info.BodyMargin != 1) return;
  Text rule = u"body       {";
  if (!values.colour.empty()) rule += u"background-color:" + values.colour + u";";
  if (!values.image.empty()) rule += u"background-image:url(" + values.image + u");";
  if (info.BodyMargin == 1) {
    // written as "mmmmmm:" so that the margin removals of the tidying pass it by
    rule += u"mmmmmm:" + FormatInteger(info.MarginTop) + u"px " + FormatInteger(info.MarginRight) +
            u"px " + FormatInteger(info.MarginBottom) + u"px " + FormatInteger(info.MarginLeft) +
            u"px;";
  }
  rule += u"}\r\n";
  st.StyleSheetText = std::move(rule);
}

bool IsCheckedRule(TextView piece) {
  if (piece.empty() || piece.front() == u'@') return false;  // font faces, page rules
  if (Right(piece, 2) == u"*/") return false;                // comments
  return Left(piece, 11) != u"div.Section";                  // Word's section rules
}

void TidyStyleRules(RevisionState& st) {
  Text& sheet = st.StyleSheetText;
  ReviseRuleValues(sheet);  // before "; " below, which must not enter a quoted value
  if (st.PageInfo.BodyMargin == 1) ReplaceAll(sheet, u"mmmmmm:", u"margin:");
  ReplaceAll(sheet, u"{ ", u"{");
  ReplaceAll(sheet, u";", u"; ");
  ReplaceAll(sheet, u"; }", u"}");
}

void NormalParagraphRule(RevisionState& st) {
  if (InStr(st.StyleSheetText, u"\r\np ") != 0) return;  // a rule for p already starts a line
  ReplaceAll(st.StyleSheetText, u"p.MsoNormal\r\n ", u"p");
  ReplaceAll(st.PageText, u" class=\"MsoNormal\"", u"");
  ReplaceAll(st.PageText, u" class=\"MsoNormal ", u" class=\"");
}

}  // namespace qp::revise
