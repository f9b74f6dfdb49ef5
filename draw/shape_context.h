// State shared by the DrawingML and VML halves of the shape renderer while
// one drawing is written.
#pragma once

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "draw/drawing.h"
#include "draw/paint.h"
#include "draw/shape_geometry.h"
#include "draw/shape_text.h"

namespace qp::draw {

// Hostile drawings stay bounded: nesting and shape counts are cut here.
inline constexpr int kMaxShapeDepth = 24;
inline constexpr int kMaxShapes = 3000;

struct ShapeContext {
  const Palette& palette;
  std::string body;
  int shapes = 0;
  int unknownGeometries = 0;
  int depth = 0;
  int gradients = 0, shadows = 0;
  // How much one unit of the current space is in px of the picture; text
  // and line widths keep their own sizes however groups scale their space.
  double sx = 1, sy = 1;

  // A width in px of the picture, in the current space's units.
  double Unscaled(double px) const { return px / std::sqrt(std::max(sx * sy, 1e-12)); }

  // True while another shape may be drawn; counts it.
  bool TakeShape() { return ++shapes <= kMaxShapes; }

  // The fill attribute that paints with `gradient`, its element written
  // into the body first; "" without one.
  std::string GradientPaint(const std::optional<Gradient>& gradient) {
    return gradient ? GradientFill(*gradient, gradients, body) : std::string();
  }

  // `drawn` with the shadow under it, its filter written into the body
  // first; sizes in px of the picture.
  std::string WithShadow(const std::optional<Shadow>& shadow, const std::string& drawn) {
    if (!shadow || drawn.empty()) return drawn;
    Shadow own = *shadow;
    own.dx = Unscaled(own.dx);
    own.dy = Unscaled(own.dy);
    own.blur = Unscaled(own.blur);
    const std::string id = "shadow" + std::to_string(++shadows);
    body += ShadowFilter(own, id);
    return "<g filter=\"url(#" + id + ")\">\n" + drawn + "</g>\n";
  }
};

// One DrawingML element (shape, group, canvas, picture, AlternateContent...)
// in the current coordinate space, in px.
void DrawDrawingNode(ShapeContext& ctx, pugi::xml_node node);
// One VML element (v:shape, v:rect, v:group, ...) in the current space.
void DrawVmlNode(ShapeContext& ctx, pugi::xml_node node, bool root);

// VML elements that draw something (not v:fill, v:textbox, o:lock ...).
bool IsVmlShape(pugi::xml_node node);
// The width and height a VML element's style gives it, in px.
std::pair<double, double> VmlSize(pugi::xml_node node);
// The preset geometry a VML element is drawn as: rect, ellipse or roundRect
// for v:rect, v:oval and v:roundrect, its shape type's preset for a v:shape
// without a path of its own; empty for other elements and types not known
// here.
std::string_view VmlPreset(pugi::xml_node node);

// v:fill's gradient (type "gradient" or "gradientRadial") from the fill
// colour `first` to color2 or through `colors`; nothing for other fills.
std::optional<Gradient> ReadVmlGradient(pugi::xml_node fill, const Color& first);

// The transform that places a w x h box at (x, y), turned `rotation` degrees
// about its centre and mirrored as asked.
std::string BoxTransform(double x, double y, double w, double h, double rotation, bool flipH,
                         bool flipV);
// A path with its fill and outline; `open` paths are never filled.
// `fillPaint`, when given, paints a filled path instead of the colour.
std::string ShapePath(const std::string& d, const std::optional<Color>& fill,
                      const std::optional<Color>& stroke, double strokePx, std::string_view dash,
                      bool open, bool evenOdd, std::string_view fillPaint = {});
// An arrowhead at the segment's end, sized for a line of this width:
// triangle, stealth, arrow (open), oval, diamond, or VML's block, classic, open.
std::string ArrowHead(const Segment& at, std::string_view type, double lineWidth, double minLength,
                      const Color& color);

// Text in a turned box of w x h units: kept upright when the box is
// mirrored, and at its own size whatever the space's scale.
std::string TextInBox(const ShapeContext& ctx, const ShapeText& text, double w, double h,
                      bool flipH, bool flipV);
// Runs `draw` with the space scaled by (fx, fy), as a group maps its children.
template <typename F>
void Scaled(ShapeContext& ctx, double fx, double fy, F draw) {
  const double oldX = ctx.sx, oldY = ctx.sy;
  if (std::isfinite(fx) && fx > 0) ctx.sx *= fx;
  if (std::isfinite(fy) && fy > 0) ctx.sy *= fy;
  draw();
  ctx.sx = oldX;
  ctx.sy = oldY;
}

}  // namespace qp::draw
