// State shared by the DrawingML and VML halves of the shape renderer while
// one drawing is written.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <utility>

#include "draw/drawing.h"
#include "draw/paint.h"
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

  // True while another shape may be drawn; counts it.
  bool TakeShape() { return ++shapes <= kMaxShapes; }
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

// The transform that places a w x h box at (x, y), turned `rotation` degrees
// about its centre and mirrored as asked.
std::string BoxTransform(double x, double y, double w, double h, double rotation, bool flipH,
                         bool flipV);
// A path with its fill and outline; `open` paths are never filled.
std::string ShapePath(const std::string& d, const std::optional<Color>& fill,
                      const std::optional<Color>& stroke, double strokePx, std::string_view dash,
                      bool open, bool evenOdd);
// Text in a turned box: kept upright when the box is mirrored.
std::string TextInBox(const ShapeText& text, double w, double h, bool flipH, bool flipV,
                      const Palette& palette);

}  // namespace qp::draw
