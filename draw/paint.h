// DrawingML colours, fills and outlines resolved to plain RGB through the
// theme palette.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/drawing.h"

namespace qp::draw {

struct Color {
  std::uint32_t rgb = 0;  // 0xRRGGBB
  double alpha = 1;       // 0..1
};

struct GradientStop {
  double at = 0;  // 0..1 along the gradient
  Color color;
};

// A multi-stop gradient over a shape's box. Linear: colours change along
// `angle` (degrees, clockwise from left to right, as y grows down).
// Radial: from the centre (cx, cy, fractions of the box) out to the
// farthest corner.
struct Gradient {
  std::vector<GradientStop> stops;  // in order of `at`, at least two
  bool radial = false;
  double angle = 0;
  double cx = 0.5, cy = 0.5;
};

struct Fill {
  bool none = false;           // explicitly no fill
  std::optional<Color> color;  // unset: not said here; a gradient's first stop
  std::optional<Gradient> gradient;
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
// The fill said by a shape property block (solidFill, gradFill with its
// first stop as the colour, pattFill as its foreground, noFill; blipFill
// reads as a grey).
Fill ReadFill(pugi::xml_node spPr, const Palette& palette, std::optional<Color> placeholder = {});
// The outline said by spPr's a:ln.
Line ReadLine(pugi::xml_node spPr, const Palette& palette, std::optional<Color> placeholder = {});

// a:gradFill's stops (a:gsLst) and its direction (a:lin) or path (a:path);
// nothing when fewer than two stops have a colour.
std::optional<Gradient> ReadGradient(pugi::xml_node gradFill, const Palette& palette,
                                     std::optional<Color> placeholder = {});
// A linearGradient or radialGradient element with this id, in the units of
// the box of the element that uses it.
std::string GradientElement(const Gradient& gradient, const std::string& id);
// The fill attribute that paints with `gradient`, its element appended to
// `defs` first under the next of a drawing's `count` ids.
std::string GradientFill(const Gradient& gradient, int& count, std::string& defs);

// An outer shadow (a:outerShdw, v:shadow): its offset and blur radius in
// px of the shape's space, and its colour with alpha.
struct Shadow {
  double dx = 0, dy = 0, blur = 0;
  Color color{0x000000, 0.4};
};
// a:effectLst/a:outerShdw of a shape property block (or of a theme's
// a:effectStyle). `placeholder` stands for phClr.
std::optional<Shadow> ReadOuterShadow(pugi::xml_node spPr, const Palette& palette,
                                      std::optional<Color> placeholder = {});
// The outer shadow of the theme's effect style `index` (from 1, as
// a:effectRef counts; past the last, the last), in `placeholder`'s colour
// where it says phClr.
std::optional<Shadow> ThemeShadow(const Palette& palette, int index,
                                  std::optional<Color> placeholder);
// A filter element with this id that lays the shadow under what it filters.
std::string ShadowFilter(const Shadow& shadow, const std::string& id);

// A VML or HTML colour: #rgb, #rrggbb, a CSS name, optionally followed by
// " [index]".
std::optional<std::uint32_t> ParseCssColor(std::string_view text);

// fill="#..." and, below full opacity, fill-opacity; "none" when absent.
std::string FillAttrs(const std::optional<Color>& color);
// stroke, stroke-width and dasharray; stroke="none" when absent.
std::string StrokeAttrs(const std::optional<Color>& color, double widthPx,
                        std::string_view dash = {});

}  // namespace qp::draw
