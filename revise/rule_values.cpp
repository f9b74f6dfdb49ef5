// Step 23's work on the values of the finished rules: the values taken for
// browser defaults go only where the rule's element has that default, and
// no declaration keeps an unbalanced quote or a ";" inside a value.
#include <algorithm>
#include <array>

#include "revise/driver_steps.h"
#include "text/walk.h"

namespace qp::revise {

namespace {

using Names = std::initializer_list<TextView>;

bool IsOneOf(TextView name, Names names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The element a selector applies to, in lower case: the name in front of
// its class in the last compound ("p.MsoNormal" p, "body .c1" nothing);
// empty when the selector names none.
Text SelectorElement(TextView selector) {
  Text last(selector);  // the line breaks of the rule layout are blanks here
  std::replace_if(
      last.begin(), last.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
  last = Trim(last);
  const Pos blank = InStrRev(last, u" ");
  Pos end = blank + 1;
  while (end <= Len(last) && !IsOneOf(Mid(last, end, 1), {u".", u":", u"#", u"["})) ++end;
  return LowerCase(Mid(last, blank + 1, end - blank - 1));
}

// Elements whose browser default differs from the value Word writes: the
// value says something there and stays.
const Names kMarginElements = {u"p",   u"h1",   u"h2", u"h3",   u"h4",  u"h5",
                               u"h6",  u"ul",   u"ol", u"dl",   u"dd",  u"blockquote",
                               u"pre", u"body", u"hr", u"menu", u"dir", u"form"};
const Names kBoldElements = {u"h1", u"h2", u"h3", u"h4", u"h5", u"h6", u"th", u"b", u"strong"};
const Names kPaddedElements = {u"td", u"th", u"ul", u"ol", u"menu", u"dir"};
// border-collapse is inherited: only elements that cannot hold a table
// lose it.
const Names kTablelessElements = {u"p",  u"h1",     u"h2",   u"h3",  u"h4",  u"h5",
                                  u"h6", u"span",   u"a",    u"b",   u"i",   u"u",
                                  u"em", u"strong", u"font", u"sub", u"sup", u"img"};

struct DefaultValue {
  TextView find;
  TextView replace;
  // true: the value is the browser's default for this element
  bool (*isDefaultOn)(TextView element);
};

bool MarginIsDefault(TextView e) {
  return !e.empty() && !IsOneOf(e, kMarginElements);
}
bool WeightIsDefault(TextView e) {
  return !e.empty() && !IsOneOf(e, kBoldElements);
}
bool CollapseIsDefault(TextView e) {
  return IsOneOf(e, kTablelessElements);
}
bool PaddingIsDefault(TextView e) {
  return !e.empty() && !IsOneOf(e, kPaddedElements);
}
bool Always(TextView) {
  return true;
}

constexpr std::array<DefaultValue, 18> kDefaults = {{
    {u"margin-top:0px;", u"", MarginIsDefault},
    {u"margin-top:0px", u"", MarginIsDefault},
    {u"margin-bottom:0px;", u"", MarginIsDefault},
    {u"margin-bottom:0px", u"", MarginIsDefault},
    {u"margin-left:0px;", u"", MarginIsDefault},
    {u"margin-left:0px", u"", MarginIsDefault},
    {u"margin-right:0px;", u"", MarginIsDefault},
    {u"margin-right:0px", u"", MarginIsDefault},
    {u"text-align:justify;", u"text-align:left;", Always},
    {u"text-align:justify", u"text-align:left", Always},
    {u"font-weight:normal;", u"", WeightIsDefault},
    {u"font-weight:normal", u"", WeightIsDefault},
    {u"border-collapse:collapse;", u"", CollapseIsDefault},
    {u"border-collapse:collapse", u"", CollapseIsDefault},
    {u"padding:0px 0px 0px 0px;", u"", PaddingIsDefault},
    {u"padding:0px 0px 0px 0px", u"", PaddingIsDefault},
    {u"color:windowtext;", u"", Always},
    {u"color:windowtext", u"", Always},
}};

void DropDefaults(TextView selectors, Text& declarations) {
  std::vector<Text> elements;
  for (const Text& selector : Split(selectors, u",")) elements.push_back(SelectorElement(selector));
  for (const DefaultValue& row : kDefaults) {
    const bool everywhere = std::all_of(elements.begin(), elements.end(),
                                        [&](const Text& e) { return row.isDefaultOn(e); });
    if (everywhere) ReplaceAll(declarations, row.find, row.replace);
  }
}

// The partner of the quote at `open` on the same line, or 0.
Pos QuotePartner(TextView text, Pos open) {
  const char16_t quote = CharAt(text, open);
  for (Pos p = open + 1; p <= Len(text); ++p) {
    const char16_t c = CharAt(text, p);
    if (c == quote) return p;
    if (c == u'\r' || c == u'\n') return 0;
  }
  return 0;
}

bool IsQuote(char16_t c) {
  return c == u'"' || c == u'\'';
}

// A quoted font name holding ";" is a list of alternates ("A;B"): each
// becomes a quoted name of its own ("A","B"); empty names go, and a quoted
// list left with none takes its comma with it.
Text SplitQuotedAlternates(TextView value) {
  Text out;
  for (Pos p = 1; p <= Len(value); ++p) {
    const char16_t c = CharAt(value, p);
    const Pos partner = IsQuote(c) ? QuotePartner(value, p) : 0;
    if (partner == 0) {
      out += c;
      continue;
    }
    Text names;
    for (const Text& name : Split(Mid(value, p + 1, partner - p - 1), u";")) {
      const Text trimmed = Trim(name);
      if (trimmed.empty()) continue;
      if (!names.empty()) names += u',';
      names += c + trimmed + c;
    }
    p = partner;
    if (names.empty()) {
      while (CharAt(value, p + 1) == u' ') ++p;
      if (CharAt(value, p + 1) == u',') {
        ++p;
      } else {
        out = TrimRight(out);
        if (!out.empty() && out.back() == u',') out.pop_back();
      }
    }
    out += names;
  }
  return out;
}

// One declaration as it should stand, or empty when it cannot: no property
// name, an unbalanced quote, or a ";" quoted inside a value other than a
// font list.
Text MendDeclaration(TextView piece, bool unbalanced, bool quotedSemicolon) {
  const Text text = Trim(piece);
  const Pos colon = InStr(text, u":");
  const Pos quote = InStr(text, u"\"");
  const Pos apostrophe = InStr(text, u"'");
  const Pos firstQuote = quote == 0 || (apostrophe != 0 && apostrophe < quote) ? apostrophe : quote;
  if (unbalanced || colon <= 1 || (firstQuote != 0 && firstQuote < colon)) return Text();
  if (!quotedSemicolon) return Text(piece);
  const Text property = LowerCase(Trim(Left(text, colon - 1)));
  if (property != u"font-family" && property != u"font") return Text();
  const Text value = SplitQuotedAlternates(Mid(text, colon + 1));
  return Trim(value).empty() ? Text() : Left(text, colon) + value;
}

// The declarations cut at ";" outside quoted values and mended one by one;
// left as they are when nothing needs mending. A quote opens a value only
// after the declaration's ":"; one that never closes ends its declaration
// at the next ";", so the declarations after it survive.
void MendQuotes(Text& declarations) {
  std::vector<Text> pieces;
  bool changed = false;
  const TextView all(declarations);
  const auto take = [&](Pos start, Pos end, bool unbalanced, bool quotedSemicolon) {
    const TextView piece =
        all.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(end - start));
    if (Trim(piece).empty()) return;
    Text mended = MendDeclaration(piece, unbalanced, quotedSemicolon);
    changed = changed || mended != piece;
    if (!mended.empty()) pieces.push_back(std::move(mended));
  };
  Pos start = 1;
  while (start <= Len(all)) {
    Pos p = start;
    Pos opened = 0;  // the quote of an open value
    bool colon = false;
    bool quotedSemicolon = false;
    for (; p <= Len(all); ++p) {
      const char16_t c = CharAt(all, p);
      if (opened != 0) {
        if (c == CharAt(all, opened)) opened = 0;
        if (c == u';') quotedSemicolon = true;
      } else if (c == u':') {
        colon = true;
      } else if (colon && (c == u'"' || c == u'\'')) {
        opened = p;
      } else if (c == u';') {
        break;
      }
    }
    if (opened != 0) {
      const Pos semicolon = InStr(opened, all, u";");
      p = semicolon == 0 ? Len(all) + 1 : semicolon;
    }
    take(start, p, opened != 0, quotedSemicolon);
    start = p + 1;
  }
  if (!changed) return;
  Text joined;
  for (const Text& piece : pieces) {
    if (!joined.empty()) joined += u';';
    joined += piece;
  }
  if (!joined.empty() && Right(Trim(declarations), 1) == u";") joined += u';';
  declarations = std::move(joined);
}

}  // namespace

Pos BraceOutsideQuotes(TextView text, Pos from) {
  for (Pos p = std::max<Pos>(from, 1); p <= Len(text); ++p) {
    const char16_t c = CharAt(text, p);
    if (c == u'}') return p;
    if (IsQuote(c)) p = std::max(p, QuotePartner(text, p));
  }
  return 0;
}

void MarkQuotedBraces(Text& text) {
  for (Pos p = 1; p <= Len(text); ++p) {
    if (!IsQuote(CharAt(text, p))) continue;
    const Pos partner = QuotePartner(text, p);
    for (Pos in = p + 1; in < partner; ++in) {
      if (CharAt(text, in) == u'}') SetCharAt(text, in, u'\0');
    }
    p = std::max(p, partner);
  }
}

void ReviseRuleValues(Text& sheet) {
  Text out;
  out.reserve(sheet.size());
  Pos from = 1;
  for (Pos open = InStr(sheet, u"{"); open != 0; open = InStr(from, sheet, u"{")) {
    const Pos close = BraceOutsideQuotes(sheet, open);
    if (close == 0) break;
    const Text selectors = Mid(sheet, from, open - from);
    Text declarations = Mid(sheet, open + 1, close - open - 1);
    MendQuotes(declarations);
    DropDefaults(selectors, declarations);
    out += selectors + u"{" + declarations + u"}";
    from = close + 1;
  }
  out += Mid(sheet, from);
  sheet.swap(out);
}

}  // namespace qp::revise
