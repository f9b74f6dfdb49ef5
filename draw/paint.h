// DrawingML colours, fills and outlines resolved to plain RGB through the
// theme palette.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "draw/drawing.h"

namespace qp::draw {

struct Color {
  std::uint32_t rgb = 0;  // 0xRRGGBB
  double alpha = 1;       // 0..1
};

struct Fill {
  bool none = false;           // explicitly no fill
  std::optional<Color> color;  // unset: not said here
};

struct Line {
  bool none = false;
  std::optional<Color> color;
  double widthEmu = -1;          // -1: not said here
  std::string dash;              // prstDash value, empty for solid
  std::string headEnd, tailEnd;  // arrowhead types (triangle, stealth, arrow, oval, diamond)
};

// accent1..6, then the theme's other colours, by scheme name (accent3, tx1,
// bg2, hlink, ...); Office's defaults when the palette leaves them out.
std::uint32_t SchemeColor(const Palette& palette, std::string_view name);
// The n-th automatic colour of a chart series: the accents, then the accents
// darkened and lightened, as Office cycles them.
Color SeriesColor(const Palette& palette, int index);

// A colour element (a:srgbClr, a:schemeClr, a:sysClr, a:prstClr, a:scrgbClr,
// a:hslClr) with its transforms applied. `placeholder` stands for phClr.
std::optional<Color> ReadColor(pugi::xml_node colorElement, const Palette& palette,
                               std::optional<Color> placeholder = {});
// The first colour element among the children of `parent`.
std::optional<Color> ReadChildColor(pugi::xml_node parent, const Palette& palette,
                                    std::optional<Color> placeholder = {});
// The fill said by a shape property block (solidFill, gradFill as its first
// stop, pattFill as its foreground, noFill; blipFill reads as a grey).
Fill ReadFill(pugi::xml_node spPr, const Palette& palette, std::optional<Color> placeholder = {});
// The outline said by spPr's a:ln.
Line ReadLine(pugi::xml_node spPr, const Palette& palette, std::optional<Color> placeholder = {});

// A VML or HTML colour: #rgb, #rrggbb, a CSS name, optionally followed by
// " [index]".
std::optional<std::uint32_t> ParseCssColor(std::string_view text);

// "#rrggbb".
std::string Hex(std::uint32_t rgb);
// fill="#..." and, below full opacity, fill-opacity; "none" when absent.
std::string FillAttrs(const std::optional<Color>& color);
// stroke, stroke-width and dasharray; stroke="none" when absent.
std::string StrokeAttrs(const std::optional<Color>& color, double widthPx,
                        std::string_view dash = {});

}  // namespace qp::draw
