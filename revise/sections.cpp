// The driver's steps on class attributes and section blocks, and the
// centring block around the body content.
#include "revise/driver_steps.h"
#include "revise/finder.h"
#include "text/failure.h"
#include "text/number.h"

namespace qp::revise {

void DropUnkeptClasses(RevisionState& st) {
  Text& page = st.PageText;
  Finder blanks(u" ");
  Finder tagEnds(u">");
  for (Pos p = InStr(page, u" class="); p != 0;) {
    const Pos blank = blanks.Next(page, p + 1);
    const Pos close = tagEnds.Next(page, p + 1);
    Pos end = blank;
    if (blank == 0 || (close != 0 && close < blank)) end = close;
    if (end == 0) Raise(err::kInvalidArgument);  // an attribute running to the end of the text
    const Text attr = Mid(page, p, end - p);
    // Word's section classes stay for the section step; the NUL marks stay
    // until the empty styles are removed
    if (InStr(attr, u"class=Section", Compare::TextCompare) == 0 &&
        !st.ClassNameSet.Contains(attr)) {
      MarkDeleted(page, p, end - p);
    }
    p = InStr(end, page, u" class=");
  }
}

namespace {

constexpr TextView kSectionTag = u"<div class=Section";

// The grid pitch of a section tag's "grid:...pt", or `pitch` unchanged.
float GridPitch(TextView tag, float pitch) {
  const Pos grid = InStr(tag, u"grid:", Compare::TextCompare);
  if (grid == 0) return pitch;
  const Pos unit = InStr(grid + 5, tag, u"pt", Compare::TextCompare);
  if (unit == 0) return pitch;
  return static_cast<float>(LeadingNumber(Mid(tag, grid + 5, unit - grid - 5)));
}

Text SectionTag(const PageInfoRecord& info, int number, float pitch) {
  Text tag = u"<div id=divsec" + FormatInteger(number);
  if (info.LayoutGrid == 0 && info.FixWidth == 0 && info.Centering == 0) return tag + u">";
  tag += u" style='";
  if (info.LayoutGrid == 1) tag += u"layout-grid:" + FormatSingle(pitch) + u"pt;";
  if (info.FixWidth == 1) tag += u"width:" + FormatSingle(info.TextWidth) + u"pt;";
  if (info.Centering == 1) tag += u"margin-left:auto;margin-right:auto;text-align:left;";
  return tag + u"'>";
}

}  // namespace

// Each section tag is replaced where it stands, and the search for the next
// one goes on at the old tag's end position counted in the changed text: a
// new tag shorter than the old one makes it skip that many characters. The
// page is rebuilt once, with the skip reproduced.
void RewriteSections(RevisionState& st) {
  const Text& page = st.PageText;
  Text out;
  Pos from = 1;
  int number = 0;
  float pitch = 0;
  for (Pos s = InStr(page, kSectionTag, Compare::TextCompare); s != 0;) {
    const Pos g = InStr(s + 1, page, u">");
    if (g == 0) break;  // an unfinished tag stays as it is
    const Text oldTag = Mid(page, s, g - s + 1);
    if (st.PageInfo.LayoutGrid == 1) pitch = GridPitch(oldTag, pitch);
    const Text newTag = SectionTag(st.PageInfo, ++number, pitch);
    out += Mid(page, from, s - from);
    out += newTag;
    from = g + 1;
    const Pos skip = Len(oldTag) - Len(newTag);
    s = InStr(g + 1 + (skip > 0 ? skip : 0), page, kSectionTag, Compare::TextCompare);
  }
  if (number == 0) return;
  out += Mid(page, from);
  st.PageText = std::move(out);
}

// The body tag is found written with attributes or bare: an English page
// loses " lang=EN-US" in the pre-clean and its style to the office-property
// removal, so it reaches this step as "<body>".
void CentreBody(RevisionState& st) {
  Text& page = st.PageText;
  const Pos withAttributes = InStr(page, u"<body ");
  const Pos bare = InStr(page, u"<body>");
  const Pos body =
      withAttributes == 0 || (bare != 0 && bare < withAttributes) ? bare : withAttributes;
  if (body == 0) Raise(err::kInvalidArgument);
  const Pos end = InStr(body, page, u">");
  if (end == 0) Raise(err::kInvalidArgument);
  page = Left(page, end) + u"\r\n<div align=center>" + Mid(page, end + 1);
  ReplaceAll(page, u"</body>", u"</div>\r\n</body>");
}

}  // namespace qp::revise
