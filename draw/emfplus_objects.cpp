// EMF+ graphics objects from their serialised form.
#include <algorithm>
#include <cmath>

#include "draw/emfplus_model.h"
#include "text/codec.h"

namespace qp::draw::emfplus {

double Matrix::Scale() const {
  return std::sqrt(std::fabs(a * d - b * c));
}

bool Matrix::Finite() const {
  for (double v : {a, b, c, d, e, f}) {
    if (!std::isfinite(v) || std::fabs(v) > kMaxCoefficient) return false;
  }
  return true;
}

Matrix Then(const Matrix& m, const Matrix& o) {
  return {o.a * m.a + o.c * m.b, o.b * m.a + o.d * m.b,       o.a * m.c + o.c * m.d,
          o.b * m.c + o.d * m.d, o.a * m.e + o.c * m.f + o.e, o.b * m.e + o.d * m.f + o.f};
}

Matrix Translation(double dx, double dy) {
  return {1, 0, 0, 1, dx, dy};
}
Matrix Scaling(double sx, double sy) {
  return {sx, 0, 0, sy, 0, 0};
}

std::optional<Matrix> ReadMatrix(Reader& r) {
  Matrix m;
  m.a = r.F32();
  m.b = r.F32();
  m.c = r.F32();
  m.d = r.F32();
  m.e = r.F32();
  m.f = r.F32();
  if (r.failed || !m.Finite()) return std::nullopt;
  return m;
}

namespace {

// Coordinates past this are refused as points: they cannot be drawn, and
// their squares must stay finite.
constexpr double kMaxCoordinate = 1e12;

double Clean(double v) {
  return std::isfinite(v) ? std::clamp(v, -kMaxCoordinate, kMaxCoordinate) : 0;
}

// A relative step: one byte of 7 bits, or two bytes of 15, signed.
int StepR(Reader& r) {
  std::uint8_t first = r.U8();
  if (!(first & 0x80)) return (first & 0x40) ? static_cast<int>(first) - 0x80 : first;
  int v = (first & 0x7F) << 8 | r.U8();
  return (v & 0x4000) ? v - 0x8000 : v;
}

void ReadStops(Reader& r, std::vector<Stop>& stops, bool blend, Argb from, Argb to) {
  std::uint32_t count = r.U32();
  if (count == 0 || count > kMaxColors || count > r.Left() / 8) return;
  std::vector<double> positions(count);
  for (double& p : positions) p = std::clamp(Clean(r.F32()), 0.0, 1.0);
  stops.clear();
  for (std::uint32_t i = 0; i < count && !r.failed; ++i) {
    Stop s;
    s.offset = positions[i];
    if (blend) {
      // a blend factor mixes the two end colours
      double t = std::clamp(Clean(r.F32()), 0.0, 1.0);
      auto mix = [&](int shift) {
        double a = (from.value >> shift) & 0xFF, b = (to.value >> shift) & 0xFF;
        return static_cast<std::uint32_t>(std::lround(a + (b - a) * t)) << shift;
      };
      s.color.value = mix(24) | mix(16) | mix(8) | mix(0);
    } else {
      s.color.value = 0;  // the colours follow all the positions
    }
    stops.push_back(s);
  }
  if (!blend) {
    for (Stop& s : stops) s.color.value = r.U32();
  }
  if (r.failed) stops.clear();
}

Rect Bounds(const std::vector<Point>& points) {
  if (points.empty()) return {};
  double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
  for (const Point& p : points) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  return {x0, y0, x1 - x0, y1 - y0};
}

std::optional<Brush> ReadBrushFrom(Reader& r) {
  r.U32();  // version
  Brush b;
  std::uint32_t type = r.U32();
  switch (type) {
    case 0:
      b.kind = BrushKind::Solid;
      b.color.value = r.U32();
      break;
    case 1:
      b.kind = BrushKind::Hatch;
      b.hatch = r.U32();
      b.color.value = r.U32();
      b.back.value = r.U32();
      break;
    case 2: {
      // a texture tiles its image; a mid grey where the image cannot be shown
      b.kind = BrushKind::Texture;
      b.color.value = 0xFFA0A0A0;
      std::uint32_t flags = r.U32();
      b.wrap = r.I32();
      if (flags & 0x02) b.transform = ReadMatrix(r);
      std::optional<Image> image = ReadImage(r.Rest());
      if (image && !image->dataUri.empty() && image->width > 0 && image->height > 0) {
        b.texture = std::make_shared<const Image>(std::move(*image));
      }
      break;
    }
    case 3: {
      b.kind = BrushKind::PathGradient;
      std::uint32_t flags = r.U32();
      b.wrap = r.I32();
      Argb center{r.U32()};
      b.center = {Clean(r.F32()), Clean(r.F32())};
      std::uint32_t surround = r.U32();
      if (surround == 0 || surround > kMaxColors || surround > r.Left() / 4) return std::nullopt;
      Argb edge{r.U32()};
      r.Skip((surround - 1) * 4);
      if (flags & 0x01) {
        std::uint32_t size = r.U32();
        std::optional<Path> boundary = ReadPath(r.Bytes(size));
        if (!boundary) return std::nullopt;
        b.bounds = Bounds(boundary->points);
      } else {
        std::uint32_t count = r.U32();
        if (count > kMaxPathPoints || count > r.Left() / 8) return std::nullopt;
        b.bounds = Bounds(ReadPoints(r, count, false, false));
      }
      if (flags & 0x02) b.transform = ReadMatrix(r);
      b.stops = {{0, edge}, {1, center}};
      if (flags & 0x04) {
        ReadStops(r, b.stops, false, edge, center);
      } else if (flags & 0x08) {
        ReadStops(r, b.stops, true, edge, center);
      }
      // offsets run from the boundary to the centre; the SVG runs outwards
      for (Stop& s : b.stops) s.offset = 1 - s.offset;
      std::reverse(b.stops.begin(), b.stops.end());
      b.color = center;
      break;
    }
    case 4: {
      b.kind = BrushKind::LinearGradient;
      std::uint32_t flags = r.U32();
      b.wrap = r.I32();
      b.rect = {Clean(r.F32()), Clean(r.F32()), Clean(r.F32()), Clean(r.F32())};
      Argb start{r.U32()}, end{r.U32()};
      r.Skip(8);
      if (flags & 0x02) b.transform = ReadMatrix(r);
      b.stops = {{0, start}, {1, end}};
      if (flags & 0x04) {
        ReadStops(r, b.stops, false, start, end);
      } else if (flags & 0x08) {
        ReadStops(r, b.stops, true, start, end);
      }
      b.color = start;
      break;
    }
    default:
      return std::nullopt;
  }
  if (r.failed) return std::nullopt;
  return b;
}

}  // namespace

std::vector<Point> ReadPoints(Reader& r, std::size_t count, bool compressed, bool relative) {
  std::vector<Point> out;
  std::size_t least = relative ? 2 : compressed ? 4 : 8;
  if (count > kMaxPathPoints || count > r.Left() / least) {
    r.failed = true;
    return out;
  }
  out.reserve(count);
  Point at;
  for (std::size_t i = 0; i < count && !r.failed; ++i) {
    if (relative) {
      at.x += StepR(r);
      at.y += StepR(r);
      out.push_back(at);
    } else if (compressed) {
      double x = r.I16();
      out.push_back({x, static_cast<double>(r.I16())});
    } else {
      double x = Clean(r.F32());
      out.push_back({x, Clean(r.F32())});
    }
  }
  if (r.failed) out.clear();
  return out;
}

Rect ReadRect(Reader& r, bool compressed) {
  if (compressed) {
    double x = r.I16(), y = r.I16(), w = r.I16();
    return {x, y, w, static_cast<double>(r.I16())};
  }
  double x = Clean(r.F32()), y = Clean(r.F32()), w = Clean(r.F32());
  return {x, y, w, Clean(r.F32())};
}

std::optional<Brush> ReadBrush(std::string_view data) {
  Reader r(data);
  return ReadBrushFrom(r);
}

std::optional<Pen> ReadPen(std::string_view data) {
  Reader r(data);
  r.U32();  // version
  if (r.U32() != 0) return std::nullopt;
  Pen p;
  std::uint32_t flags = r.U32();
  p.unit = r.U32();
  p.width = Clean(r.F32());
  if (flags & 0x0001) ReadMatrix(r);  // a pen transform: rare, and left out
  if (flags & 0x0002) p.startCap = r.I32();
  if (flags & 0x0004) p.endCap = r.I32();
  if (flags & 0x0008) p.join = r.U32();
  if (flags & 0x0010) p.miterLimit = std::clamp(Clean(r.F32()), 1.0, 100.0);
  if (flags & 0x0020) p.style = r.I32();
  if (flags & 0x0040) r.U32();  // the dashes' caps
  if (flags & 0x0080) r.F32();  // dash offset
  if (flags & 0x0100) {
    std::uint32_t count = r.U32();
    if (count > 64 || count > r.Left() / 4) return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i)
      p.dashes.push_back(std::clamp(Clean(r.F32()), 0.0, 1000.0));
  }
  if (flags & 0x0200) r.I32();  // alignment
  if (flags & 0x0400) {
    std::uint32_t count = r.U32();
    if (count > r.Left() / 4) return std::nullopt;
    r.Skip(count * 4);
  }
  for (std::uint32_t cap : {0x0800u, 0x1000u}) {
    if (flags & cap) r.Skip(r.U32());
  }
  std::optional<Brush> brush = ReadBrushFrom(r);
  if (r.failed || !brush) return std::nullopt;
  p.brush = *brush;
  return p;
}

std::optional<Path> ReadPath(std::string_view data) {
  Reader r(data);
  r.U32();  // version
  std::uint32_t count = r.U32();
  std::uint32_t flags = r.U32();
  Path p;
  p.points = ReadPoints(r, count, flags & 0x4000, flags & 0x0800);
  if (r.failed) return std::nullopt;
  p.types.reserve(count);
  if (flags & 0x1000) {
    // run-length types: a byte with the run's length (low 6 bits), then the type
    while (p.types.size() < count && !r.failed) {
      std::uint8_t run = r.U8() & 0x3F;
      std::uint8_t type = r.U8();
      for (std::uint8_t i = 0; i < run && p.types.size() < count; ++i) p.types.push_back(type);
    }
  } else {
    std::string_view types = r.Bytes(count);
    p.types.assign(types.begin(), types.end());
  }
  if (r.failed || p.types.size() != p.points.size()) return std::nullopt;
  return p;
}

namespace {

// A region node, combined into a union of shapes: intersections keep the
// second operand (regions in metafiles are mostly one rectangle or one
// path), exclusions cut the second out of the first with the even-odd rule.
std::optional<Region> ReadNode(Reader& r, int depth) {
  if (depth > kMaxRegionDepth) return std::nullopt;
  std::uint32_t type = r.U32();
  Region out;
  switch (type) {
    case 0x10000000: {
      Rect rc = ReadRect(r, false);
      out.shapes.push_back({RectPath(rc), false});
      break;
    }
    case 0x10000001: {
      std::uint32_t size = r.U32();
      std::optional<Path> path = ReadPath(r.Bytes(size));
      if (!path) return std::nullopt;
      out.shapes.push_back({std::move(*path), false});
      break;
    }
    case 0x10000002:
      break;
    case 0x10000003:
      out.infinite = true;
      break;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: {
      std::optional<Region> left = ReadNode(r, depth + 1);
      if (!left) return std::nullopt;
      std::optional<Region> right = ReadNode(r, depth + 1);
      if (!right) return std::nullopt;
      if (type == 1) {
        out = left->infinite ? *right : right->infinite ? *left : *right;
      } else if (type == 2 || type == 3) {
        out = *left;
        out.infinite = left->infinite || right->infinite;
        for (RegionShape& s : right->shapes) out.shapes.push_back(std::move(s));
      } else {
        const Region& keep = type == 4 ? *left : *right;
        const Region& cut = type == 4 ? *right : *left;
        out = keep;
        if (!keep.infinite && keep.shapes.size() == 1 && cut.shapes.size() == 1) {
          RegionShape& s = out.shapes[0];
          s.evenOdd = true;
          s.path.points.insert(s.path.points.end(), cut.shapes[0].path.points.begin(),
                               cut.shapes[0].path.points.end());
          s.path.types.insert(s.path.types.end(), cut.shapes[0].path.types.begin(),
                              cut.shapes[0].path.types.end());
        }
      }
      break;
    }
    default:
      return std::nullopt;
  }
  if (r.failed) return std::nullopt;
  return out;
}

}  // namespace

std::optional<Region> ReadRegion(std::string_view data) {
  Reader r(data);
  r.U32();  // version
  r.U32();  // node count: the tree says it again
  return ReadNode(r, 0);
}

std::optional<Font> ReadFont(std::string_view data) {
  Reader r(data);
  r.U32();  // version
  Font f;
  f.emSize = Clean(r.F32());
  f.unit = r.U32();
  f.style = r.U32();
  r.U32();
  std::uint32_t length = r.U32();
  if (length > 256) length = 256;
  std::string_view name = r.Bytes(std::size_t{length} * 2);
  if (r.failed || !(f.emSize > 0)) return std::nullopt;
  Text family;
  for (std::size_t i = 0; i + 1 < name.size(); i += 2) {
    char16_t ch = static_cast<char16_t>(static_cast<std::uint8_t>(name[i]) |
                                        static_cast<std::uint8_t>(name[i + 1]) << 8);
    if (ch == 0) break;
    family += ch;
  }
  f.family = TextToUtf8(family);
  return f;
}

std::optional<StringFormat> ReadStringFormat(std::string_view data) {
  Reader r(data);
  r.U32();  // version
  StringFormat s;
  s.flags = r.U32();
  r.U32();  // language
  s.align = r.U32();
  s.lineAlign = r.U32();
  if (r.failed) return std::nullopt;
  return s;
}

Object ReadObject(std::uint32_t type, std::string_view data) {
  Object o;
  auto keep = [&](auto value, auto& slot) {
    if (!value) return;
    slot = std::make_shared<const typename decltype(value)::value_type>(std::move(*value));
    o.type = type;
  };
  switch (type) {
    case 1:
      keep(ReadBrush(data), o.brush);
      break;
    case 2:
      keep(ReadPen(data), o.pen);
      break;
    case 3:
      keep(ReadPath(data), o.path);
      break;
    case 4:
      keep(ReadRegion(data), o.region);
      break;
    case 5:
      keep(ReadImage(data), o.image);
      break;
    case 6:
      keep(ReadFont(data), o.font);
      break;
    case 7:
      keep(ReadStringFormat(data), o.format);
      break;
    default:
      break;
  }
  return o;
}

}  // namespace qp::draw::emfplus
