// The text of a shape: Word paragraphs (w:txbxContent) or DrawingML ones
// (a:p), laid out simply: one style per paragraph, wrapped to the box.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

#include "draw/paint.h"

namespace qp::draw {

struct ShapeParagraph {
  std::string text;
  double sizePx = 14.67;  // 11 pt
  std::uint32_t rgb = 0;
  bool bold = false, italic = false;
  std::string font;
  char align = 'l';  // l, c, r (justified text shows as left)
};

struct ShapeText {
  std::vector<ShapeParagraph> paragraphs;
  // insets in px; DrawingML's defaults of 0.1 in and 0.05 in
  double left = 9.6, top = 4.8, right = 9.6, bottom = 4.8;
  char anchor = 't';      // t, c, b
  bool vertical = false;  // text runs top to bottom, the box turned a quarter
  bool Empty() const;
};

// Word paragraphs below `content` (w:txbxContent). `color` is the text colour
// where runs do not set one.
void ReadWordParagraphs(pugi::xml_node content, std::uint32_t color, ShapeText& out);
// DrawingML paragraphs of a text body (a:p children of txBody).
void ReadDrawingParagraphs(pugi::xml_node txBody, const Palette& palette, std::uint32_t color,
                           ShapeText& out);
// Insets, anchor and direction from a:bodyPr / wps:bodyPr.
void ReadBodyProperties(pugi::xml_node bodyPr, ShapeText& out);

// SVG text elements for the text in a box of w x h at the origin.
std::string LayoutText(const ShapeText& text, double w, double h, const Palette& palette);

}  // namespace qp::draw
