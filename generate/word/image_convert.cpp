// BMP and TIFF pictures go on the page as PNG, as browsers show neither.
#include <cstdint>
#include <cstring>
#include <vector>

#include "draw/metafile_kind.h"
#include "draw/raster.h"
#include "generate/word/pictures.h"
#include "generate/word/rgba_image.h"

namespace qp::word {

namespace {

using draw::Le32;

std::uint16_t Le16(std::string_view b, std::size_t at) {
  if (at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                    static_cast<std::uint8_t>(b[at + 1]) << 8);
}

// Uncompressed BMP with 8, 24 or 32 bits a pixel; anything else is refused.
bool DecodeBmp(std::string_view b, RgbaImage& out) {
  std::uint32_t offset = Le32(b, 10), header = Le32(b, 14);
  std::int32_t w = static_cast<std::int32_t>(Le32(b, 18));
  std::int32_t h = static_cast<std::int32_t>(Le32(b, 22));
  std::uint16_t bits = Le16(b, 28);
  std::uint32_t compression = Le32(b, 30);
  if (header < 40 || w <= 0 || h == 0 || compression != 0) return false;
  bool bottomUp = h > 0;
  std::uint32_t height = static_cast<std::uint32_t>(bottomUp ? h : -h);
  std::uint32_t width = static_cast<std::uint32_t>(w);
  if (width > kMaxSide || height > kMaxSide || (bits != 8 && bits != 24 && bits != 32))
    return false;
  std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
  if (offset + stride * height > b.size()) return false;
  std::size_t paletteAt = 14 + header;
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<std::size_t>(width) * height * 4, 255);
  for (std::uint32_t y = 0; y < height; ++y) {
    std::size_t row = offset + stride * (bottomUp ? height - 1 - y : y);
    for (std::uint32_t x = 0; x < width; ++x) {
      std::uint8_t* px = &out.pixels[(static_cast<std::size_t>(y) * width + x) * 4];
      std::size_t at = row + static_cast<std::size_t>(x) * (bits / 8);
      std::size_t color = at;
      if (bits == 8) {
        color = paletteAt + static_cast<std::uint8_t>(b[at]) * 4u;
        if (color + 3 > b.size()) return false;
      }
      px[0] = static_cast<std::uint8_t>(b[color + 2]);
      px[1] = static_cast<std::uint8_t>(b[color + 1]);
      px[2] = static_cast<std::uint8_t>(b[color]);
    }
  }
  return true;
}

}  // namespace

std::string EncodePng(const RgbaImage& image) {
  return draw::EncodePng(image.width, image.height, image.pixels);
}

std::string ConvertToPng(std::string_view bytes, ImageKind kind) {
  RgbaImage image;
  bool ok = kind == ImageKind::Bmp    ? DecodeBmp(bytes, image)
            : kind == ImageKind::Tiff ? DecodeTiff(bytes, image)
                                      : false;
  return ok ? EncodePng(image) : std::string();
}

}  // namespace qp::word
