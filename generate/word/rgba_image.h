// A decoded picture on its way to PNG, and the largest side the engine
// decodes (a hostile header may claim any size).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace qp::word {

struct RgbaImage {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // 4 bytes a pixel, top row first
};

constexpr std::uint32_t kMaxSide = 20000;

// The share of each side a picture is cut by (a:srcRect), in thousandths
// of a percent; negative values (a picture shown with a margin) are ignored.
struct Crop {
  long left = 0, top = 0, right = 0, bottom = 0;
  bool operator<(const Crop& o) const {
    return std::tie(left, top, right, bottom) < std::tie(o.left, o.top, o.right, o.bottom);
  }
};

// The part of a width x height picture a crop keeps; width 0 when the crop
// keeps nothing or changes nothing.
struct CropBox {
  std::uint32_t left = 0, top = 0, width = 0, height = 0;
};
CropBox KeptPart(std::uint32_t width, std::uint32_t height, const Crop& crop);

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

// A JPEG cut to `crop` and encoded again at `quality`, a row at a time, so
// that a photograph is never held whole: the bytes DecodeJpeg, CropImage
// and EncodeJpeg would make. "" when libjpeg refuses it, a side passes
// kMaxSide, or the crop keeps nothing or changes nothing.
std::string CropJpeg(std::string_view bytes, const Crop& crop, int quality);

}  // namespace qp::word
