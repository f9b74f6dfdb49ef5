// The EMF+ player: walks the EMF's comment records for EMF+ records, keeps
// the graphics state (object table, world and page transforms, containers,
// clip) and writes each drawing record as SVG.
#include "draw/emfplus.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "draw/emfplus_model.h"
#include "draw/paint.h"
#include "draw/svg_text.h"
#include "text/codec.h"

namespace qp::draw {

namespace {

using namespace emfplus;

constexpr std::size_t kMaxRecords = 1u << 20;    // EMF+ records played
constexpr std::size_t kMaxSvgBytes = 48u << 20;  // drawing stops past this
constexpr std::size_t kMaxStack = 256;           // saved states and containers
constexpr std::size_t kMaxObjectBytes = 32u << 20;
constexpr std::uint32_t kObjectSlots = 64;
constexpr std::size_t kMaxTextLines = 200;
constexpr std::size_t kMaxGlyphs = 20000;
constexpr int kMaxDepth = 2;  // metafile images inside metafile images

std::optional<std::string> PlayEmf(std::string_view emf, int widthPx, int heightPx,
                                   const GdiPlayer& gdi, int depth);

// Flags of drawing records.
constexpr std::uint16_t kColorBrush = 0x8000;  // the brush id is an ARGB colour
constexpr std::uint16_t kCompressed = 0x4000;  // 16-bit integer coordinates
constexpr std::uint16_t kClosedOrAppend = 0x2000;
constexpr std::uint16_t kRelative = 0x0800;

std::string MatrixText(const Matrix& m) {
  return "matrix(" + Number(m.a) + " " + Number(m.b) + " " + Number(m.c) + " " + Number(m.d) + " " +
         Number(m.e) + " " + Number(m.f) + ")";
}

// Device pixels per unit (GDI+ UnitType), at the recording's dots per inch.
double UnitScale(std::uint32_t unit, double dpi) {
  switch (unit) {
    case 3:
      return dpi / 72;
    case 4:
      return dpi;
    case 5:
      return dpi / 300;
    case 6:
      return dpi / 25.4;
    default:  // world, display and pixel
      return 1;
  }
}

using ClipShapes = std::vector<RegionShape>;  // a union of shapes, in device pixels
using Clip = std::vector<ClipShapes>;         // an intersection; empty: no clip

struct State {
  std::uint32_t index = 0;
  bool container = false;
  Matrix world, base, page;
  Clip clip, baseClip;
};

class Player {
 public:
  Player(double dpiX, double dpiY, Matrix device, double width, double height, const GdiPlayer& gdi,
         int depth)
      : dpiX_(dpiX),
        dpiY_(dpiY),
        device_(device),
        width_(width),
        height_(height),
        gdi_(gdi),
        depth_(depth) {}

  void Play(std::uint16_t type, std::uint16_t flags, std::string_view data);
  bool Drew() const { return drew_; }
  bool Full() const { return out_.size() > kMaxSvgBytes; }
  std::string Finish();

 private:
  Matrix Current() const { return Then(Then(world_, base_), page_); }
  const Object* Slot(std::uint32_t id, std::uint32_t type) const;
  void Define(std::uint16_t flags, std::string_view data);

  // Paint of a brush (or of an ARGB colour when `colorBrush`) as the value
  // of a fill or stroke attribute with its opacity attribute.
  std::string PaintOf(const Brush& brush, std::string_view attribute);
  std::string BrushPaint(bool colorBrush, std::uint32_t id, std::string_view attribute);
  std::string PenPaint(std::uint32_t id);

  void OpenClip();
  void SetClip(std::uint32_t mode, ClipShapes shapes);
  void ClipTo(std::uint32_t mode, const Path& path);
  ClipShapes InDevice(const Region& region) const;

  void Shape(const Path& path, const std::string& attrs);
  void Fill(std::uint16_t flags, std::uint32_t brush, const Path& path, bool evenOdd = true);
  void Stroke(std::uint32_t pen, const Path& path);
  void Text(std::uint16_t flags, Reader& r);
  void DriverText(std::uint16_t flags, Reader& r);
  void Picture(std::uint16_t flags, Reader& r, bool points);
  void Save(std::uint32_t index, bool container);
  void Restore(std::uint32_t index);
  void Transform(std::uint16_t flags, const Matrix& m);

  double dpiX_, dpiY_;
  Matrix device_;  // device pixels to the picture's px
  double width_, height_;
  const GdiPlayer& gdi_;
  int depth_;  // metafiles inside metafiles
  Matrix world_, base_, page_;
  Clip clip_, baseClip_;
  bool clipDirty_ = false;
  int openGroups_ = 0;
  std::vector<State> stack_;
  std::array<Object, kObjectSlots> objects_{};
  // An object arriving in pieces: its slot, type, announced size, bytes so far.
  struct Pending {
    std::uint32_t id = 0, type = 0;
    std::size_t total = 0;
    std::string bytes;
  } pending_;
  std::string out_;
  int ids_ = 0;
  bool drew_ = false;
};

const Object* Player::Slot(std::uint32_t id, std::uint32_t type) const {
  if (id >= kObjectSlots || objects_[id].type != type) return nullptr;
  return &objects_[id];
}

void Player::Define(std::uint16_t flags, std::string_view data) {
  const std::uint32_t id = flags & 0xFF, type = flags >> 8 & 0x7F;
  if (id >= kObjectSlots) return;
  if (flags & 0x8000) {
    // continued: each piece starts with the whole object's size
    Reader r(data);
    std::uint32_t total = r.U32();
    if (r.failed || total > kMaxObjectBytes) return;
    if (pending_.bytes.empty() || pending_.id != id || pending_.type != type) {
      pending_ = Pending{id, type, total, {}};
    }
    pending_.bytes.append(r.Rest());
    if (pending_.bytes.size() < pending_.total) return;
  } else if (!pending_.bytes.empty() && pending_.id == id && pending_.type == type) {
    pending_.bytes.append(data);
  } else {
    objects_[id] = ReadObject(type, data);
    return;
  }
  pending_.bytes.resize(std::min(pending_.bytes.size(), pending_.total));
  objects_[id] = ReadObject(type, pending_.bytes);
  pending_ = Pending{};
}

std::string Player::PaintOf(const Brush& brush, std::string_view attribute) {
  std::string a(attribute);
  auto solid = [&](Argb c) {
    std::string s = a + "=\"" + Hex(c.Rgb()) + "\"";
    if (c.Alpha() < 1) s += " " + a + "-opacity=\"" + Number(c.Alpha()) + "\"";
    return s;
  };
  const std::string id = "p" + std::to_string(++ids_);
  auto stops = [&] {
    std::string s;
    for (const Stop& stop : brush.stops) {
      s += "<stop offset=\"" + Number(stop.offset) + "\" stop-color=\"" + Hex(stop.color.Rgb()) +
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
  for (const ClipShapes& shapes : clip_) {
    const std::string id = "c" + std::to_string(++ids_);
    out_ += "<clipPath id=\"" + id + "\">";
    for (const RegionShape& s : shapes) {
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
  clipDirty_ = true;
  switch (mode) {
    case 0:
    case 3:
      clip_ = baseClip_;
      clip_.push_back(std::move(shapes));
      break;
    case 2:
      if (clip_.size() == baseClip_.size() + 1) {
        for (RegionShape& s : shapes) clip_.back().push_back(std::move(s));
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
        clip_.push_back({std::move(s)});
      }
      break;
    default:
      clip_.push_back(std::move(shapes));
      break;
  }
  if (clip_.size() > kMaxStack) clip_.resize(kMaxStack);
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

void Player::Text(std::uint16_t flags, Reader& r) {
  const std::uint32_t brush = r.U32(), formatId = r.U32(), length = r.U32();
  const Rect rc = ReadRect(r, false);
  std::string_view raw = r.Bytes(std::min<std::size_t>(length, r.Left() / 2) * 2);
  const Object* font = Slot(flags & 0xFF, 6);
  const Object* format = Slot(formatId, 7);
  if (r.failed || !font || Full()) return;
  const Font& f = *font->font;
  const Matrix m = Current();
  const double scale = m.Scale();
  if (!(scale > 0)) return;
  const double em = f.unit == 0 ? f.emSize : f.emSize * UnitScale(f.unit, dpiY_) / scale;
  const double emPx = em * scale * device_.Scale();
  if (!(emPx > 0.2) || emPx > 2 * kMaxSidePx) return;
  std::string paint = BrushPaint(flags & kColorBrush, brush, "fill");
  if (paint.empty()) return;

  qp::Text text;
  for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<std::uint8_t>(raw[i]) |
                                  static_cast<std::uint8_t>(raw[i + 1]) << 8);
  }
  const std::string utf8 = TextToUtf8(text);
  StringFormat sf = format ? *format->format : StringFormat{};
  std::vector<std::string> lines;
  const bool wrap = rc.w > 0 && !(sf.flags & 0x1000);
  std::size_t start = 0;
  while (start <= utf8.size() && lines.size() < kMaxTextLines) {
    std::size_t end = std::min(utf8.find('\n', start), utf8.size());
    std::string line = utf8.substr(start, end - start);
    std::erase(line, '\r');
    if (wrap) {
      for (std::string& l : WrapText(line, em, rc.w, kMaxTextLines - lines.size()))
        lines.push_back(std::move(l));
    } else {
      lines.push_back(std::move(line));
    }
    start = end + 1;
  }
  std::uint32_t align = sf.align;
  if ((sf.flags & 0x1) && align != 1) align = 2 - std::min<std::uint32_t>(align, 2);
  const double lineHeight = em * 1.15;
  const double block = lineHeight * static_cast<double>(lines.size());
  double top = rc.y;
  if (rc.h > 0 && sf.lineAlign == 1) top += (rc.h - block) / 2;
  if (rc.h > 0 && sf.lineAlign == 2) top += rc.h - block;
  double x = rc.x;
  const char* anchor = "start";
  if (align == 1) {
    x += rc.w / 2;
    anchor = "middle";
  } else if (align == 2) {
    x += rc.w;
    anchor = "end";
  }
  OpenClip();
  out_ += "<text transform=\"" + MatrixText(m) + "\" xml:space=\"preserve\" font-family=\"" +
          FontFamily(Palette{}, f.family) + "\" font-size=\"" + Number(em) + "\" text-anchor=\"" +
          anchor + "\" " + paint;
  if (f.style & 1) out_ += " font-weight=\"bold\"";
  if (f.style & 2) out_ += " font-style=\"italic\"";
  if (f.style & 12)
    out_ += (f.style & 4) ? " text-decoration=\"underline\"" : " text-decoration=\"line-through\"";
  out_ += ">";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out_ += "<tspan x=\"" + Number(x) + "\" y=\"" +
            Number(top + em * 0.9 + lineHeight * static_cast<double>(i)) + "\">" +
            Escape(lines[i]) + "</tspan>";
  }
  out_ += "</text>\n";
  drew_ = true;
}

void Player::DriverText(std::uint16_t flags, Reader& r) {
  const std::uint32_t brush = r.U32(), options = r.U32(), hasMatrix = r.U32(), count = r.U32();
  const Object* font = Slot(flags & 0xFF, 6);
  // glyph indices without the character map cannot be drawn as text
  if (r.failed || !font || !(options & 0x1) || count == 0 || count > kMaxGlyphs ||
      count > r.Left() / 10 || Full()) {
    return;
  }
  qp::Text glyphs;
  for (std::uint32_t i = 0; i < count; ++i) glyphs += static_cast<char16_t>(r.U16());
  std::vector<Point> at = ReadPoints(r, count, false, false);
  std::optional<Matrix> extra;
  if (hasMatrix) extra = ReadMatrix(r);
  if (r.failed || at.size() != count) return;
  const Font& f = *font->font;
  Matrix m = extra ? Then(*extra, Current()) : Current();
  const double scale = m.Scale();
  if (!(scale > 0)) return;
  const double em = f.unit == 0 ? f.emSize : f.emSize * UnitScale(f.unit, dpiY_) / scale;
  const double emPx = em * scale * device_.Scale();
  if (!(emPx > 0.2) || emPx > 2 * kMaxSidePx) return;
  std::string paint = BrushPaint(flags & kColorBrush, brush, "fill");
  if (paint.empty()) return;
  OpenClip();
  out_ += "<text transform=\"" + MatrixText(m) + "\" xml:space=\"preserve\" font-family=\"" +
          FontFamily(Palette{}, f.family) + "\" font-size=\"" + Number(em) + "\" " + paint;
  if (f.style & 1) out_ += " font-weight=\"bold\"";
  if (f.style & 2) out_ += " font-style=\"italic\"";
  out_ += ">";
  // positions of every glyph, unless the advances are the font's own
  const std::size_t runs = (options & 0x4) ? 1 : glyphs.size();
  for (std::size_t i = 0; i < runs; ++i) {
    qp::Text run = (options & 0x4) ? glyphs : glyphs.substr(i, 1);
    // a surrogate pair stays in one run
    if (!(options & 0x4) && run[0] >= 0xD800 && run[0] < 0xDC00 && i + 1 < glyphs.size()) {
      run += glyphs[++i];
    }
    out_ += "<tspan x=\"" + Number(at[i].x) + "\" y=\"" + Number(at[i].y) + "\">" +
            Escape(TextToUtf8(run)) + "</tspan>";
  }
  out_ += "</text>\n";
  drew_ = true;
}

void Player::Picture(std::uint16_t flags, Reader& r, bool points) {
  const Object* o = Slot(flags & 0xFF, 5);
  r.U32();  // image attributes
  r.I32();  // source unit: pixels in practice
  const Rect src = ReadRect(r, false);
  std::vector<Point> p;
  Rect dst;
  if (points) {
    std::uint32_t count = r.U32();
    p = ReadPoints(r, 3, flags & kCompressed, flags & kRelative);
    if (count != 3 || p.size() != 3) return;
  } else {
    dst = ReadRect(r, flags & kCompressed);
  }
  if (r.failed || !o || !(src.w > 0) || !(src.h > 0) || Full()) return;
  Matrix place;
  if (points) {
    // the source's corners to the parallelogram of the three points
    const double ax = (p[1].x - p[0].x) / src.w, ay = (p[1].y - p[0].y) / src.w;
    const double cx = (p[2].x - p[0].x) / src.h, cy = (p[2].y - p[0].y) / src.h;
    place = {ax, ay, cx, cy, p[0].x - ax * src.x - cx * src.y, p[0].y - ay * src.x - cy * src.y};
  } else {
    const double sx = dst.w / src.w, sy = dst.h / src.h;
    place = {sx, 0, 0, sy, dst.x - sx * src.x, dst.y - sy * src.y};
  }
  const Matrix m = Then(place, Current());
  if (!m.Finite()) return;
  const Image& image = *o->image;
  std::string uri = image.dataUri;
  Rect at{0, 0, image.width, image.height};
  if (uri.empty() && !image.metafile.empty() && depth_ < kMaxDepth) {
    // an EMF inside: played at the size it is shown, filling the source rectangle
    const Matrix shown = Then(m, device_);
    const int w = static_cast<int>(ClampSide(src.w * std::hypot(shown.a, shown.b)));
    const int h = static_cast<int>(ClampSide(src.h * std::hypot(shown.c, shown.d)));
    std::optional<std::string> inner = PlayEmf(image.metafile, w, h, gdi_, depth_ + 1);
    if (!inner && gdi_) inner = gdi_(image.metafile);
    if (inner && !inner->empty()) uri = "data:image/svg+xml;base64," + Base64(*inner);
    at = src;
  }
  if (uri.empty()) return;
  OpenClip();
  out_ +=
      "<g transform=\"" + MatrixText(m) + "\"><svg x=\"" + Number(src.x) + "\" y=\"" +
      Number(src.y) + "\" width=\"" + Number(src.w) + "\" height=\"" + Number(src.h) +
      "\" viewBox=\"" + Number(src.x) + " " + Number(src.y) + " " + Number(src.w) + " " +
      Number(src.h) +
      "\" preserveAspectRatio=\"none\"><image xmlns:xlink=\"http://www.w3.org/1999/xlink\" x=\"" +
      Number(at.x) + "\" y=\"" + Number(at.y) + "\" width=\"" + Number(at.w) + "\" height=\"" +
      Number(at.h) + "\" preserveAspectRatio=\"none\" xlink:href=\"" + uri + "\"/></svg></g>\n";
  drew_ = true;
}

void Player::Save(std::uint32_t index, bool container) {
  if (stack_.size() >= kMaxStack) return;
  stack_.push_back({index, container, world_, base_, page_, clip_, baseClip_});
}

void Player::Restore(std::uint32_t index) {
  for (std::size_t i = stack_.size(); i-- > 0;) {
    if (stack_[i].index != index) continue;
    const State& s = stack_[i];
    world_ = s.world;
    base_ = s.base;
    page_ = s.page;
    clip_ = s.clip;
    baseClip_ = s.baseClip;
    clipDirty_ = true;
    stack_.resize(i);
    return;
  }
}

void Player::Transform(std::uint16_t flags, const Matrix& m) {
  if (!m.Finite()) return;
  Matrix next = (flags & kClosedOrAppend) ? Then(world_, m) : Then(m, world_);
  if (next.Finite()) world_ = next;
}

void Player::Play(std::uint16_t type, std::uint16_t flags, std::string_view data) {
  Reader r(data);
  const bool compressed = flags & kCompressed, relative = flags & kRelative;
  switch (type) {
    case 0x4008:
      Define(flags, data);
      break;
    case 0x4009: {  // clear
      Argb c{r.U32()};
      if (r.failed || Full()) break;
      OpenClip();
      out_ += "<rect x=\"-1e6\" y=\"-1e6\" width=\"2e6\" height=\"2e6\" " +
              PaintOf(SolidBrush(c), "fill") + "/>\n";
      break;
    }
    case 0x400A:    // fill rects
    case 0x400B: {  // draw rects
      std::uint32_t brush = type == 0x400A ? r.U32() : 0, count = r.U32();
      if (count > r.Left() / (compressed ? 8 : 16)) break;
      Path all;
      for (std::uint32_t i = 0; i < count; ++i) {
        Path p = RectPath(ReadRect(r, compressed));
        all.points.insert(all.points.end(), p.points.begin(), p.points.end());
        all.types.insert(all.types.end(), p.types.begin(), p.types.end());
      }
      if (type == 0x400A) {
        Fill(flags, brush, all, false);
      } else {
        Stroke(flags & 0xFF, all);
      }
      break;
    }
    case 0x400C: {  // fill polygon
      std::uint32_t brush = r.U32(), count = r.U32();
      std::vector<Point> p = ReadPoints(r, count, compressed, relative);
      if (!r.failed) Fill(flags, brush, PolyPath(p, true));
      break;
    }
    case 0x400D: {  // draw lines
      std::uint32_t count = r.U32();
      std::vector<Point> p = ReadPoints(r, count, compressed, relative);
      if (!r.failed) Stroke(flags & 0xFF, PolyPath(p, flags & kClosedOrAppend));
      break;
    }
    case 0x400E:    // fill ellipse
    case 0x400F: {  // draw ellipse
      std::uint32_t brush = type == 0x400E ? r.U32() : 0;
      Rect rc = ReadRect(r, compressed);
      if (r.failed) break;
      if (type == 0x400E) {
        Fill(flags, brush, EllipsePath(rc), false);
      } else {
        Stroke(flags & 0xFF, EllipsePath(rc));
      }
      break;
    }
    case 0x4010:    // fill pie
    case 0x4011:    // draw pie
    case 0x4012: {  // draw arc
      std::uint32_t brush = type == 0x4010 ? r.U32() : 0;
      double start = r.F32(), sweep = r.F32();
      Rect rc = ReadRect(r, compressed);
      if (r.failed) break;
      Path p = ArcPath(rc, start, sweep, type != 0x4012);
      if (type == 0x4010) {
        Fill(flags, brush, p, false);
      } else {
        Stroke(flags & 0xFF, p);
      }
      break;
    }
    case 0x4013: {  // fill region
      std::uint32_t brush = r.U32();
      const Object* o = Slot(flags & 0xFF, 4);
      if (r.failed || !o) break;
      for (const RegionShape& s : o->region->shapes) Fill(flags, brush, s.path, s.evenOdd);
      break;
    }
    case 0x4014: {  // fill path
      std::uint32_t brush = r.U32();
      const Object* o = Slot(flags & 0xFF, 3);
      if (!r.failed && o) Fill(flags, brush, *o->path);
      break;
    }
    case 0x4015: {  // draw path
      std::uint32_t pen = r.U32();
      const Object* o = Slot(flags & 0xFF, 3);
      if (!r.failed && o) Stroke(pen, *o->path);
      break;
    }
    case 0x4016: {  // fill closed curve
      std::uint32_t brush = r.U32();
      double tension = r.F32();
      std::uint32_t count = r.U32();
      std::vector<Point> p = ReadPoints(r, count, compressed, relative);
      if (!r.failed)
        Fill(flags & ~kClosedOrAppend, brush, CurvePath(p, tension, true),
             !(flags & kClosedOrAppend));
      break;
    }
    case 0x4017: {  // draw closed curve
      double tension = r.F32();
      std::uint32_t count = r.U32();
      std::vector<Point> p = ReadPoints(r, count, compressed, relative);
      if (!r.failed) Stroke(flags & 0xFF, CurvePath(p, tension, true));
      break;
    }
    case 0x4018: {  // draw curve
      double tension = r.F32();
      std::uint32_t offset = r.U32(), segments = r.U32(), count = r.U32();
      std::vector<Point> p = ReadPoints(r, count, compressed, false);
      if (r.failed || offset >= p.size()) break;
      const std::size_t last = std::min<std::size_t>(p.size() - 1, std::size_t{offset} + segments);
      Path curve = CurvePath(p, tension, false);
      // the curve through all the points, cut to the segments asked for
      Path cut;
      for (std::size_t i = offset * 3; i <= last * 3 && i < curve.points.size(); ++i) {
        cut.points.push_back(curve.points[i]);
        cut.types.push_back(cut.types.empty() ? 0 : curve.types[i]);
      }
      Stroke(flags & 0xFF, cut);
      break;
    }
    case 0x4019: {  // draw Beziers
      std::uint32_t count = r.U32();
      std::vector<Point> p = ReadPoints(r, count, compressed, relative);
      if (!r.failed) Stroke(flags & 0xFF, PolyPath(p, false, true));
      break;
    }
    case 0x401A:  // draw image
    case 0x401B:  // draw image points
      Picture(flags, r, type == 0x401B);
      break;
    case 0x401C:
      Text(flags, r);
      break;
    case 0x4036:
      DriverText(flags, r);
      break;
    case 0x4025:    // save
    case 0x4028: {  // begin container without parameters
      std::uint32_t index = r.U32();
      if (r.failed) break;
      Save(index, type == 0x4028);
      if (type == 0x4028) {
        base_ = Then(world_, base_);
        world_ = Matrix{};
        baseClip_ = clip_;
      }
      break;
    }
    case 0x4027: {  // begin container
      Rect dst = ReadRect(r, false), src = ReadRect(r, false);
      std::uint32_t index = r.U32();
      if (r.failed) break;
      Save(index, true);
      Matrix map;
      if (src.w != 0 && src.h != 0) {
        map = {dst.w / src.w,
               0,
               0,
               dst.h / src.h,
               dst.x - dst.w / src.w * src.x,
               dst.y - dst.h / src.h * src.y};
      }
      Matrix next = Then(Then(map, world_), base_);
      if (next.Finite()) base_ = next;
      world_ = Matrix{};
      baseClip_ = clip_;
      break;
    }
    case 0x4026:    // restore
    case 0x4029: {  // end container
      std::uint32_t index = r.U32();
      if (!r.failed) Restore(index);
      break;
    }
    case 0x402A: {  // set world transform
      std::optional<Matrix> m = ReadMatrix(r);
      if (m) world_ = *m;
      break;
    }
    case 0x402B:
      world_ = Matrix{};
      break;
    case 0x402C: {  // multiply
      std::optional<Matrix> m = ReadMatrix(r);
      if (m) Transform(flags, *m);
      break;
    }
    case 0x402D: {  // translate
      double dx = r.F32(), dy = r.F32();
      if (!r.failed) Transform(flags, Translation(dx, dy));
      break;
    }
    case 0x402E: {  // scale
      double sx = r.F32(), sy = r.F32();
      if (!r.failed) Transform(flags, Scaling(sx, sy));
      break;
    }
    case 0x402F: {  // rotate, in degrees
      double a = r.F32() * std::numbers::pi / 180;
      if (!r.failed && std::isfinite(a)) {
        Transform(flags, {std::cos(a), std::sin(a), -std::sin(a), std::cos(a), 0, 0});
      }
      break;
    }
    case 0x4030: {  // page transform
      double scale = r.F32();
      if (r.failed || !std::isfinite(scale) || !(std::fabs(scale) < kMaxCoefficient)) break;
      const std::uint32_t unit = flags & 0xFF;
      page_ = Scaling(UnitScale(unit, dpiX_) * scale, UnitScale(unit, dpiY_) * scale);
      break;
    }
    case 0x4031:  // reset clip
      clip_ = baseClip_;
      clipDirty_ = true;
      break;
    case 0x4032: {  // clip to a rectangle
      Rect rc = ReadRect(r, false);
      if (!r.failed) ClipTo(flags >> 8 & 0xF, RectPath(rc));
      break;
    }
    case 0x4033: {  // clip to a path
      const Object* o = Slot(flags & 0xFF, 3);
      if (o) ClipTo(flags >> 8 & 0xF, *o->path);
      break;
    }
    case 0x4034: {  // clip to a region
      const Object* o = Slot(flags & 0xFF, 4);
      if (!o) break;
      if (o->region->infinite) {
        if ((flags >> 8 & 0xF) == 0) {
          clip_ = baseClip_;
          clipDirty_ = true;
        }
        break;
      }
      SetClip(flags >> 8 & 0xF, InDevice(*o->region));
      break;
    }
    case 0x4035: {  // offset clip
      double dx = r.F32(), dy = r.F32();
      if (r.failed || !std::isfinite(dx) || !std::isfinite(dy)) break;
      const Matrix m = Current();
      const double ox = m.a * dx + m.c * dy, oy = m.b * dx + m.d * dy;
      for (std::size_t i = baseClip_.size(); i < clip_.size(); ++i) {
        for (RegionShape& s : clip_[i]) {
          for (Point& p : s.path.points) p = {p.x + ox, p.y + oy};
        }
      }
      clipDirty_ = true;
      break;
    }
    default:
      break;  // rendering hints, comments and records with nothing to draw
  }
}

std::string Player::Finish() {
  std::string svg = SvgOpen(width_, height_);
  svg += "<g transform=\"" + MatrixText(device_) + "\">\n";
  svg += out_;
  for (; openGroups_ > 0; --openGroups_) svg += "</g>\n";
  svg += "</g>\n";
  svg += kSvgClose;
  return svg;
}

// The EMF header's fields this player needs.
struct Header {
  std::int32_t bounds[4] = {}, frame[4] = {};
  std::int32_t device[2] = {}, millimeters[2] = {}, micrometers[2] = {};
};

std::optional<Header> ReadHeader(std::string_view emf) {
  Reader r(emf);
  if (r.U32() != 1) return std::nullopt;
  std::uint32_t size = r.U32();
  Header h;
  for (std::int32_t& v : h.bounds) v = r.I32();
  for (std::int32_t& v : h.frame) v = r.I32();
  if (r.U32() != 0x464D4520) return std::nullopt;  // " EMF"
  r.Skip(28);
  for (std::int32_t& v : h.device) v = r.I32();
  for (std::int32_t& v : h.millimeters) v = r.I32();
  if (r.failed || size < 88 || size > emf.size()) return std::nullopt;
  if (size >= 108) {
    r.Skip(12);
    for (std::int32_t& v : h.micrometers) v = r.I32();
    if (r.failed) h.micrometers[0] = h.micrometers[1] = 0;
  }
  return h;
}

// Device pixels of the recording to the picture's px: through the frame
// (hundredths of a millimetre) and the reference device's pixel size, else
// through the bounds.
Matrix DeviceMatrix(const Header& h, double width, double height) {
  double scale[2] = {0, 0}, origin[2] = {0, 0};
  for (int axis = 0; axis < 2; ++axis) {
    const double side = axis ? height : width;
    const double frame = static_cast<double>(h.frame[axis + 2]) - h.frame[axis];
    double mmPerPixel = 0;
    if (h.device[axis] > 0 && h.micrometers[axis] > 0) {
      mmPerPixel = h.micrometers[axis] / 1000.0 / h.device[axis];
    } else if (h.device[axis] > 0 && h.millimeters[axis] > 0) {
      mmPerPixel = static_cast<double>(h.millimeters[axis]) / h.device[axis];
    }
    if (frame > 0 && mmPerPixel > 0) {
      scale[axis] = mmPerPixel * 100 * side / frame;
      origin[axis] = -h.frame[axis] * side / frame;
    } else {
      const double bounds = static_cast<double>(h.bounds[axis + 2]) - h.bounds[axis] + 1;
      scale[axis] = bounds > 0 ? side / bounds : 1;
      origin[axis] = -h.bounds[axis] * scale[axis];
    }
  }
  return {scale[0], 0, 0, scale[1], origin[0], origin[1]};
}

// Drawing records: they end a stretch of GDI records handed over by GetDC.
bool Draws(std::uint16_t type) {
  return (type >= 0x4008 && type <= 0x401C) || type >= 0x4036;
}

std::optional<std::string> PlayEmf(std::string_view emf, int widthPx, int heightPx,
                                   const GdiPlayer& gdi, int depth) {
  std::optional<Header> header = ReadHeader(emf);
  if (!header) return std::nullopt;
  const double width = ClampSide(widthPx), height = ClampSide(heightPx);
  std::optional<Player> player;
  std::string handed;  // GDI records after GetDC, to be played by GDI
  std::uint32_t handedCount = 0;
  bool gdiTurn = false;
  std::size_t records = 0;
  Reader file(emf);
  while (file.Left() >= 8) {
    const std::size_t at = file.Offset();
    const std::uint32_t type = file.U32(), size = file.U32();
    if (size < 8 || size % 4 != 0 || size - 8 > file.Left()) break;
    std::string_view body = file.Bytes(size - 8);
    std::string_view record = emf.substr(at, size);
    if (type == 14) break;  // end of file
    if (type != 70 || body.size() < 8 || body.substr(4, 4) != "EMF+") {
      if (gdiTurn && type != 1 && type != 70) {
        handed.append(record);
        ++handedCount;
      }
      continue;
    }
    Reader plus(body.substr(8));
    while (plus.Left() >= 12 && ++records <= kMaxRecords) {
      const std::uint16_t ptype = plus.U16(), flags = plus.U16();
      const std::uint32_t psize = plus.U32(), dataSize = plus.U32();
      if (psize < 12 || psize - 12 > plus.Left() || dataSize > psize - 12) break;
      std::string_view data = plus.Bytes(psize - 12).substr(0, dataSize);
      if (ptype == 0x4001) {
        if (!player) {
          Reader h(data);
          h.U32();  // version
          h.U32();  // flags
          double dpiX = h.U32(), dpiY = h.U32();
          if (h.failed || dpiX < 1 || dpiX > 10000) dpiX = 96;
          if (h.failed || dpiY < 1 || dpiY > 10000) dpiY = 96;
          player.emplace(dpiX, dpiY, DeviceMatrix(*header, width, height), width, height, gdi,
                         depth);
        }
        continue;
      }
      if (!player || ptype == 0x4002) continue;
      if (ptype == 0x4004) gdiTurn = true;
      if (Draws(ptype)) gdiTurn = false;
      player->Play(ptype, flags, data);
    }
  }
  if (!player || !player->Drew()) return std::nullopt;
  std::string svg = player->Finish();
  if (gdi && !handed.empty() && svg.size() < kMaxSvgBytes) {
    // the header with its counts mended, the handed records, an end record
    std::string sub(emf.substr(0, std::min<std::size_t>(Reader(emf.substr(4)).U32(), emf.size())));
    sub += handed;
    static constexpr char kEnd[20] = {14, 0, 0,  0, 20, 0, 0,  0, 0, 0,
                                      0,  0, 16, 0, 0,  0, 20, 0, 0, 0};
    sub.append(kEnd, sizeof kEnd);
    const std::uint32_t bytes = static_cast<std::uint32_t>(sub.size()), count = handedCount + 2;
    for (int i = 0; i < 4; ++i) {
      sub[48 + i] = static_cast<char>(bytes >> (8 * i));
      sub[52 + i] = static_cast<char>(count >> (8 * i));
    }
    std::string over = gdi(sub);
    if (!over.empty()) {
      svg.resize(svg.size() - kSvgClose.size());
      svg += "<image xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" + Num(width) +
             "\" height=\"" + Num(height) +
             "\" preserveAspectRatio=\"none\" xlink:href=\"data:image/svg+xml;base64," +
             Base64(over) + "\"/>\n";
      svg += kSvgClose;
    }
  }
  return svg;
}

}  // namespace

std::optional<std::string> EmfPlusToSvg(std::string_view emf, int widthPx, int heightPx,
                                        const GdiPlayer& gdi) {
  return PlayEmf(emf, widthPx, heightPx, gdi, 0);
}

}  // namespace qp::draw
