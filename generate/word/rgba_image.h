// A decoded picture on its way to PNG, and the largest side the engine
// decodes (a hostile header may claim any size).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qp::word {

struct RgbaImage {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // 4 bytes a pixel, top row first
};

constexpr std::uint32_t kMaxSide = 20000;

// PNG bytes of the image; "" when libpng refuses it.
std::string EncodePng(const RgbaImage& image);

// TIFF through libtiff, loaded only when a document holds a TIFF picture.
// False when the picture cannot be decoded or libtiff is not installed.
bool DecodeTiff(std::string_view bytes, RgbaImage& out);

// PNG through libpng; false when it is broken or a side passes kMaxSide.
bool DecodePng(std::string_view bytes, RgbaImage& out);

// A JPEG decoded with libjpeg, opaque. `gray` tells a one-channel picture;
// `quality` is the quality its luminance table was written at (1..100).
struct JpegInfo {
  bool gray = false;
  int quality = 85;
};
bool DecodeJpeg(std::string_view bytes, RgbaImage& out, JpegInfo& info);

// JPEG bytes of the image at `quality`, its alpha dropped; one channel
// when `gray`. "" when libjpeg refuses.
std::string EncodeJpeg(const RgbaImage& image, int quality, bool gray);

}  // namespace qp::word
