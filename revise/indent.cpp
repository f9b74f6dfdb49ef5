// Set_Indent: re-indents the page line by line after the nesting of its
// tags, four blanks a level. Only the first tag of a line opens a level and
// only its last closing tag closes one; tags in between do not count.
#include <algorithm>
#include <vector>

#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {

namespace {

constexpr std::size_t kMaxDepth = 77;

// "p" for `<p class="x">text`: the name of the tag the line starts with,
// cut at the first blank in front of the first ">". Empty when the line does
// not start with an opening tag or starts with a line break.
Text OpeningName(TextView line) {
  Pos end = InStr(line, u">");
  const Pos blank = InStr(line, u" ");
  if (end != 0 && blank != 0 && blank < end) end = blank;
  if (end <= 2 || !MatchAt(line, 1, u"<") || MatchAt(line, 2, u"/")) return {};
  Text name = Mid(line, 2, end - 2);
  return name == u"br" ? Text() : name;
}

// The name of the line's last closing tag; empty when there is none. A "</"
// without a ">" after it is not a tag.
Text ClosingName(TextView line) {
  const Pos open = InStrRev(line, u"</");
  if (open == 0) return {};
  const Pos end = InStr(open + 2, line, u">");
  if (end <= open + 2) return {};
  Text name = Mid(line, open + 2, end - open - 2);
  return name == u"br" ? Text() : name;
}

}  // namespace

void Set_Indent(RevisionState& st) {
  Trap trap("Mod_HtmlRev -> Set_Indent");
  try {
    trap.Step(1);
    const std::vector<Text> lines = Split(st.PageText, u"\r\n");
    Text out;
    out.reserve(st.PageText.size() + st.PageText.size() / 4);
    std::vector<Text> open;  // the names of the open tags, innermost last
    std::size_t previousLevel = 0;
    trap.Step(2);
    for (const Text& line : lines) {
      const Text opening = OpeningName(line);
      const Text closing = ClosingName(line);
      std::size_t level = previousLevel;
      if (!opening.empty()) {
        level = open.size();
      } else if (!open.empty()) {
        level = open.size() - 1;
      }
      // Deeper than kMaxDepth the indent stops growing: a page nested that
      // deep (tables in tables, 25 levels) is still written.
      out.append(std::min(level, kMaxDepth) * 4, u' ');
      out += line;
      out += u"\r\n";
      if (!opening.empty()) {
        open.push_back(opening);
      }
      if (!closing.empty()) {
        // a closing name that is not open changes nothing
        for (std::size_t k = open.size(); k > 0; --k) {
          if (open[k - 1] == closing) {
            open.resize(k - 1);
            break;
          }
        }
      }
      previousLevel = level;
    }
    trap.Step(3);
    st.PageText.swap(out);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::revise
