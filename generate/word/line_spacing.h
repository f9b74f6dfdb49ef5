// Line spacing as a browser can show it. A browser knows no "at least", and
// a height in points stays fixed while the revision turns font sizes into
// percentages of the reader's own size: 16 px text on 13 px lines overlaps.
// So a line height is written as a factor of the font size (a bare number,
// which the paragraph's runs inherit as a factor, so a larger run gets a
// taller line), and only where it is at least the text's own height; below
// that the line keeps the font's own height ("normal"), which never clips.
#pragma once

#include <pugixml.hpp>

#include "text/ustring.h"

namespace qp::word {

struct DocxContent;
struct StyleDef;

// A paragraph's w:spacing line and lineRule through its layers, each
// attribute replacing that of a lower layer.
struct LineRule {
  enum Kind { kAuto, kExact, kAtLeast };
  long line = 240;  // 240ths of a line (auto), else twips
  Kind kind = kAuto;
  bool set = false;  // some layer gave a line
  void Overlay(const pugi::xml_node& pPr);
};

// The line-height value for text of `fontPoints` on a line grid of
// `gridPitch` points (0: none), or "" for the font's own height. Lines
// below `minFactor` times the font size are left to the font.
Text LineHeightValue(const LineRule& rule, double fontPoints, double gridPitch, double minFactor);

// The smallest line height, as a factor of the font size, that holds the
// document's text: East Asian fonts are taller than Latin ones.
double MinLineFactor(const DocxContent& doc);

// The line-height the paragraph `p` writes in its own style: "" when its
// class says all (no line of its own and no grid), "normal" when its text
// needs the font's own height. `gridPitch` is its section's line grid.
Text ParagraphLineHeight(const DocxContent& doc, const pugi::xml_node& p, const StyleDef* style,
                         double gridPitch);

}  // namespace qp::word
