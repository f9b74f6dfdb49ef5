// EMF+ paint: brushes and pens as SVG paint, clips as clip paths, and the
// shapes they fill and stroke.
#include <algorithm>
#include <cmath>

#include "draw/emfplus_player.h"
#include "draw/paint.h"
#include "draw/svg_text.h"
#include "text/number.h"

namespace qp::draw::emfplus {

std::string Player::PaintOf(const Brush& brush, std::string_view attribute) {
  if (Full()) return {};  // gradients and patterns would outgrow the cap
  std::string a(attribute);
  auto solid = [&](Argb c) {
    std::string s = a + "=\"" + HexRgb(c.Rgb()) + "\"";
    if (c.Alpha() < 1) s += " " + a + "-opacity=\"" + Number(c.Alpha()) + "\"";
    return s;
  };
  const std::string id = "p" + std::to_string(++ids_);
  auto stops = [&] {
    std::string s;
    for (const Stop& stop : brush.stops) {
      s += "<stop offset=\"" + Number(stop.offset) + "\" stop-color=\"" + HexRgb(stop.color.Rgb()) +
           "\" stop-opacity=\"" + Number(stop.color.Alpha()) + "\"/>";
    }
    return s;
  };
  const std::string transform =
      brush.transform ? " gradientTransform=\"" + MatrixText(*brush.transform) + "\"" : "";
  switch (brush.kind) {
    case BrushKind::LinearGradient: {
      if (brush.stops.empty()) return solid(brush.color);
      const char* spread = brush.wrap == 4 ? "pad" : brush.wrap == 0 ? "repeat" : "reflect";
      const Rect& rc = brush.rect;
      out_ += "<defs><linearGradient id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\" x1=\"" +
              Number(rc.x) + "\" y1=\"" + Number(rc.y) + "\" x2=\"" + Number(rc.x + rc.w) +
              "\" y2=\"" + Number(rc.y) + "\" spreadMethod=\"" + spread + "\"" + transform + ">" +
              stops() + "</linearGradient></defs>\n";
      return a + "=\"url(#" + id + ")\"";
    }
    case BrushKind::PathGradient: {
      // drawn as a radial gradient from the centre to the boundary's box
      const Rect& b = brush.bounds;
      const Point c = brush.center;
      double rx = std::max(c.x - b.x, b.x + b.w - c.x), ry = std::max(c.y - b.y, b.y + b.h - c.y);
      if (brush.stops.empty() || !(rx > 0) || !(ry > 0)) return solid(brush.color);
      Matrix m = Then({rx, 0, 0, ry, c.x, c.y}, brush.transform.value_or(Matrix{}));
      out_ += "<defs><radialGradient id=\"" + id +
              "\" gradientUnits=\"userSpaceOnUse\" cx=\"0\" cy=\"0\" r=\"1\" gradientTransform=\"" +
              MatrixText(m) + "\">" + stops() + "</radialGradient></defs>\n";
      return a + "=\"url(#" + id + ")\"";
    }
    case BrushKind::Hatch: {
      static constexpr const char* kLines[] = {"M0 4H8",   "M4 0V8",       "M0 0L8 8",
                                               "M8 0L0 8", "M0 4H8M4 0V8", "M0 0L8 8M8 0L0 8"};
      if (brush.hatch > 5) {
        // the other hatches are drawn as the mix of their two colours
        Argb mix;
        mix.value = 0;
        for (int shift : {24, 16, 8, 0}) {
          std::uint32_t f = brush.color.value >> shift & 0xFF, g = brush.back.value >> shift & 0xFF;
          mix.value |= ((f + g) / 2) << shift;
        }
        return solid(mix);
      }
      // eight pixels of the picture a tile, whatever the transform
      const double scale = Current().Scale() * device_.Scale();
      const double k = scale > 0 ? 1 / scale : 1;
      out_ +=
          "<defs><pattern id=\"" + id +
          "\" patternUnits=\"userSpaceOnUse\" width=\"8\" height=\"8\" patternTransform=\"scale(" +
          Number(k) + ")\"><rect width=\"8\" height=\"8\" " +
          PaintOf(SolidBrush(brush.back), "fill") + "/><path d=\"" + kLines[brush.hatch] + "\" " +
          PaintOf(SolidBrush(brush.color), "stroke") + " fill=\"none\"/></pattern></defs>\n";
      return a + "=\"url(#" + id + ")\"";
    }
    case BrushKind::Texture: {
      if (!brush.texture) return solid(brush.color);
      const Image& image = *brush.texture;
      const std::string w = Number(image.width), h = Number(image.height);
      const std::string tile =
          brush.transform ? " patternTransform=\"" + MatrixText(*brush.transform) + "\"" : "";
      out_ += "<defs><pattern id=\"" + id + "\" patternUnits=\"userSpaceOnUse\" width=\"" + w +
              "\" height=\"" + h + "\"" + tile +
              "><image xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" + w + "\" height=\"" +
              h + "\" preserveAspectRatio=\"none\" xlink:href=\"" + image.dataUri +
              "\"/></pattern></defs>\n";
      return a + "=\"url(#" + id + ")\"";
    }
    default:
      return solid(brush.color);
  }
}

std::string Player::BrushPaint(bool colorBrush, std::uint32_t id, std::string_view attribute) {
  if (colorBrush) return PaintOf(SolidBrush(Argb{id}), attribute);
  const Object* o = Slot(id, 1);
  return o ? PaintOf(*o->brush, attribute) : std::string();
}

std::string Player::PenPaint(std::uint32_t id) {
  const Object* o = Slot(id, 2);
  if (!o) return {};
  const Pen& pen = *o->pen;
  const double scale = Current().Scale();
  if (!(scale > 0)) return {};
  double width = pen.unit == 0 ? pen.width : pen.width * UnitScale(pen.unit, dpiX_) / scale;
  width = std::max(width, 1 / scale);  // GDI+ draws at least one device pixel
  std::string s =
      PaintOf(pen.brush, "stroke") + " stroke-width=\"" + Number(width) + "\" fill=\"none\"";
  static constexpr const char* kCaps[] = {"butt", "square", "round", "butt"};
  if (pen.startCap >= 1 && pen.startCap <= 2)
    s += std::string(" stroke-linecap=\"") + kCaps[pen.startCap] + "\"";
  if (pen.join == 1) s += " stroke-linejoin=\"bevel\"";
  if (pen.join == 2) s += " stroke-linejoin=\"round\"";
  if (pen.join == 0 || pen.join == 3) s += " stroke-miterlimit=\"" + Number(pen.miterLimit) + "\"";
  std::vector<double> dashes;
  switch (pen.style) {
    case 1:
      dashes = {3, 1};
      break;
    case 2:
      dashes = {1, 1};
      break;
    case 3:
      dashes = {3, 1, 1, 1};
      break;
    case 4:
      dashes = {3, 1, 1, 1, 1, 1};
      break;
    case 5:
      dashes = pen.dashes;
      break;
    default:
      // Office gives dash lengths without saying the style is custom
      dashes = pen.dashes;
      break;
  }
  double sum = 0;
  for (double d : dashes) sum += d;
  if (sum > 0) {
    s += " stroke-dasharray=\"";
    for (std::size_t i = 0; i < dashes.size(); ++i) s += (i ? " " : "") + Number(dashes[i] * width);
    s += "\"";
  }
  return s;
}

void Player::OpenClip() {
  if (!clipDirty_) return;
  for (; openGroups_ > 0; --openGroups_) out_ += "</g>\n";
  for (const auto& shapes : clip_) {
    if (Full()) break;
    const std::string id = "c" + std::to_string(++ids_);
    out_ += "<clipPath id=\"" + id + "\">";
    for (const RegionShape& s : *shapes) {
      out_ += "<path d=\"" + PathData(s.path) + "\"";
      if (s.evenOdd) out_ += " clip-rule=\"evenodd\"";
      out_ += "/>";
    }
    out_ += "</clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
    ++openGroups_;
  }
  clipDirty_ = false;
}

// Combine modes: 0 replace, 1 intersect, 2 union, 3 xor, 4 exclude,
// 5 complement. Xor and complement are taken as replace and intersect.
void Player::SetClip(std::uint32_t mode, ClipShapes shapes) {
  std::size_t points = 0;
  for (const RegionShape& shape : shapes) points += shape.path.points.size();
  // past the budget, clips are left out rather than copied without end
  if (clipPoints_ > kMaxClipPoints || points > kMaxClipPoints - clipPoints_) return;
  clipPoints_ += points;
  clipDirty_ = true;
  auto item = [](ClipShapes&& s) { return std::make_shared<const ClipShapes>(std::move(s)); };
  switch (mode) {
    case 0:
    case 3:
      clip_ = baseClip_;
      clip_.push_back(item(std::move(shapes)));
      break;
    case 2:
      if (clip_.size() == baseClip_.size() + 1) {
        ClipShapes both = *clip_.back();
        for (const RegionShape& shape : both) clipPoints_ += shape.path.points.size();
        if (clipPoints_ > kMaxClipPoints) break;
        for (RegionShape& s : shapes) both.push_back(std::move(s));
        clip_.back() = item(std::move(both));
      }
      break;
    case 4:
      if (shapes.size() == 1) {
        // everything but the shape: a frame far larger than any picture, with the shape as its hole
        RegionShape s;
        s.path = RectPath({-1e7, -1e7, 2e7, 2e7});
        s.path.points.insert(s.path.points.end(), shapes[0].path.points.begin(),
                             shapes[0].path.points.end());
        s.path.types.insert(s.path.types.end(), shapes[0].path.types.begin(),
                            shapes[0].path.types.end());
        s.evenOdd = true;
        if (clip_.size() < kMaxClips) clip_.push_back(item({std::move(s)}));
      }
      break;
    default:
      if (clip_.size() < kMaxClips) clip_.push_back(item(std::move(shapes)));
      break;
  }
}

void Player::OffsetClip(double dx, double dy) {
  const Matrix m = Current();
  const double ox = m.a * dx + m.c * dy, oy = m.b * dx + m.d * dy;
  for (std::size_t i = baseClip_.size(); i < clip_.size(); ++i) {
    for (const RegionShape& shape : *clip_[i]) clipPoints_ += shape.path.points.size();
    if (clipPoints_ > kMaxClipPoints) return;
    ClipShapes moved = *clip_[i];
    for (RegionShape& s : moved) {
      for (Point& p : s.path.points) p = {p.x + ox, p.y + oy};
    }
    clip_[i] = std::make_shared<const ClipShapes>(std::move(moved));
  }
  clipDirty_ = true;
}

void Player::ClipTo(std::uint32_t mode, const Path& path) {
  const Matrix m = Current();
  RegionShape s;
  s.path.types = path.types;
  s.path.points.reserve(path.points.size());
  for (const Point& p : path.points) s.path.points.push_back(m.Apply(p));
  SetClip(mode, {std::move(s)});
}

ClipShapes Player::InDevice(const Region& region) const {
  const Matrix m = Current();
  ClipShapes shapes = region.shapes;
  for (RegionShape& s : shapes) {
    for (Point& p : s.path.points) p = m.Apply(p);
  }
  return shapes;
}

void Player::Shape(const Path& path, const std::string& attrs) {
  if (attrs.empty() || path.points.empty() || Full()) return;
  OpenClip();
  out_ += "<path transform=\"" + MatrixText(Current()) + "\" d=\"" + PathData(path) + "\" " +
          attrs + "/>\n";
  drew_ = true;
}

void Player::Fill(std::uint16_t flags, std::uint32_t brush, const Path& path, bool evenOdd) {
  std::string paint = BrushPaint(flags & kColorBrush, brush, "fill");
  if (paint.empty()) return;
  if (evenOdd) paint += " fill-rule=\"evenodd\"";
  Shape(path, paint);
}

void Player::Stroke(std::uint32_t pen, const Path& path) {
  Shape(path, PenPaint(pen));
}

}  // namespace qp::draw::emfplus
