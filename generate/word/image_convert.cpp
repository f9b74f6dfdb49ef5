// BMP and TIFF pictures go on the page as PNG, as browsers show neither.
#include <png.h>
#include <tiffio.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "generate/word/pictures.h"

namespace qp::word {

namespace {

struct Rgba {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // 4 bytes a pixel, top row first
};

constexpr std::uint32_t kMaxSide = 20000;

std::uint32_t Le32(std::string_view b, std::size_t at) {
  if (at + 4 > b.size()) return 0;
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

std::uint16_t Le16(std::string_view b, std::size_t at) {
  if (at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                    static_cast<std::uint8_t>(b[at + 1]) << 8);
}

// Uncompressed BMP with 8, 24 or 32 bits a pixel; anything else is refused.
bool DecodeBmp(std::string_view b, Rgba& out) {
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

struct MemoryFile {
  std::string_view bytes;
  toff_t at = 0;
};

tsize_t TiffRead(thandle_t h, tdata_t buf, tsize_t size) {
  auto* f = static_cast<MemoryFile*>(h);
  if (f->at >= f->bytes.size()) return 0;
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), f->bytes.size() - f->at);
  std::memcpy(buf, f->bytes.data() + f->at, n);
  f->at += n;
  return static_cast<tsize_t>(n);
}
tsize_t TiffWrite(thandle_t, tdata_t, tsize_t) {
  return 0;
}
toff_t TiffSeek(thandle_t h, toff_t off, int whence) {
  auto* f = static_cast<MemoryFile*>(h);
  toff_t base = whence == SEEK_CUR ? f->at : whence == SEEK_END ? f->bytes.size() : 0;
  f->at = base + off;
  return f->at;
}
int TiffClose(thandle_t) {
  return 0;
}
toff_t TiffSize(thandle_t h) {
  return static_cast<MemoryFile*>(h)->bytes.size();
}
int TiffMap(thandle_t, tdata_t*, toff_t*) {
  return 0;
}
void TiffUnmap(thandle_t, tdata_t, toff_t) {}

bool DecodeTiff(std::string_view b, Rgba& out) {
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  MemoryFile file{b, 0};
  TIFF* tif = TIFFClientOpen("picture", "rm", &file, TiffRead, TiffWrite, TiffSeek, TiffClose,
                             TiffSize, TiffMap, TiffUnmap);
  if (!tif) return false;
  std::uint32_t w = 0, h = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  bool ok = w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide;
  std::vector<std::uint32_t> raster;
  if (ok) {
    raster.resize(static_cast<std::size_t>(w) * h);
    ok = TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_TOPLEFT, 0) != 0;
  }
  TIFFClose(tif);
  if (!ok) return false;
  out.width = w;
  out.height = h;
  out.pixels.resize(raster.size() * 4);
  for (std::size_t i = 0; i < raster.size(); ++i) {
    out.pixels[i * 4] = static_cast<std::uint8_t>(TIFFGetR(raster[i]));
    out.pixels[i * 4 + 1] = static_cast<std::uint8_t>(TIFFGetG(raster[i]));
    out.pixels[i * 4 + 2] = static_cast<std::uint8_t>(TIFFGetB(raster[i]));
    out.pixels[i * 4 + 3] = static_cast<std::uint8_t>(TIFFGetA(raster[i]));
  }
  return true;
}

std::string EncodePng(const Rgba& image) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = image.width;
  png.height = image.height;
  png.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.pixels.data(), 0, nullptr)) {
    return {};
  }
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&png, out.data(), &size, 0, image.pixels.data(), 0, nullptr)) {
    return {};
  }
  out.resize(size);
  return out;
}

}  // namespace

std::string ConvertToPng(std::string_view bytes, ImageKind kind) {
  Rgba image;
  bool ok = kind == ImageKind::Bmp    ? DecodeBmp(bytes, image)
            : kind == ImageKind::Tiff ? DecodeTiff(bytes, image)
                                      : false;
  return ok ? EncodePng(image) : std::string();
}

}  // namespace qp::word
