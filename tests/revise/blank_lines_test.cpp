#include "fixtures.h"

namespace qp::revise {
namespace {

using testing::ExpectExamples;
using testing::ExpectFailure;

constexpr auto kPage = &RevisionState::PageText;

TEST(DelLines, DropsOnlyTheEmptyParagraphsThatEndTheBody) {
  ExpectExamples(
      [](RevisionState& st) { Del_Lines(st); }, kPage,
      {
          {"<p class=\"MsoNormal\">Text</p>¶<p class=\"MsoNormal\">&nbsp;</p>¶"
           "<p class=\"MsoNormal\">&nbsp;</p>¶</div>¶</body>",
           "<p class=\"MsoNormal\">Text</p>¶</div>¶</body>"},
          // without the section block, the body's end is the marker
          {"<p>a</p>¶<p>&nbsp;</p>¶</body>", "<p>a</p>¶</body>"},
          // nothing to drop: unchanged
          {"<p>a</p>¶</div>¶</body>", "<p>a</p>¶</div>¶</body>"},
          // an empty paragraph that is not at the end stays
          {"<p>&nbsp;</p>¶<p>a</p>¶</body>", "<p>&nbsp;</p>¶<p>a</p>¶</body>"},
          // one line with text and a non-breaking space goes as well
          {"<p>a</p>¶<p><b>Note</b><span>&nbsp;</span></p>¶</body>", "<p>a</p>¶</body>"},
          // one that spans lines stays
          {"<p>a</p>¶<p>&nbsp;<br>¶x</p>¶</body>", "<p>a</p>¶<p>&nbsp;<br>¶x</p>¶</body>"},
          // the walk stops where paragraphs no longer follow each other
          {"<p>&nbsp;</p>¶¶<p>&nbsp;</p>¶</body>", "<p>&nbsp;</p>¶¶</body>"},
          // "<p>" counts only without any "<p " in front
          {"<p>&nbsp;</p>¶</body>", "</body>"},
          // otherwise the stretch tested runs from the last "<p " in front
          {"<p class=a>x</p><p>&nbsp;</p>¶</body>", "</body>"},
          // a "</div>" after the body's end is not the marker
          {"<p>&nbsp;</p>¶</body></div>", "</body></div>"},
      });
}

TEST(DelLines, StructureFailures) {
  const auto pass = [](RevisionState& st) { Del_Lines(st); };
  ExpectFailure(pass, kPage, "<p>x</p>", "Mod_HtmlRev -> Del_Lines", err::kStructure, 1);
  ExpectFailure(pass, kPage, "x</p>¶</body>", "Mod_HtmlRev -> Del_Lines", err::kStructure, 2);
}

TEST(RevBrTag, EveryLineBreakEndsItsSourceLine) {
  ExpectExamples([](RevisionState& st) { Rev_BrTag(st); }, kPage,
                 {
                     {"line 1<br>line 2", "line 1<br>¶line 2"},
                     {"a<br><br>b", "a<br><br>¶b"},
                     {"a<br>¶b", "a<br>¶b"},
                     {"a<br>", "a<br>¶"},  // at the very end
                     {"a<br clear=all>b<BR>c", "a<br clear=all>¶b<BR>c"},
                     {"a<br>\r", "a<br>¶\r"},  // a lone CR is not a line break
                     {"<br", "<br"},           // no ">": the walk ends
                     {"x<brx y>z", "x<brx y>¶z"},
                 });
}

}  // namespace
}  // namespace qp::revise
