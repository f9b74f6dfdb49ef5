// Writing SVG: numbers, escaped text, font families and the document frame,
// and a width estimate for laying out text without a font engine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "draw/drawing.h"

namespace qp::draw {

// Largest side of a drawing in px; larger requests are scaled down to it.
inline constexpr double kMaxSidePx = 4096;

// A coordinate or length: up to two decimals, C locale, no "-0"; 0 for
// NaN and infinities.
std::string Num(double value);
// A scale factor: six significant decimals, for factors far below 1.
std::string Num4(double value);
// Text escaped for an attribute or element; characters XML forbids are dropped.
std::string Escape(std::string_view utf8);
// font-family value: the theme's fonts, then fonts that carry Japanese, then
// generic sans-serif; already escaped for an attribute.
std::string FontFamily(const Palette& palette, std::string_view first = {});

// The document frame for a drawing of this size (both clamped to 1..kMaxSidePx).
std::string SvgOpen(double widthPx, double heightPx);
inline constexpr std::string_view kSvgClose = "</svg>\n";
// A clamped side length: NaN and non-positive give 1, larger than the cap gives the cap.
double ClampSide(double px);

// Estimated advance of UTF-8 text at a font size, in px: full width for CJK,
// about half for Latin letters.
double TextWidth(std::string_view utf8, double fontPx);
// Splits text into lines no wider than maxWidth (words kept together when
// they fit; CJK breaks between any characters). At most maxLines lines.
std::vector<std::string> WrapText(std::string_view utf8, double fontPx, double maxWidth,
                                  std::size_t maxLines = 200);
// Cuts text to fit maxWidth, ending in an ellipsis when cut.
std::string FitText(std::string_view utf8, double fontPx, double maxWidth);

}  // namespace qp::draw
