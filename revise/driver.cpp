// Rev_Html_State: the order of the whole revision, its pre-clean and split.
#include <utility>

#include "revise/driver_steps.h"
#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {

namespace {

constexpr TextView kCrLf = u"\r\n";

// Line breaks followed by 16 blanks down to 1, largest first, so that up to
// 136 leading blanks of a line go.
void DropLeadingBlanks(Text& source) {
  for (int n = 16; n >= 1; --n) {
    Text find(kCrLf);
    find.append(static_cast<std::size_t>(n), u' ');
    ReplaceAll(source, find, kCrLf);
  }
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
  ReplaceAll(source, u"\t", u"");
  ReplaceAll(source, TextView(u"\0", 1), u"");
  ReplaceAll(source, u"\x0001", u"");
  DropLeadingBlanks(source);
  // Line breaks after a tag are protected while the others become blanks.
  ReplaceAll(source, u">\r\n", TextView(u">\0", 2));
  ReplaceAll(source, kCrLf, u" ");
  ReplaceAll(source, TextView(u">\0", 2), u">\r\n");
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
