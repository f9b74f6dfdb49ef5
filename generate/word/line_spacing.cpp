#include "generate/word/line_spacing.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "generate/word/css.h"
#include "generate/word/docx_content.h"
#include "generate/word/xml_part.h"
#include "text/number.h"

namespace qp::word {

namespace {

// A font's own line (ascent, descent and gap) as a share of its size: what
// Word calls single spacing, and what decides how many grid lines a line of
// text takes.
constexpr double kNaturalLine = 1.15;
// The factor written for single spacing times n where no grid rules.
constexpr double kSingleFactor = 1.2;

Text Factor(double factor) {
  std::string s = FormatFixedC(std::round(factor * 100.0) / 100.0, 2);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return T(s);
}

// The size of the paragraph's largest text: its runs' own sizes, else their
// character styles', else the paragraph style's. An empty paragraph has the
// size of its mark.
double ParagraphFontPoints(const DocxContent& doc, const pugi::xml_node& p, const StyleDef* style) {
  double base = ResolveStyleFont(doc.Fonts(), style ? style->id : "", {}).Size;
  auto size = [&](const pugi::xml_node& rPr) {
    long half = AttrLong(Child(rPr, "sz"), "val", -1);
    if (half <= 0) {
      for (const StyleDef* s : doc.styleSheet.Chain(ChildVal(rPr, "rStyle"))) {
        long own = AttrLong(Child(s->rPr, "sz"), "val", -1);
        if (own > 0) half = own;
      }
    }
    return half > 0 && half < 3276 ? static_cast<double>(half) / 2.0 : base;
  };
  double largest = 0;
  // Runs sit in the paragraph or in its links, fields, tags and controls.
  auto walk = [&](auto& self, const pugi::xml_node& parent, int depth) -> void {
    for (pugi::xml_node c : parent.children()) {
      std::string_view local = LocalName(c);
      if (local == "r") {
        if (Child(c, "t")) largest = std::max(largest, size(Child(c, "rPr")));
      } else if (depth < 4 && local != "pPr" && local != "rPr") {
        self(self, c, depth + 1);
      }
    }
  };
  walk(walk, p, 0);
  return largest > 0 ? largest : size(Child(Child(p, "pPr"), "rPr"));
}

// Whether the paragraph keeps to its section's line grid: Word's default,
// unless it or its style turns w:snapToGrid off. Text boxes have no grid.
bool SnapsToGrid(const DocxContent& doc, const pugi::xml_node& p, const StyleDef* style) {
  for (pugi::xml_node up = p.parent(); up; up = up.parent()) {
    if (LocalName(up) == "txbxContent") return false;
  }
  int snap = Toggle(Child(p, "pPr"), "snapToGrid");
  if (snap < 0 && style) {
    for (const StyleDef* s : doc.styleSheet.Chain(style->id)) {
      int own = Toggle(s->pPr, "snapToGrid");
      if (own >= 0) snap = own;
    }
  }
  return snap != 0;
}

}  // namespace

void LineRule::Overlay(const pugi::xml_node& pPr) {
  pugi::xml_node sp = Child(pPr, "spacing");
  if (pugi::xml_attribute a = Attr(sp, "line")) {
    line = a.as_int();
    set = true;
  }
  if (pugi::xml_attribute a = Attr(sp, "lineRule")) {
    std::string_view rule = a.value();
    kind = rule == "exact" ? kExact : rule == "atLeast" ? kAtLeast : kAuto;
  }
}

Text LineHeightValue(const LineRule& rule, double fontPoints, double gridPitch, double minFactor) {
  if (fontPoints <= 0) return {};
  double height = 0;  // in points; 0 leaves the line to the font
  // How many grid lines the text's own line takes.
  double pitches =
      gridPitch > 0 ? std::max(1.0, std::ceil(fontPoints * kNaturalLine / gridPitch - 0.01)) : 0;
  if (rule.kind == LineRule::kAuto) {
    double times = rule.set && rule.line > 0 ? static_cast<double>(rule.line) / 240.0 : 1.0;
    if (gridPitch > 0) {
      height = times * pitches * gridPitch;
    } else if (times > 1.0) {
      height = times * kSingleFactor * fontPoints;
    }
  } else {
    height = static_cast<double>(rule.line) / 20.0;
    // An "at least" line grows to the grid; an exact one ignores it.
    if (rule.kind == LineRule::kAtLeast && gridPitch > 0) {
      height = std::max(height, pitches * gridPitch);
    }
  }
  double factor = height / fontPoints;
  if (gridPitch > 0 && rule.kind != LineRule::kExact) factor = std::max(factor, minFactor);
  if (factor < minFactor || factor > 20) return {};
  return Factor(factor);
}

double MinLineFactor(const DocxContent& doc) {
  return doc.japanese ? 1.45 : 1.25;
}

Text ParagraphLineHeight(const DocxContent& doc, const pugi::xml_node& p, const StyleDef* style,
                         double gridPitch) {
  pugi::xml_node pPr = Child(p, "pPr");
  bool own = Attr(Child(pPr, "spacing"), "line");
  double pitch = gridPitch > 0 && SnapsToGrid(doc, p, style) ? gridPitch : 0;
  if (!own && pitch == 0) return {};
  LineRule rule;
  rule.Overlay(doc.styleSheet.DefaultParaProps());
  if (style) {
    for (const StyleDef* s : doc.styleSheet.Chain(style->id)) rule.Overlay(s->pPr);
  }
  rule.Overlay(pPr);
  Text value = LineHeightValue(rule, ParagraphFontPoints(doc, p, style), pitch, MinLineFactor(doc));
  return value.empty() ? Text(u"normal") : value;
}

}  // namespace qp::word
