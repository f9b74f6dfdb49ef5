// Rev_Unit: rewrites the lengths of the style rules from points, millimetres
// and Word's grid unit into whole pixels. A length is a value that follows a
// blank or a colon and ends in its unit and one of " ", ";" or "}".
#include <cmath>

#include "revise/passes.h"
#include "revise/scan_cache.h"
#include "text/failure.h"
#include "text/number.h"

namespace qp::revise {

namespace {

enum class Family { Points, Millimetres, Grid };

struct UnitText {
  const char16_t* unit;
  const char16_t* replacement;
  Family family;
};

constexpr UnitText kUnits[] = {
    {u"pt ", u"px ", Family::Points},      {u"pt;", u"px;", Family::Points},
    {u"pt}", u"px}", Family::Points},      {u"mm ", u"px ", Family::Millimetres},
    {u"mm;", u"px;", Family::Millimetres}, {u"mm}", u"px}", Family::Millimetres},
    {u"gd ", u"px ", Family::Grid},        {u"gd;", u"px;", Family::Grid},
    {u"gd}", u"px}", Family::Grid},
};

// Divides before it multiplies, in double precision, as the rules were
// measured; halves round up (floor of x + 0.5), also for negative values.
double Pixels(double value, Family family, double base) {
  double x = 0;
  switch (family) {
    case Family::Points:
      x = value / 72 * 96;
      break;
    case Family::Millimetres:
      x = value / 25.4 * 96;
      break;
    case Family::Grid:
      x = value * base / 72 * 96;
      break;
  }
  return std::floor(x + 0.5);
}

// The text as it is being rewritten: `out` holds the rewritten front, the
// source from `copied` on is still as it was. Tracks the last blank and
// colon of `out`, so that no search runs back over the whole sheet.
class Rewrite {
 public:
  explicit Rewrite(const Text& source) : source_(source) {}

  void Append(TextView piece) {
    const Pos before = Len(out_);
    out_ += piece;
    if (const Pos blank = InStrRev(piece, u" "); blank != 0) lastBlank_ = before + blank;
    if (const Pos colon = InStrRev(piece, u":"); colon != 0) lastColon_ = before + colon;
  }

  // Converts the value that ends in front of the unit text at `unit`, when
  // it is a decimal number; `blank` and `colon` are the source's last ones
  // at or before `unit`.
  void Convert(Pos unit, Pos blank, Pos colon, const UnitText& u, double base) {
    const Pos start = std::max(blank, colon);  // the value follows the later one
    Text value;
    Pos keep = -1;  // characters of `out_` that stay, when the value starts in it
    if (start >= copied_) {
      value = Mid(source_, start + 1, unit - start - 1);
    } else {
      keep = std::max(lastBlank_, lastColon_);
      if (keep == 0) return;  // nothing in front of the value: no length
      value = Mid(out_, keep + 1) + Mid(source_, copied_, unit - copied_);
    }
    const auto number = ParseDecimal(value);
    if (!number || value.empty()) return;
    if (keep >= 0) {
      out_.resize(static_cast<std::size_t>(keep));  // nothing but the value lies past it
    } else {
      Append(Mid(source_, copied_, start - copied_ + 1));
    }
    Append(FormatNumber(Pixels(*number, u.family, base)));
    Append(u.replacement);
    copied_ = unit + 3;
  }

  bool Changed() const { return copied_ != 1; }
  Pos copied() const { return copied_; }
  Text Finish() {
    out_ += Mid(source_, copied_);
    return std::move(out_);
  }

 private:
  const Text& source_;
  Text out_;
  Pos copied_ = 1;
  Pos lastBlank_ = 0;
  Pos lastColon_ = 0;
};

void ConvertUnit(Text& sheet, const UnitText& u, double base) {
  LastSeen lastBlank(u" ");
  LastSeen lastColon(u":");
  Rewrite rewrite(sheet);
  for (Pos p = InStr(sheet, u.unit); p != 0; p = InStr(p + 3, sheet, u.unit)) {
    Pos blank = lastBlank.At(sheet, p);
    Pos colon = lastColon.At(sheet, p);
    if (blank < rewrite.copied()) blank = 0;  // then the one in the rewritten front counts
    if (colon < rewrite.copied()) colon = 0;
    rewrite.Convert(p, blank, colon, u, base);
  }
  if (rewrite.Changed()) sheet = rewrite.Finish();
}

// The Normal style's size, which scales the grid unit, would be read from
// the engine's active document; by the time the revision runs the document
// has been closed, so the read always fails and the base is always 10.
constexpr double kGridBaseSize = 10;

}  // namespace

void Rev_Unit(RevisionState& st) {
  Trap trap("Mod_HtmlRev -> Rev_Unit");
  try {
    trap.Step(2);  // step 1 read the base size, now kGridBaseSize
    for (const UnitText& u : kUnits) ConvertUnit(st.StyleSheetText, u, kGridBaseSize);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::revise
