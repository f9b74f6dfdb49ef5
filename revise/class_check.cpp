// Check_Class: which of Word's style rules the page uses, written in the
// page's own layout; Rev_Class_Fontsize: class font sizes as percentages.
#include "revise/class_check.h"

#include "revise/passes.h"
#include "text/failure.h"
#include "text/number.h"

namespace qp::revise {

namespace {

constexpr char16_t kProtectedBlank = u'\x0007';

// What one selector refers to in the page.
struct Selector {
  Text text;
  Text elementOpen;  // "<p"; empty for ".x" and for selectors with ":"
  Text className;    // text after the first "."; empty without one
  bool hasClass = false;
};

Selector ReadSelector(TextView text) {
  Selector s{Text(text), {}, {}, false};
  if (InStr(text, u":") != 0) return s;
  const Pos dot = InStr(text, u".");
  if (dot == 0) {
    s.elementOpen = u"<" + s.text;
  } else {
    if (dot > 1) s.elementOpen = u"<" + Left(text, dot - 1);
    s.className = Mid(text, dot + 1);
    s.hasClass = true;
  }
  return s;
}

bool IsUsed(const Selector& s, ClassUse& use) {
  if (InStr(s.text, u":") != 0) return true;  // pseudo-classes are kept unseen
  if (!s.hasClass) return use.HasElement(s.elementOpen);
  return use.HasClass(s.elementOpen, s.className);
}

// Office properties in front of the first ";" go everywhere they appear;
// blanks go, except inside the font-family and font values.
void CleanDeclarations(Text& decl) {
  for (;;) {
    const Pos mso = InStr(decl, u"mso-");
    const Pos semi = InStr(decl, u";");
    if (mso == 0 || semi == 0 || mso > semi) break;
    Pos end = semi;
    if (MatchAt(decl, end + 1, u" ")) ++end;
    ReplaceAll(decl, Mid(decl, mso, end - mso + 1), u"");
  }
  // the font shorthand's blanks separate its parts and its names hold blanks
  for (TextView name : {u"font-family", u"font:"}) {
    const Pos start = InStr(decl, name);
    const Pos semi = start == 0 ? 0 : InStr(start, decl, u";");
    if (semi == 0) continue;
    const Text inner = Replace(Mid(decl, start, semi - start), u" ", Text(1, kProtectedBlank));
    decl = Left(decl, start - 1) + inner + Mid(decl, semi);
  }
  ReplaceAll(decl, u" ", u"");
  ReplaceAll(decl, Text(1, kProtectedBlank), u" ");
}

// Selectors of up to ten characters share the line with their declarations,
// which start in column 12; longer ones stand on a line of their own.
Text RuleText(TextView selector, TextView decl) {
  Text rule(selector);
  if (Len(selector) > 10) {
    rule += u"\r\n";
    rule.append(11, u' ');
  } else {
    rule.append(static_cast<std::size_t>(11 - Len(selector)), u' ');
  }
  rule += decl;
  rule += u"\r\n";
  return rule;
}

}  // namespace

bool PageClassUse::HasElement(TextView opening) {
  return InStr(page_, opening) != 0;
}

bool PageClassUse::HasClass(TextView elementOpen, TextView name) {
  const Text attr = Text(elementOpen) + u" class=" + Text(name);
  return InStr(page_, attr + u" ") != 0 || InStr(page_, attr + u">") != 0;
}

void PageClassUse::QuoteClass(TextView name) {
  const Text bare = u" class=" + Text(name);
  const Text quoted = u" class=\"" + Text(name) + u"\"";
  ReplaceAll(page_, bare + u" ", quoted + u" ");
  ReplaceAll(page_, bare + u">", quoted + u">");
}

std::vector<Text> RuleSelectors(TextView rule) {
  std::vector<Text> selectors;
  const Pos brace = InStr(rule, u" {");
  if (brace == 0) return selectors;
  for (const Text& piece : Split(Left(rule, brace - 1), u",")) selectors.push_back(Trim(piece));
  return selectors;
}

Text CheckClassWith(RevisionState& st, TextView rule, ClassUse& use) {
  Trap trap("Mod_HtmlRev -> Check_Class");
  try {
    trap.Step(1);
    const Pos brace = InStr(rule, u" {");
    if (brace == 0) return {};
    trap.Step(2);
    Text decl = Trim(Mid(rule, brace));
    Text result;
    for (const Text& text : RuleSelectors(rule)) {
      trap.Step(3);
      Selector s = ReadSelector(text);
      if (!IsUsed(s, use)) continue;
      if (s.text == u"p" || Left(s.text, 2) == u"a:") continue;
      trap.Step(4);
      CleanDeclarations(decl);  // the cleaned form carries over to the next selector
      if (decl == u"{}") continue;
      trap.Step(5);
      Text classAttr;
      if (s.hasClass) {
        use.QuoteClass(s.className);
        classAttr = u" class=\"" + s.className + u"\"";
      }
      Text ruleText = RuleText(s.text, decl);
      if (!classAttr.empty()) st.ClassNameSet.Add(classAttr);
      if (st.PageInfo.FontSizeFlag == 1) {
        trap.Step(6);
        Rev_Class_Fontsize(st, s.elementOpen, classAttr, ruleText);
      }
      // Every passing selector keeps its rule: "p.MsoNormal" must survive a
      // used "li.MsoNormal" in the same list.
      result += ruleText;
    }
    return result;
  } catch (...) {
    trap.Fail();
  }
}

Text Check_Class(RevisionState& st, TextView rule) {
  PageClassUse use(st.PageText);
  return CheckClassWith(st, rule, use);
}

void Rev_Class_Fontsize(RevisionState& st, Text& elementOpen, Text& classAttr, Text& ruleText) {
  Trap trap("Mod_HtmlRev -> Rev_Class_Fontsize");
  try {
    trap.Step(1);
    const Pos name = InStr(ruleText, u"font-size:");
    if (name == 0) return;
    const Pos start = name + 10;
    const Pos semi = InStr(start, ruleText, u";");
    if (semi <= start) return;
    const Text size = Mid(ruleText, start, semi - start);
    trap.Step(2);
    const Text percent = FormatNumber(RoundHalfEven(LeadingNumber(size) / 12.0 * 100.0)) + u"%";
    if (Len(percent) <= Len(size))
      ruleText = Left(ruleText, start - 1) + percent + Mid(ruleText, semi);
    trap.Step(3);
    if (elementOpen != u"<p" || !classAttr.empty()) {
      st.ClassFontSizeList.push_back(elementOpen + classAttr + u"|" +
                                     Replace(elementOpen, u"<", u"</") + u"|" + size);
    }
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::revise
