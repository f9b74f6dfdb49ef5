// Rev_Html_State: the order of the whole revision, its pre-clean and split.
#include <utility>

#include "revise/driver_steps.h"
#include "revise/passes.h"
#include "text/failure.h"
#include "text/walk.h"

namespace qp::revise {

namespace {

constexpr TextView kCrLf = u"\r\n";

// Blanks at the start of a line: sweeps for a line break and 16 blanks,
// then 15, down to 1, each taking at most one bite per line, so that up to
// 136 leading blanks go. Done per line in one pass with the same bites.
void DropLeadingBlanks(Text& source) {
  Text out;
  out.reserve(source.size());
  Pos from = 1;
  for (Pos p = InStr(source, kCrLf); p != 0; p = InStr(p + 2, source, kCrLf)) {
    Pos blanks = 0;
    while (CharAt(source, p + 2 + blanks) == u' ') ++blanks;
    Pos taken = 0;
    for (Pos n = 16; n >= 1; --n) {
      if (blanks - taken >= n) taken += n;
    }
    if (taken == 0) continue;
    out += Mid(source, from, p + 2 - from);
    from = p + 2 + taken;
  }
  if (from == 1) return;
  out += Mid(source, from);
  source.swap(out);
}

// Line breaks inside running text and inside tags become blanks; those
// right after a tag stay.
void JoinBrokenLines(Text& source) {
  Text out;
  out.reserve(source.size());
  Pos from = 1;
  for (Pos p = InStr(source, kCrLf); p != 0; p = InStr(p + 2, source, kCrLf)) {
    if (CharAt(source, p - 1) == u'>') continue;
    out += Mid(source, from, p - from);
    out += u' ';
    from = p + 2;
  }
  out += Mid(source, from);
  source.swap(out);
}

// A line break stays only where the next line starts with a tag that is not
// a line-break tag, or at the very end.
void DropBreaksBeforeText(Text& source) {
  for (Pos p = InStr(source, kCrLf); p != 0; p = InStr(p + 2, source, kCrLf)) {
    const Pos next = p + 2;
    const bool atEnd = next > Len(source);
    if (MatchAt(source, next, u"<br>") || MatchAt(source, next, u"<br ") ||
        (!atEnd && !MatchAt(source, next, u"<"))) {
      MarkDeleted(source, p, 2);
    }
  }
  Compact(source);
}

}  // namespace

void PreClean(Text& source) {
  // NUL and code 1 are the marks of later steps; the text must hold none.
  std::erase_if(source, [](char16_t c) { return c == u'\t' || c == u'\0' || c == u'\x0001'; });
  DropLeadingBlanks(source);
  JoinBrokenLines(source);
  ReplaceAll(source, u" lang=EN-US", u"");
  DropLeadingBlanks(source);
  while (ReplaceAll(source, u"\r\n\r\n", kCrLf) != 0) {
  }
  DropBreaksBeforeText(source);
}

void SplitSource(RevisionState& st) {
  const Text& source = st.SourceText;
  const Pos style = InStr(source, u"<style");
  const Pos body = InStr(source, u"<body");
  if (style == 0 || body == 0) Raise(err::kInvalidArgument);
  st.HeadText = Left(source, style - 1);
  // The content starts three characters after ">": the ">" and the line break.
  const Pos close = InStr(style + 6, source, u">");
  if (close != 0) {
    const Pos start = close + 3;
    const Pos end = InStr(start, source, u"</style>");
    if (end > start) st.StyleSheetText = Mid(source, start, end - start);
  }
  st.PageText = Mid(source, body);
}

namespace {

// Inline sizes relative to their class's size, one list entry at a time.
void ApplyClassFontSizes(RevisionState& st) {
  for (const Text& entry : st.ClassFontSizeList) Rev_Font_Size(st, entry);
  Compact(st.PageText);
}

}  // namespace

Text Rev_Html_State(Text& text, const PageInfoRecord& info, const RevisionContext& context,
                    StepObserver* observer) {
  Trap trap("Mod_HtmlRev -> Rev_Html_State");
  try {
    RevisionState st;
    st.SourceText = text;
    st.PageInfo = info;
    st.Context = context;
    std::vector<Text> rules;
    const auto step = [&](int n, auto&& body) {
      trap.Step(n);
      body();
      if (observer != nullptr) observer->AfterStep(n, st);
    };
    const PageInfoRecord& pi = st.PageInfo;
    Text& page = st.PageText;

    // clang-format off
    step(1,  [&] { Del_Xml_State(st); });                 // Office markup out before any tag is read
    step(2,  [&] { PreClean(st.SourceText); });           // line structure the later steps rely on
    step(3,  [&] { SplitSource(st); });                   // head / style rules / body
    step(4,  [&] { rules = StyleBlockToRules(st.StyleSheetText); });
    step(5,  [&] { BodyRule(st); });                      // empties the sheet, body rule first
    step(6,  [&] { KeepUsedRules(st, rules); });          // fills ClassNameSet and ClassFontSizeList
    step(7,  [&] { DropUnkeptClasses(st); });             // needs ClassNameSet; marks stay until 9
    step(8,  [&] { RewriteSections(st); });
    step(9,  [&] { DropEmptyStyles(page); });             // also removes the marks of 7
    step(10, [&] { UnwrapSpans(page); });
    step(11, [&] { DropBlanksInTags(page); });            // "font-size: 9pt" must read as one value
    step(12, [&] { if (pi.FontSizeFlag == 1) ApplyClassFontSizes(st); });
    step(13, [&] { Del_Lines(st); });
    step(14, [&] { Rev_IEE_Style(st); });
    step(15, [&] { Toget_Style(st); });                   // inline styles become classes
    step(16, [&] { KeepRunningBlanks(page); });           // after 15: attribute blanks are gone
    step(17, [&] { if (pi.Centering == 1) CentreBody(st); });
    step(18, [&] { Set_Quote(st); });
    step(19, [&] { ReplaceAll(page, u"\r\n<br>", u"<br>"); });  // breaks join their line first
    step(20, [&] { Rev_BrTag(st); });                     // then each "<br>" ends its line
    step(21, [&] { if (pi.IndentFlag == 1) Set_Indent(st); });  // last edit of the line layout
    step(22, [&] { Rev_Unit(st); });                      // every rule is in the sheet by now
    step(23, [&] { TidyStyleRules(st); });                // sees the pixel values of 22
    step(24, [&] { NormalParagraphRule(st); });
    step(25, [&] { WidenKatakana(page); });
    step(26, [&] { AssemblePage(st); });
    // clang-format on

    text = std::move(st.SourceText);
    return {};
  } catch (...) {
    trap.Fail();
  }
}

Text Rev_Html_State(Text& text, const PageInfoRecord& info, const RevisionContext& context) {
  return Rev_Html_State(text, info, context, nullptr);
}

}  // namespace qp::revise
