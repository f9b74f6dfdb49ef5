// Office Math (m:oMath, m:oMathPara) laid out as an SVG picture: fractions,
// scripts, radicals, n-ary operators with their limits, delimiters that
// grow with their content, matrices, accents, bars and function names.
// Text is measured with fixed per-character widths, so that the engine
// can know the picture's size without loading a font library; the worker
// lays the same equation out again to draw it.
#pragma once

#include <string>
#include <string_view>

namespace qp::draw {

struct MathSize {
  bool ok = false;               // false: not an equation, or one with nothing to show
  double width = 0, height = 0;  // px
  double descent = 0;            // px below the text's baseline
};

// The size of the equation in `mathXml` (an m:oMath or m:oMathPara element
// with its namespace declarations), at the size its first run says (11 pt
// when none does).
MathSize MeasureMath(std::string_view mathXml);
// The equation as an SVG document of its size scaled to widthPx x heightPx;
// "" when `mathXml` is not an equation.
std::string MathSvg(std::string_view mathXml, double widthPx, double heightPx);
// True when the element's text is an m:oMath or m:oMathPara.
bool IsMath(std::string_view xml);

}  // namespace qp::draw
