// Reading back the PNG pictures the drawing path writes, pixel by pixel.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qp::draw::testing {

struct Decoded {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> rgba;
  // The pixel at (x, y) as 0xRRGGBBAA.
  std::uint32_t At(std::uint32_t x, std::uint32_t y) const {
    const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
  }
};

inline Decoded Decode(const std::string& png) {
  Decoded d;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return d;
  image.format = PNG_FORMAT_RGBA;
  d.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, d.rgba.data(), 0, nullptr)) return {};
  d.width = image.width;
  d.height = image.height;
  return d;
}

}  // namespace qp::draw::testing

namespace qp::draw {
using testing::Decode;
using testing::Decoded;
}  // namespace qp::draw
