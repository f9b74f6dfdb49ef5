// The passes that were written for speed against their direct forms, on the
// real pages of the corpus and on random texts made of the markers they look
// for: same text out, or the same failure.
#include <random>

#include "direct_forms.h"
#include "fixtures.h"
#include "tests/corpus.h"

namespace qp::revise {
namespace {

using testing::HasNulOrOne;
using testing::Show;

// Two buffers in, two out: (source or page, style sheet).
using Pass = std::function<void(Text&, Text&)>;

struct Result {
  std::int32_t code = 0;  // 0: ran through
  Text first, second;
};

Result RunOne(const Pass& pass, Text first, Text second) {
  Result r;
  try {
    pass(first, second);
    r.first = std::move(first);
    r.second = std::move(second);
  } catch (...) {
    r.code = ErrorNumberOf(std::current_exception());
  }
  return r;
}

// Returns false (after reporting) when the two forms disagree.
bool Agree(const std::string& what, const Pass& fast, const Pass& slow, const Text& first,
           const Text& second) {
  const Result f = RunOne(fast, first, second);
  const Result s = RunOne(slow, first, second);
  EXPECT_EQ(f.code, s.code) << what;
  EXPECT_TRUE(f.first == s.first) << what << "\ninput:  " << Show(first).substr(0, 2000)
                                  << "\nfast:   " << Show(f.first).substr(0, 2000)
                                  << "\ndirect: " << Show(s.first).substr(0, 2000);
  EXPECT_TRUE(f.second == s.second) << what << "\nfast:   " << Show(f.second).substr(0, 2000)
                                    << "\ndirect: " << Show(s.second).substr(0, 2000);
  if (f.code == 0 && !HasNulOrOne(first) && !HasNulOrOne(second)) {
    EXPECT_FALSE(HasNulOrOne(f.first) || HasNulOrOne(f.second)) << what;
  }
  return f.code == s.code && f.first == s.first && f.second == s.second;
}

Pass OnPage(void (*pass)(RevisionState&)) {
  return [pass](Text& page, Text& sheet) {
    RevisionState st;
    st.PageText = std::move(page);
    st.StyleSheetText = std::move(sheet);
    pass(st);
    page = std::move(st.PageText);
    sheet = std::move(st.StyleSheetText);
  };
}

const Pass kFastXml = [](Text& source, Text&) {
  RevisionState st;
  st.SourceText = std::move(source);
  Del_Xml_State(st);
  source = std::move(st.SourceText);
};
const Pass kSlowXml = [](Text& source, Text&) { direct::DelXmlState(source); };
const Pass kFastIEE = OnPage(Rev_IEE_Style);
const Pass kSlowIEE = [](Text& page, Text&) { direct::RevIEEStyle(page); };
const Pass kFastQuote = OnPage(Set_Quote);
const Pass kSlowQuote = [](Text& page, Text&) { direct::SetQuote(page); };
const Pass kFastBr = OnPage(Rev_BrTag);
const Pass kSlowBr = [](Text& page, Text&) { direct::RevBrTag(page); };
const Pass kFastToget = OnPage(Toget_Style);
const Pass kSlowToget = [](Text& page, Text& sheet) { direct::TogetStyle(page, sheet); };
const Pass kFastUnit = [](Text&, Text& sheet) {
  RevisionState st;
  st.StyleSheetText = std::move(sheet);
  Rev_Unit(st);
  sheet = std::move(st.StyleSheetText);
};
const Pass kSlowUnit = [](Text&, Text& sheet) { direct::RevUnit(sheet, 10); };

// The later passes in the order the driver runs them.
const Pass kFastChain = [](Text& page, Text& sheet) {
  for (const Pass& p : {kFastIEE, kFastToget, kFastQuote, kFastBr, kFastUnit}) p(page, sheet);
};
const Pass kSlowChain = [](Text& page, Text& sheet) {
  for (const Pass& p : {kSlowIEE, kSlowToget, kSlowQuote, kSlowBr, kSlowUnit}) p(page, sheet);
};

TEST(Differential, RealPages) {
  const auto pages = testing::CorpusPages();
  QP_NEED_CORPUS("wordhtml");
  for (const auto& path : pages) {
    const std::string name = path.filename().string();
    Text source = testing::ReadPage(path);
    Text none;
    Agree(name + " Del_Xml_State", kFastXml, kSlowXml, source, none);
    // The later passes see the body and the style rules; where the markup
    // removal fails, the raw page stands in.
    const Result cleaned = RunOne(kFastXml, source, none);
    if (cleaned.code == 0) source = cleaned.first;
    const Pos body = InStr(source, u"<body");
    const Text page = body != 0 ? Mid(source, body) : source;
    Text sheet;
    if (const Pos style = InStr(source, u"<style"); style != 0) {
      const Pos open = InStr(style, source, u">");
      const Pos close = InStr(open + 1, source, u"</style>");
      if (open != 0 && close > open) sheet = Mid(source, open + 1, close - open - 1);
    }
    Agree(name + " Rev_IEE_Style", kFastIEE, kSlowIEE, page, sheet);
    Agree(name + " Set_Quote", kFastQuote, kSlowQuote, page, sheet);
    Agree(name + " Rev_BrTag", kFastBr, kSlowBr, page, sheet);
    Agree(name + " Toget_Style", kFastToget, kSlowToget, page, sheet);
    Agree(name + " Rev_Unit", kFastUnit, kSlowUnit, page, sheet);
    Agree(name + " chain", kFastChain, kSlowChain, page, sheet);
  }
}

// Random texts made of the markers the passes look for, so that the odd
// orders (markers inside values, missing ends, overlaps) come up often.
Text RandomText(std::mt19937& rng, const std::vector<const char16_t*>& tokens, int maxTokens) {
  std::uniform_int_distribution<int> count(0, maxTokens);
  std::uniform_int_distribution<std::size_t> pick(0, tokens.size() - 1);
  Text t;
  for (int n = count(rng); n > 0; --n) t += tokens[pick(rng)];
  return t;
}

const std::vector<const char16_t*> kTagTokens = {u"<",
                                                 u">",
                                                 u" ",
                                                 u"'",
                                                 u"\"",
                                                 u"=",
                                                 u"x",
                                                 u"1",
                                                 u"2.5",
                                                 u"%",
                                                 u"<tr ",
                                                 u"<img ",
                                                 u"<table ",
                                                 u"<td ",
                                                 u"<p ",
                                                 u"<a ",
                                                 u" height=",
                                                 u" width=",
                                                 u"width:",
                                                 u";",
                                                 u" align=",
                                                 u"text-align:",
                                                 u" title=\"",
                                                 u" alt=",
                                                 u" layout=",
                                                 u" style='",
                                                 u"class=\"",
                                                 u"<br",
                                                 u"\r\n",
                                                 u"<br>",
                                                 u"<span ",
                                                 u" style='color:red'",
                                                 u" class=\"c1\"",
                                                 u"<p>",
                                                 u"border-width:"};

const std::vector<const char16_t*> kOfficeTokens = {u"<",
                                                    u">",
                                                    u" ",
                                                    u"\n",
                                                    u"'",
                                                    u"\"",
                                                    u";",
                                                    u"x",
                                                    u"=",
                                                    u"v:",
                                                    u"mso-",
                                                    u"anguage",
                                                    u"tab-stops",
                                                    u"<div ",
                                                    u" id=\"",
                                                    u"<body>",
                                                    u"<!--",
                                                    u"-->",
                                                    u" x:str",
                                                    u" x:num",
                                                    u"<o:p",
                                                    u"</o:p>",
                                                    u"<![if",
                                                    u"]>",
                                                    u"<!--[",
                                                    u"]-->",
                                                    u"<meta name=ProgId",
                                                    u"<LINK REL=file-list",
                                                    u"<html",
                                                    u"<param",
                                                    u"style='",
                                                    u"<p "};

const std::vector<const char16_t*> kSheetTokens = {
    u" ", u":",  u";", u"}",  u"{",   u"pt",  u"mm",  u"gd",      u"1",   u"0.25",
    u"-", u".5", u"x", u"PT", u"pt ", u"mm;", u"gd}", u"10.5pt;", u"\r\n"};

TEST(Differential, RandomMarkerTexts) {
  std::mt19937 rng(20240601);
  int disagreements = 0;
  for (int i = 0; i < 10000 && disagreements < 3; ++i) {
    const Text tags = RandomText(rng, kTagTokens, 30);
    const Text office = u"<body>" + RandomText(rng, kOfficeTokens, 30);
    const Text sheet = RandomText(rng, kSheetTokens, 30);
    Text none;
    const std::string n = std::to_string(i);
    disagreements += !Agree(n + " Del_Xml_State", kFastXml, kSlowXml, office, none);
    disagreements += !Agree(n + " Rev_IEE_Style", kFastIEE, kSlowIEE, tags, none);
    disagreements += !Agree(n + " Set_Quote", kFastQuote, kSlowQuote, tags, none);
    disagreements += !Agree(n + " Rev_BrTag", kFastBr, kSlowBr, tags, none);
    disagreements += !Agree(n + " Toget_Style", kFastToget, kSlowToget, tags, none);
    disagreements += !Agree(n + " Rev_Unit", kFastUnit, kSlowUnit, none, sheet);
  }
}

}  // namespace
}  // namespace qp::revise
