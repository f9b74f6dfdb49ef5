// EMF+ image objects: compressed pictures pass through as data URIs, bare
// GDI+ pixels are encoded as PNG first. Metafile images stay blank.
#include <algorithm>
#include <cmath>
#include <utility>

#include "draw/emfplus_player.h"
#include "draw/raster.h"
#include "draw/svg_text.h"

namespace qp::draw::emfplus {

namespace {

constexpr std::uint32_t kIndexed = 0x00010000;

std::string_view MimeOf(std::string_view b) {
  if (b.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) return "image/png";
  if (b.substr(0, 3) == "\xFF\xD8\xFF") return "image/jpeg";
  if (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a") return "image/gif";
  return {};
}

// The pixel size a PNG, GIF or JPEG gives itself; 0 x 0 when it does not.
std::pair<std::uint32_t, std::uint32_t> SizeOf(std::string_view b) {
  auto byte = [&](std::size_t at) -> std::uint32_t {
    return at < b.size() ? static_cast<std::uint8_t>(b[at]) : 0;
  };
  auto be16 = [&](std::size_t at) { return byte(at) << 8 | byte(at + 1); };
  auto be32 = [&](std::size_t at) { return be16(at) << 16 | be16(at + 2); };
  std::string_view mime = MimeOf(b);
  if (mime == "image/png") return {be32(16), be32(20)};
  if (mime == "image/gif") return {byte(6) | byte(7) << 8, byte(8) | byte(9) << 8};
  if (mime == "image/jpeg") {
    for (std::size_t at = 2; at + 9 < b.size() && byte(at) == 0xFF;) {
      const std::uint32_t marker = byte(at + 1);
      if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
        return {be16(at + 7), be16(at + 5)};
      }
      at += 2 + be16(at + 2);
    }
  }
  return {0, 0};
}

std::uint8_t Scale5(std::uint32_t v) {
  return static_cast<std::uint8_t>((v & 31) * 255 / 31);
}

}  // namespace

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t v = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size())
      v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i + 1])) << 8;
    if (i + 2 < bytes.size()) v |= static_cast<std::uint8_t>(bytes[i + 2]);
    out += kDigits[v >> 18 & 63];
    out += kDigits[v >> 12 & 63];
    out += i + 1 < bytes.size() ? kDigits[v >> 6 & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[v & 63] : '=';
  }
  return out;
}

std::string PixelsToPng(std::uint32_t width, std::uint32_t height, std::uint32_t stride,
                        std::uint32_t format, std::string_view data) {
  if (width == 0 || height == 0 || std::uint64_t{width} * height > kMaxImagePixels) return {};
  Reader r(data);
  std::vector<std::uint32_t> palette;
  if (format & kIndexed) {
    r.U32();  // palette flags
    std::uint32_t count = r.U32();
    if (count > 256 || count > r.Left() / 4) return {};
    for (std::uint32_t i = 0; i < count; ++i) palette.push_back(r.U32());
  }
  const std::uint32_t bits = format >> 8 & 0xFF;
  if (bits == 0 || bits > 32) return {};
  if (std::uint64_t{stride} < (std::uint64_t{width} * bits + 7) / 8 ||
      std::uint64_t{stride} * height > r.Left()) {
    return {};
  }
  std::string_view pixels = r.Bytes(std::size_t{stride} * height);
  std::vector<std::uint8_t> rgba(std::size_t{width} * height * 4);
  auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(pixels[at]); };
  for (std::uint32_t y = 0; y < height; ++y) {
    const std::size_t row = std::size_t{y} * stride;
    for (std::uint32_t x = 0; x < width; ++x) {
      std::uint32_t argb = 0;
      switch (format) {
        case 0x00030101:  // 1 bit indexed
        case 0x00030402:  // 4 bit indexed
        case 0x00030803: {
          std::size_t bit = std::size_t{x} * bits;
          std::uint32_t index = byte(row + bit / 8) >> (8 - bits - bit % 8) & ((1u << bits) - 1);
          argb = index < palette.size() ? palette[index] : 0xFF000000;
          break;
        }
        case 0x00101004: {  // 16 bit grey
          std::uint32_t g = byte(row + x * 2 + 1);
          argb = 0xFF000000 | g << 16 | g << 8 | g;
          break;
        }
        case 0x00021005:    // RGB 555
        case 0x00061007:    // ARGB 1555
        case 0x00021006: {  // RGB 565
          std::uint32_t v = byte(row + x * 2) | byte(row + x * 2 + 1) << 8;
          std::uint32_t red, green, blue = Scale5(v);
          if (format == 0x00021006) {
            red = Scale5(v >> 11);
            green = (v >> 5 & 63) * 255 / 63;
          } else {
            red = Scale5(v >> 10);
            green = Scale5(v >> 5);
          }
          std::uint32_t alpha = format == 0x00061007 && !(v & 0x8000) ? 0 : 0xFF;
          argb = alpha << 24 | red << 16 | green << 8 | blue;
          break;
        }
        case 0x00021808:  // RGB, stored B G R
          argb = 0xFF000000 | byte(row + x * 3 + 2) << 16 | byte(row + x * 3 + 1) << 8 |
                 byte(row + x * 3);
          break;
        case 0x00022009:    // RGB with an unused byte
        case 0x0026200A:    // ARGB
        case 0x000E200B: {  // premultiplied ARGB
          const std::size_t at = row + std::size_t{x} * 4;
          std::uint32_t alpha = format == 0x00022009 ? 0xFF : byte(at + 3);
          std::uint32_t c[3] = {byte(at + 2), byte(at + 1), byte(at)};
          if (format == 0x000E200B) {
            for (std::uint32_t& v : c)
              v = alpha ? std::min<std::uint32_t>(255, v * 255 / alpha) : 0;
          }
          argb = alpha << 24 | c[0] << 16 | c[1] << 8 | c[2];
          break;
        }
        default:
          return {};
      }
      std::uint8_t* out = &rgba[(std::size_t{y} * width + x) * 4];
      out[0] = static_cast<std::uint8_t>(argb >> 16);
      out[1] = static_cast<std::uint8_t>(argb >> 8);
      out[2] = static_cast<std::uint8_t>(argb);
      out[3] = static_cast<std::uint8_t>(argb >> 24);
    }
  }
  return EncodePng(width, height, rgba);
}

std::optional<Image> ReadImage(std::string_view data) {
  Reader r(data);
  r.U32();  // version
  std::uint32_t type = r.U32();
  Image image;
  if (type == 2) {
    // a metafile inside the metafile: an EMF is played when drawn, a WMF stays blank
    const std::uint32_t kind = r.U32(), size = r.U32();
    std::string_view bytes = r.Bytes(size);
    if (r.failed) return std::nullopt;
    if (kind >= 3 && kind <= 5) image.metafile.assign(bytes);
    return image;
  }
  if (type != 1) return std::nullopt;
  std::int32_t width = r.I32(), height = r.I32(), stride = r.I32();
  std::uint32_t format = r.U32();
  std::uint32_t kind = r.U32();
  if (r.failed) return std::nullopt;
  image.width = width;
  image.height = height;
  if (kind == 1) {
    // the picture's own size: the header's is often 0 x 0
    std::string_view bytes = r.Rest();
    std::string_view mime = MimeOf(bytes);
    auto [w, h] = SizeOf(bytes);
    if (mime.empty() || w == 0 || h == 0) return image;
    image.width = w;
    image.height = h;
    image.dataUri = "data:" + std::string(mime) + ";base64," + Base64(bytes);
  } else if (width > 0 && height > 0 && stride > 0) {
    std::string png =
        PixelsToPng(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                    static_cast<std::uint32_t>(stride), format, r.Rest());
    if (!png.empty()) image.dataUri = "data:image/png;base64," + Base64(png);
  }
  return image;
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
    // an EMF inside: played at the size it is shown, filling the source
    // rectangle; once for each size it is shown at, a few times at most
    const Matrix shown = Then(m, device_);
    const int w = static_cast<int>(ClampSide(src.w * std::hypot(shown.a, shown.b)));
    const int h = static_cast<int>(ClampSide(src.h * std::hypot(shown.c, shown.d)));
    for (const Played& done : played_) {
      if (done.image == o->image && done.width == w && done.height == h) uri = done.uri;
    }
    if (uri.empty() && played_.size() < kMaxPlayed) {
      std::optional<std::string> inner = PlayEmf(image.metafile, w, h, gdi_, depth_ + 1);
      if (!inner && gdi_ && IsEmf(image.metafile)) inner = gdi_(image.metafile);
      if (inner && !inner->empty()) uri = "data:image/svg+xml;base64," + Base64(*inner);
      played_.push_back({o->image, w, h, uri});
    }
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

}  // namespace qp::draw::emfplus
