#include "fixtures.h"

namespace qp::revise {
namespace {

using testing::ExpectExamples;
using testing::ExpectFailure;

constexpr auto kPage = &RevisionState::PageText;
const auto kPass = [](RevisionState& st) { Set_Quote(st); };

TEST(SetQuote, QuotesEveryUnquotedValue) {
  ExpectExamples(kPass, kPage,
                 {
                     {"<td width=120 class=x>", R"(<td width="120" class="x">)"},
                     {"<td class=x>a</td>", R"(<td class="x">a</td>)"},
                     {"<img src=a.gif>", R"(<img src="a.gif">)"},
                     {"<br>", "<br>"},
                     {R"(<a href="x.htm">)", R"(<a href="x.htm">)"},
                     {"text = 1 <b>", "text = 1 <b>"},  // outside tags nothing counts
                     // single quotes are not quotes here
                     {"<p style='a:b'>", R"(<p style="'a:b'">)"},
                     // a value with a blank is quoted up to the blank
                     {"<p title=a b>", R"(<p title="a" b>)"},
                     // an "=" inside a quoted value belongs to the value
                     {R"(<a href="x?a=1&amp;b=2">)", R"(<a href="x?a=1&amp;b=2">)"},
                     {R"(<a href="x?a=1" b=c>)", R"(<a href="x?a=1" b="c">)"},
                     // an unclosed quote ends nothing: the old rule applies
                     {R"(<a href="x?a=1 name=n>)", R"(<a href="x?a="1" name="n">)"},
                     {"<a x= y>", R"(<a x="" y>)"},
                     // a "<" in a value starts a tag that ends at the same ">"
                     {"<a title=<b c=d>e", R"(<a title="<b" c="d">e)"},
                     {"<a b=c><d e=f>", R"(<a b="c"><d e="f">)"},
                 });
}

TEST(SetQuote, AnOpenTagWithoutEndIsAStructureFailure) {
  ExpectFailure(kPass, kPage, "<p a=b>x<p", "Mod_HtmlRev -> Set_Quote", err::kStructure);
}

}  // namespace
}  // namespace qp::revise
