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

// A document nested deeper than 77 tags (tables 25 deep) still gets its
// page: the indent stops growing there instead of ending the run.
TEST(SetIndent, PastSeventySevenOpenTagsTheIndentStopsGrowing) {
  Text deep;
  for (int i = 0; i < 80; ++i) deep += u"<div>\r\n";
  deep += u"text\r\n";
  for (int i = 0; i < 80; ++i) deep += u"</div>\r\n";
  deep += u"<p>after</p>";
  RevisionState st;
  st.PageText = deep;
  EXPECT_NO_THROW(Set_Indent(st));
  const std::vector<Text> lines = Split(st.PageText, u"\r\n");
  EXPECT_EQ(lines[76], Text(76 * 4, u' ') + u"<div>");
  EXPECT_EQ(lines[77], Text(77 * 4, u' ') + u"<div>");
  EXPECT_EQ(lines[79], Text(77 * 4, u' ') + u"<div>");
  EXPECT_EQ(lines[80], Text(77 * 4, u' ') + u"text");
  EXPECT_EQ(lines[161], u"<p>after</p>");
}

}  // namespace
}  // namespace qp::revise
