// Pictures as the document shows them: cut to their crop (a:srcRect), so
// that the written file holds only the part shown, and with their colour
// effects applied. PNG stays PNG, JPEG stays JPEG unless an effect makes it
// transparent; other kinds are written whole.
#include <cstddef>
#include <cstdint>

#include "generate/word/picture_effects.h"
#include "generate/word/pictures.h"
#include "generate/word/rgba_image.h"

namespace qp::word {

// The kept part of a width x height picture.
CropBox KeptPart(std::uint32_t width, std::uint32_t height, const Crop& crop) {
  auto cut = [](std::uint32_t side, long share) {
    if (share <= 0) return std::uint32_t{0};
    return static_cast<std::uint32_t>(static_cast<double>(side) * static_cast<double>(share) /
                                      100000.0);
  };
  std::uint32_t l = cut(width, crop.left), r = cut(width, crop.right);
  std::uint32_t t = cut(height, crop.top), b = cut(height, crop.bottom);
  if (l + r >= width || t + b >= height || l + r + t + b == 0) return {};
  return {l, t, width - l - r, height - t - b};
}

bool CropImage(RgbaImage& image, const Crop& crop) {
  CropBox box = KeptPart(image.width, image.height, crop);
  if (box.width == 0) return false;
  std::vector<std::uint8_t> kept;
  kept.reserve(static_cast<std::size_t>(box.width) * box.height * 4);
  for (std::uint32_t y = 0; y < box.height; ++y) {
    const std::uint8_t* row =
        &image.pixels[(static_cast<std::size_t>(box.top + y) * image.width + box.left) * 4];
    kept.insert(kept.end(), row, row + static_cast<std::size_t>(box.width) * 4);
  }
  image.pixels = std::move(kept);
  image.width = box.width;
  image.height = box.height;
  return true;
}

// A cut JPEG is encoded again at a quality that keeps photographs looking
// as they did without growing the file.
std::string CropPicture(const std::string& bytes, ImageKind kind, const Crop& crop) {
  RgbaImage image;
  std::string cropped;
  if (kind == ImageKind::Png && DecodePng(bytes, image) && CropImage(image, crop)) {
    cropped = EncodePng(image);
  } else if (kind == ImageKind::Jpeg) {
    cropped = CropJpeg(bytes, crop, 85);
  }
  return cropped.empty() ? bytes : cropped;
}

std::string EditPicture(const std::string& bytes, const Crop& crop, const PictureEffects& effects,
                        const char*& ext) {
  ImageKind kind = SniffImage(bytes);
  if (!effects.Any()) return CropPicture(bytes, kind, crop);
  RgbaImage image;
  JpegInfo jpeg;
  bool decoded = kind == ImageKind::Png    ? DecodePng(bytes, image)
                 : kind == ImageKind::Jpeg ? DecodeJpeg(bytes, image, jpeg)
                                           : false;
  if (!decoded) return bytes;
  CropImage(image, crop);
  ApplyEffects(image, effects);
  bool opaque = true, gray = true;
  for (std::size_t at = 0; at + 3 < image.pixels.size() && (opaque || gray); at += 4) {
    const std::uint8_t* px = &image.pixels[at];
    opaque = opaque && px[3] == 255;
    gray = gray && px[0] == px[1] && px[1] == px[2];
  }
  std::string out;
  if (kind == ImageKind::Jpeg && opaque) {
    out = EncodeJpeg(image, jpeg.quality, gray);
  } else {
    out = EncodePng(image);
    if (!out.empty()) ext = "png";
  }
  return out.empty() ? bytes : out;
}

}  // namespace qp::word
