// Every page Word saved in the corpus goes through the whole revision; the
// steps rewritten for speed are compared with their direct forms on the
// buffers those pages give.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "driver_fixture.h"
#include "revise/driver_steps.h"
#include "revise/passes.h"
#include "tests/corpus.h"
#include "text/failure.h"
#include "text/number.h"
#include "text/walk.h"

namespace qp::revise {
namespace {

using test::CorpusPages;
using test::DefaultInfo;
using test::LoadPage;

// The buffers after chosen steps of one run.
struct Snapshots : StepObserver {
  std::map<int, RevisionState> after;
  void AfterStep(int step, const RevisionState& st) override { after[step] = st; }
};

// Direct forms: the sweeps as the steps are described, one replacement each.
void PreCleanDirect(Text& s) {
  ReplaceAll(s, u"\t", u"");
  ReplaceAll(s, TextView(u"\0", 1), u"");
  ReplaceAll(s, u"\x0001", u"");
  const auto leading = [&] {
    for (int n = 16; n >= 1; --n)
      ReplaceAll(s, u"\r\n" + Text(static_cast<std::size_t>(n), u' '), u"\r\n");
  };
  leading();
  ReplaceAll(s, u">\r\n", TextView(u">\0", 2));
  ReplaceAll(s, u"\r\n", u" ");
  ReplaceAll(s, TextView(u">\0", 2), u">\r\n");
  ReplaceAll(s, u" lang=EN-US", u"");
  leading();
  while (ReplaceAll(s, u"\r\n\r\n", u"\r\n") != 0) {
  }
  for (Pos p = InStr(s, u"\r\n"); p != 0; p = InStr(p + 2, s, u"\r\n")) {
    if (MatchAt(s, p + 2, u"<br>") || MatchAt(s, p + 2, u"<br ") ||
        (p + 2 <= Len(s) && !MatchAt(s, p + 2, u"<"))) {
      MarkDeleted(s, p, 2);
    }
  }
  Compact(s);
}

void DropBlanksInTagsDirect(Text& page) {
  for (TextView sign : {u":", u";"}) {
    for (Pos n = 8; n >= 1; --n) {
      const Text find = Text(sign) + Text(static_cast<std::size_t>(n), u' ');
      for (Pos p = InStr(page, find); p != 0; p = InStr(p + 1, page, find)) {
        if (InStrRev(page, u">", p) < InStrRev(page, u"<", p)) MarkDeleted(page, p + 1, n);
      }
    }
  }
  Compact(page);
}

void RewriteSectionsDirect(RevisionState& st) {
  Text& page = st.PageText;
  int number = 0;
  float pitch = 0;
  const PageInfoRecord& info = st.PageInfo;
  for (Pos s = InStr(page, u"<div class=Section", Compare::TextCompare); s != 0;) {
    const Pos g = InStr(s + 1, page, u">");
    if (g == 0) break;
    Text tag = u"<div id=divsec" + FormatInteger(++number);
    if (info.LayoutGrid != 0 || info.FixWidth != 0 || info.Centering != 0) {
      tag += u" style='";
      if (info.LayoutGrid == 1) {
        const Pos grid = InStr(s, page, u"grid:", Compare::TextCompare);
        if (grid != 0 && grid < g) {
          const Pos pt = InStr(grid + 5, page, u"pt", Compare::TextCompare);
          if (pt != 0 && pt < g)
            pitch = static_cast<float>(LeadingNumber(Mid(page, grid + 5, pt - grid - 5)));
        }
        tag += u"layout-grid:" + FormatSingle(pitch) + u"pt;";
      }
      if (info.FixWidth == 1) tag += u"width:" + FormatSingle(info.TextWidth) + u"pt;";
      if (info.Centering == 1) tag += u"margin-left:auto;margin-right:auto;text-align:left;";
      tag += u"'>";
    } else {
      tag += u">";
    }
    page = Left(page, s - 1) + tag + Mid(page, g + 1);
    s = InStr(g + 1, page, u"<div class=Section", Compare::TextCompare);
  }
}

TEST(Corpus, EveryPageRevisesOrFailsWithAReport) {
  QP_NEED_CORPUS("wordhtml");
  std::map<std::string, int> outcomes;
  for (const auto& path : CorpusPages()) {
    Text page = LoadPage(path);
    std::string outcome = "success";
    try {
      Rev_Html_State(page, DefaultInfo(), {});
      EXPECT_EQ(page.find(u'\0'), Text::npos) << path;
      EXPECT_EQ(page.find(u'\x0001'), Text::npos) << path;
    } catch (const Failure& f) {
      outcome = f.code() == err::kStructure ? "structure failure" : "other failure";
      std::printf("  %s: %s Line=%d Code=%d\n", path.filename().c_str(), f.location().c_str(),
                  f.step(), f.code());
    }
    ++outcomes[outcome];
  }
  for (const auto& [outcome, count] : outcomes) std::printf("%-18s %d\n", outcome.c_str(), count);
  EXPECT_GT(outcomes["success"], 0);
}

TEST(Corpus, FastStepsMatchTheirDirectForms) {
  QP_NEED_CORPUS("wordhtml");
  int compared = 0;
  for (PageInfoRecord info : {DefaultInfo(), PageInfoRecord{}}) {
    info.Centering = compared == 0 ? 0 : 1;
    info.FixWidth = 1;
    info.TextWidth = 425.2f;
    for (const auto& path : CorpusPages()) {
      Text page = LoadPage(path);
      Snapshots snaps;
      try {
        Rev_Html_State(page, info, {}, &snaps);
      } catch (const Failure&) {
      }
      if (snaps.after.count(1)) {
        Text fast = snaps.after[1].SourceText, direct = fast;
        PreClean(fast);
        PreCleanDirect(direct);
        EXPECT_TRUE(fast == direct) << "pre-clean " << path;
      }
      if (snaps.after.count(5)) {
        RevisionState fast = snaps.after[5], direct = fast;
        Text sheet = snaps.after[3].StyleSheetText;
        const std::vector<Text> rules = StyleBlockToRules(sheet);
        KeepUsedRules(fast, rules);
        KeepUsedRulesDirect(direct, rules);
        EXPECT_TRUE(fast.StyleSheetText == direct.StyleSheetText) << "rules " << path;
        EXPECT_TRUE(fast.PageText == direct.PageText) << "quoted classes " << path;
        EXPECT_EQ(fast.ClassNameSet.items(), direct.ClassNameSet.items()) << path;
        EXPECT_EQ(fast.ClassFontSizeList, direct.ClassFontSizeList) << path;
      }
      if (snaps.after.count(7)) {
        RevisionState fast = snaps.after[7], direct = fast;
        RewriteSections(fast);
        RewriteSectionsDirect(direct);
        EXPECT_TRUE(fast.PageText == direct.PageText) << "sections " << path;
      }
      if (snaps.after.count(10)) {
        Text fast = snaps.after[10].PageText, direct = fast;
        DropBlanksInTags(fast);
        DropBlanksInTagsDirect(direct);
        EXPECT_TRUE(fast == direct) << "blanks in tags " << path;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace qp::revise
