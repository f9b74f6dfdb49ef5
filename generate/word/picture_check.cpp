// What a picture's header says, checked before the picture is copied to the
// page: a document cannot pass off megabytes of anything as a picture by
// its first eight bytes.
#include <cstdint>

#include "generate/word/pictures.h"

namespace qp::word {

namespace {

// Room for what a picture carries beside its pixels (colour profiles, Exif,
// text chunks, a thumbnail).
constexpr std::uint64_t kMetadataBytes = 16ull << 20;

std::uint32_t Big32(std::string_view b, std::size_t at) {
  return (std::uint32_t{static_cast<unsigned char>(b[at])} << 24) |
         (std::uint32_t{static_cast<unsigned char>(b[at + 1])} << 16) |
         (std::uint32_t{static_cast<unsigned char>(b[at + 2])} << 8) |
         std::uint32_t{static_cast<unsigned char>(b[at + 3])};
}

std::uint32_t Big16(std::string_view b, std::size_t at) {
  return (std::uint32_t{static_cast<unsigned char>(b[at])} << 8) |
         std::uint32_t{static_cast<unsigned char>(b[at + 1])};
}

std::uint32_t Little16(std::string_view b, std::size_t at) {
  return std::uint32_t{static_cast<unsigned char>(b[at])} |
         (std::uint32_t{static_cast<unsigned char>(b[at + 1])} << 8);
}

bool SidesWithinCaps(std::uint64_t width, std::uint64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

bool IsChunkType(std::string_view type) {
  for (char c : type) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  }
  return true;
}

// The chunks run from IHDR to IEND, and the compressed rows are no more
// than deflate can make of the rows the header describes.
bool IsSoundPng(std::string_view b) {
  constexpr std::size_t kSignature = 8;
  if (b.size() < kSignature + 25 || Big32(b, 8) != 13 || b.substr(12, 4) != "IHDR") return false;
  const std::uint64_t width = Big32(b, 16), height = Big32(b, 20);
  const unsigned depth = static_cast<unsigned char>(b[24]);
  const unsigned colour = static_cast<unsigned char>(b[25]);
  static constexpr unsigned kChannels[] = {1, 0, 3, 1, 2, 0, 4};
  if (!SidesWithinCaps(width, height) || colour > 6 || kChannels[colour] == 0) return false;
  if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16) return false;
  const std::uint64_t rowBytes = (width * kChannels[colour] * depth + 7) / 8 + 1;
  const std::uint64_t rawBytes = rowBytes * height;
  // zlib's worst case for stored blocks, with room for interlacing's rows.
  const std::uint64_t maxImageData = rawBytes + rawBytes / 64 + 4096 + 8 * height;
  std::uint64_t imageData = 0, otherData = 0;
  for (std::size_t at = kSignature; at + 12 <= b.size();) {
    const std::uint64_t length = Big32(b, at);
    const std::string_view type = b.substr(at + 4, 4);
    if (!IsChunkType(type) || length > b.size() - at - 12) return false;
    if (type == "IEND") return true;  // bytes after it are no part of the picture
    (type == "IDAT" ? imageData : otherData) += length;
    if (imageData > maxImageData || otherData > kMetadataBytes) return false;
    at += 12 + length;
  }
  return false;
}

// A frame header (SOF) with sides within the caps, reached through whole
// segments; the coded data after it is no more than a few bytes a pixel.
bool IsSoundJpeg(std::string_view b) {
  std::size_t at = 2;
  while (at + 4 <= b.size()) {
    if (static_cast<unsigned char>(b[at]) != 0xFF) return false;
    const unsigned marker = static_cast<unsigned char>(b[at + 1]);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    const std::uint32_t length = Big16(b, at + 2);
    if (length < 2 || at + 2 + length > b.size()) return false;
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 8) return false;
      const std::uint64_t height = Big16(b, at + 5), width = Big16(b, at + 7);
      const std::uint64_t components = static_cast<unsigned char>(b[at + 9]);
      if (!SidesWithinCaps(width, height) || components < 1 || components > 4) return false;
      return b.size() <= width * height * components * 4 + kMetadataBytes;
    }
    if (marker == 0xD9 || marker == 0xDA) return false;  // image data before any frame
    at += 2 + length;
  }
  return false;
}

bool IsSoundGif(std::string_view b) {
  return b.size() >= 13 && SidesWithinCaps(Little16(b, 6), Little16(b, 8));
}

}  // namespace

bool IsSoundPicture(std::string_view bytes, ImageKind kind) {
  switch (kind) {
    case ImageKind::Png:
      return IsSoundPng(bytes);
    case ImageKind::Jpeg:
      return IsSoundJpeg(bytes);
    case ImageKind::Gif:
      return IsSoundGif(bytes);
    default:
      return false;
  }
}

}  // namespace qp::word
