// Rev_Font_Size: inline point sizes inside the elements of one class become
// percentages of that class's size.
#include "revise/finder.h"
#include "revise/passes.h"
#include "text/failure.h"
#include "text/number.h"
#include "text/walk.h"

namespace qp::revise {

namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// A point value: sign, digits, optional fraction, then "pt" and nothing else.
// Anything else up to the next "pt" (another unit, a value an earlier entry
// already made a percentage) is not a size to convert: reading it would
// take the text up to some later "pt" for a value and delete it.
bool IsPointValue(TextView value) {
  const Pos end = Len(value) - 2;  // "pt" excluded
  Pos i = 1;
  if (CharAt(value, i) == u'+' || CharAt(value, i) == u'-') ++i;
  Pos digits = 0;
  for (; i <= end && IsDigit(CharAt(value, i)); ++i) ++digits;
  if (i <= end && CharAt(value, i) == u'.') {
    for (++i; i <= end && IsDigit(CharAt(value, i)); ++i) ++digits;
  }
  return digits > 0 && i == end + 1;
}

// The first element start at or after `from`: the opening text followed by
// a blank or by ">", whichever comes first.
Pos ElementStart(const Text& page, Finder& withBlank, Finder& withClose, Pos from) {
  const Pos a1 = withBlank.Next(page, from);
  const Pos a2 = withClose.Next(page, from);
  if (a1 == 0 || (a2 != 0 && a2 < a1)) return a2;
  return a1;
}

}  // namespace

void Rev_Font_Size(RevisionState& st, TextView entry) {
  Trap trap("Mod_HtmlRev -> Rev_Font_Size");
  try {
    trap.Step(1);
    const std::vector<Text> fields = Split(entry, u"|");
    const Text open = fields[0];
    const Text close = fields.size() > 1 ? fields[1] : Text();
    const float base = static_cast<float>(LeadingNumber(fields.size() > 2 ? fields[2] : Text()));
    Text& page = st.PageText;
    Finder withBlank(open + u" ");
    Finder withClose(open + u">");
    Finder closes(close);
    Finder sizes(u"font-size:");
    Finder units(u"pt");
    trap.Step(2);
    Pos a = ElementStart(page, withBlank, withClose, 1);
    while (a != 0) {
      trap.Step(3);
      const Pos c = closes.Next(page, a);
      if (c <= a) break;
      for (Pos e = sizes.Next(page, a); e != 0 && e <= c; e = sizes.Next(page, e)) {
        trap.Step(4);
        const Pos f = e + 10;
        const Pos g = units.Next(page, f);
        if (g == 0) Raise(err::kInvalidArgument);  // the value would have a negative length
        const Text value = Mid(page, f, g + 2 - f);
        // a value broken across lines reads with "00" for each line break
        const Text number = Replace(value, u"\r\n", u"00");
        if (IsPointValue(number)) {
          trap.Step(5);
          if (base == 0) Raise(err::kDivisionByZero);
          const double x = LeadingNumber(number);
          const Text percent =
              FormatNumber(RoundHalfEven(x / static_cast<double>(base) * 100.0)) + u"%";
          if (Len(percent) <= Len(value)) {
            Overwrite(page, f, percent);
            MarkDeleted(page, f + Len(percent), Len(value) - Len(percent));
          }
        }
        e = g + 2;
      }
      trap.Step(6);
      a = ElementStart(page, withBlank, withClose, c);
    }
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::revise
