#include "fixtures.h"

namespace qp::revise {
namespace {

using testing::ExpectExamples;
using testing::ExpectFailure;

constexpr auto kPage = &RevisionState::PageText;
const auto kPass = [](RevisionState& st) { Set_Indent(st); };

TEST(SetIndent, FourBlanksALevelAfterTheFirstAndLastTagOfEachLine) {
  ExpectExamples(kPass, kPage,
                 {
                     {"<body>¶<div>¶<p class=\"x\">text</p>¶text¶</div>¶</body>",
                      "<body>¶    <div>¶        <p class=\"x\">text</p>¶    text¶    </div>¶"
                      "</body>¶"},
                     // every line gets CR LF, so a final CR LF gains an empty line
                     {"<p>a</p>¶", "<p>a</p>¶¶"},
                     // own leading blanks stay behind the indent; text never opens
                     {"<div>¶  x¶</div>", "<div>¶  x¶</div>¶"},
                     // line breaks neither open nor close
                     {"<div>¶<br>¶<br clear=all>¶</div>", "<div>¶<br>¶<br clear=all>¶</div>¶"},
                     // a closing tag that is not open changes nothing
                     {"<div>¶</span>¶x¶</div>", "<div>¶</span>¶x¶</div>¶"},
                     // an element without end stays open until an outer one closes;
                     // with nothing open, a line keeps the level of the one before
                     {"<div>¶<img src=a>¶<p>b</p>¶</div>¶x",
                      "<div>¶    <img src=a>¶        <p>b</p>¶    </div>¶    x¶"},
                     {"x¶y", "x¶y¶"},
                     // a "</" without ">" is not a closing tag
                     {"<div>¶a </ b¶</div>", "<div>¶a </ b¶</div>¶"},
                 });
}

TEST(SetIndent, LongLinesStayWhole) {
  RevisionState st;
  const Text line(40000, u'x');
  st.PageText = u"<div>\r\n" + line + u"\r\n</div>";
  Set_Indent(st);
  EXPECT_EQ(st.PageText, u"<div>\r\n" + line + u"\r\n</div>\r\n");
}

TEST(SetIndent, SeventySevenOpenTagsAreTheLimit) {
  Text deep;
  for (int i = 0; i < 77; ++i) deep += u"<div>\r\n";
  RevisionState st;
  st.PageText = deep;
  EXPECT_NO_THROW(Set_Indent(st));
  std::string deeper;
  for (int i = 0; i < 78; ++i) deeper += "<div>¶";
  ExpectFailure(kPass, kPage, deeper, "Mod_HtmlRev -> Set_Indent", err::kSubscriptOutOfRange, 2);
}

}  // namespace
}  // namespace qp::revise
