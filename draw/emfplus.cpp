// The EMF+ player: walks the EMF's comment records for EMF+ records, keeps
// the graphics state (object table, world and page transforms, containers,
// clip) and hands each drawing record to the code that writes it as SVG.
#include "draw/emfplus.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/emfplus_player.h"
#include "draw/svg_text.h"

namespace qp::draw {
namespace emfplus {

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
  if (type >= 0x4025 && type <= 0x4030) {
    PlayState(type, flags, r);
  } else if (type >= 0x4031 && type <= 0x4035) {
    PlayClip(type, flags, r);
  } else {
    PlayDrawing(type, flags, data, r);
  }
}

// Objects, and the records that draw with them.
void Player::PlayDrawing(std::uint16_t type, std::uint16_t flags, std::string_view data,
                         Reader& r) {
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
    default:
      break;  // rendering hints, comments and records with nothing to draw
  }
}

// Saved states, containers and the world and page transforms.
void Player::PlayState(std::uint16_t type, std::uint16_t flags, Reader& r) {
  switch (type) {
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
    default:
      break;
  }
}

// The clipping records.
void Player::PlayClip(std::uint16_t type, std::uint16_t flags, Reader& r) {
  switch (type) {
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
      OffsetClip(dx, dy);
      break;
    }
    default:
      break;
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

namespace {

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
      origin[axis] = -static_cast<double>(h.frame[axis]) * side / frame;
    } else {
      const double bounds = static_cast<double>(h.bounds[axis + 2]) - h.bounds[axis] + 1;
      scale[axis] = bounds > 0 ? side / bounds : 1;
      origin[axis] = -static_cast<double>(h.bounds[axis]) * scale[axis];
    }
  }
  return {scale[0], 0, 0, scale[1], origin[0], origin[1]};
}

// Drawing records: they end a stretch of GDI records handed over by GetDC.
bool Draws(std::uint16_t type) {
  return (type >= 0x4008 && type <= 0x401C) || type >= 0x4036;
}

}  // namespace

bool IsEmf(std::string_view bytes) {
  return ReadHeader(bytes).has_value();
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
      // the GDI player draws the bounds (not the frame) at the picture's size
      const Matrix d = DeviceMatrix(*header, width, height);
      const Header& h = *header;
      Rect at{d.a * h.bounds[0] + d.e, d.d * h.bounds[1] + d.f,
              d.a * (static_cast<double>(h.bounds[2]) - h.bounds[0] + 1),
              d.d * (static_cast<double>(h.bounds[3]) - h.bounds[1] + 1)};
      if (!(at.w > 0) || !(at.h > 0) || !std::isfinite(at.x) || !std::isfinite(at.y)) {
        at = {0, 0, width, height};
      }
      svg.resize(svg.size() - kSvgClose.size());
      svg += "<image xmlns:xlink=\"http://www.w3.org/1999/xlink\" x=\"" + Number(at.x) + "\" y=\"" +
             Number(at.y) + "\" width=\"" + Number(at.w) + "\" height=\"" + Number(at.h) +
             "\" preserveAspectRatio=\"none\" xlink:href=\"data:image/svg+xml;base64," +
             Base64(over) + "\"/>\n";
      svg += kSvgClose;
    }
  }
  return svg;
}

}  // namespace emfplus

std::optional<std::string> EmfPlusToSvg(std::string_view emf, int widthPx, int heightPx,
                                        const GdiPlayer& gdi) {
  return emfplus::PlayEmf(emf, widthPx, heightPx, gdi, 0);
}

}  // namespace qp::draw
