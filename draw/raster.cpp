// Picture sizes and PNG encoding, for the page's own pictures and the
// drawing helper's alike; SvgToPng and PlaceholderPng are in rasterise.cpp.
#include "draw/raster.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qp::draw {

PixelSize CapSize(double width, double height) {
  if (!(width >= 1)) width = 1;
  if (!(height >= 1)) height = 1;
  double scale = std::min(1.0, kMaxSide / std::max(width, height));
  auto side = [&](double v) {
    return std::clamp(static_cast<int>(std::lround(v * scale)), 1, kMaxSide);
  };
  return {side(width), side(height)};
}

std::string FramePng(PixelSize size) {
  size = CapSize(size.width, size.height);
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size.width) * size.height * 4);
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      bool edge = x == 0 || y == 0 || x == size.width - 1 || y == size.height - 1;
      std::uint8_t* px = &rgba[(static_cast<std::size_t>(y) * size.width + x) * 4];
      px[0] = px[1] = px[2] = edge ? 0xA6 : 0xF2;
      px[3] = 0xFF;
    }
  }
  return EncodePng(static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height),
                   rgba, PngContent::Drawing);
}

namespace {

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))
      ->append(reinterpret_cast<const char*>(data), length);
}

void FlushPng(png_structp) {}

// libpng reports errors by longjmp; nothing with a destructor lives in this
// frame, so jumping out of it is safe.
bool WritePng(std::string& out, std::uint32_t width, std::uint32_t height, const std::uint8_t* rgba,
              PngContent content) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendPng, FlushPng);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  // Drawings are runs of flat colour, which deflate packs well unfiltered
  // and at a low level: files as small as with libpng's adaptive filters
  // and default level (which pay only on photographs) in a fifth of the
  // time, measured on the corpus's shapes and charts.
  if (content == PngContent::Drawing) {
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 3);
  }
  png_write_info(png, info);
  for (std::uint32_t y = 0; y < height; ++y) {
    png_write_row(png, rgba + static_cast<std::size_t>(y) * width * 4);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string EncodePng(std::uint32_t width, std::uint32_t height,
                      const std::vector<std::uint8_t>& rgba, PngContent content) {
  if (width == 0 || height == 0 || width > PNG_USER_WIDTH_MAX || height > PNG_USER_HEIGHT_MAX ||
      rgba.size() / 4 / width < height) {
    return {};
  }
  std::string out;
  out.reserve(rgba.size() / 8 + 1024);
  if (!WritePng(out, width, height, rgba.data(), content)) return {};
  return out;
}

}  // namespace qp::draw
