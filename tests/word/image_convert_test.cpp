// BMP and TIFF pictures become PNG with their pixels intact: checked by
// decoding the PNG again, so a swapped channel or a flipped row shows.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "generate/word/pictures.h"

namespace qp::word {
namespace {

void Put16(std::string& b, std::uint16_t v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>(v >> 8);
}
void Put32(std::string& b, std::uint32_t v) {
  Put16(b, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(b, static_cast<std::uint16_t>(v >> 16));
}

// Two pixels side by side, red then blue; rows are "RGB RGB".
const std::vector<std::uint8_t> kRedThenBlue = {255, 0, 0, 0, 0, 255};

// Uncompressed 24-bit BMP, bottom-up, rows padded to 4 bytes.
std::string Bmp(const std::vector<std::uint8_t>& rgb, std::uint32_t width, std::uint32_t height) {
  const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
  std::string b = "BM";
  Put32(b, 54 + stride * height);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, width);
  Put32(b, height);
  Put16(b, 1);
  Put16(b, 24);
  for (int i = 0; i < 6; ++i) Put32(b, 0);
  for (std::uint32_t y = height; y-- > 0;) {
    std::string row;
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t at = (y * width + x) * 3;
      row += static_cast<char>(rgb[at + 2]);
      row += static_cast<char>(rgb[at + 1]);
      row += static_cast<char>(rgb[at]);
    }
    row.resize(stride, '\0');
    b += row;
  }
  return b;
}

// Uncompressed RGB TIFF in one strip, little-endian.
std::string Tiff(const std::vector<std::uint8_t>& rgb, std::uint16_t width, std::uint16_t height) {
  constexpr std::uint32_t kEntries = 8, kBitsAt = 8 + 2 + kEntries * 12 + 4,
                          kPixelsAt = kBitsAt + 6;
  std::string b = "II*";
  b += '\0';
  Put32(b, 8);
  Put16(b, kEntries);
  auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
    Put16(b, tag);
    Put16(b, type);
    Put32(b, tag == 258 ? 3 : 1);
    if (type == 3 && tag != 258) {
      Put16(b, static_cast<std::uint16_t>(value));
      Put16(b, 0);
    } else {
      Put32(b, value);
    }
  };
  entry(256, 3, width);
  entry(257, 3, height);
  entry(258, 3, kBitsAt);  // 8, 8, 8
  entry(262, 3, 2);        // RGB
  entry(273, 4, kPixelsAt);
  entry(277, 3, 3);
  entry(278, 3, height);
  entry(279, 4, static_cast<std::uint32_t>(rgb.size()));
  Put32(b, 0);
  for (int i = 0; i < 3; ++i) Put16(b, 8);
  b.append(rgb.begin(), rgb.end());
  return b;
}

struct Decoded {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};

Decoded DecodePng(const std::string& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Decoded d;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return d;
  image.format = PNG_FORMAT_RGB;
  d.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, d.rgb.data(), 0, nullptr)) return {};
  d.width = image.width;
  d.height = image.height;
  return d;
}

TEST(ConvertToPng, KeepsThePixelsOfBmpAndTiff) {
  for (const auto& [kind, bytes] : {std::pair{ImageKind::Bmp, Bmp(kRedThenBlue, 2, 1)},
                                    std::pair{ImageKind::Tiff, Tiff(kRedThenBlue, 2, 1)}}) {
    ASSERT_EQ(SniffImage(bytes), kind);
    const Decoded d = DecodePng(ConvertToPng(bytes, kind));
    EXPECT_EQ(d.width, 2u);
    EXPECT_EQ(d.height, 1u);
    EXPECT_EQ(d.rgb, kRedThenBlue);
  }
  // Rows keep their order: the first row is the top one.
  const std::vector<std::uint8_t> column = {0, 255, 0, 255, 255, 255};
  EXPECT_EQ(DecodePng(ConvertToPng(Bmp(column, 1, 2), ImageKind::Bmp)).rgb, column);
  EXPECT_EQ(DecodePng(ConvertToPng(Tiff(column, 1, 2), ImageKind::Tiff)).rgb, column);
}

TEST(ConvertToPng, BrokenOrHugePicturesGiveNothing) {
  std::string cut = Tiff(kRedThenBlue, 2, 1);
  cut.resize(20);
  EXPECT_EQ(ConvertToPng(cut, ImageKind::Tiff), "");
  EXPECT_EQ(ConvertToPng(Tiff(kRedThenBlue, 60000, 1), ImageKind::Tiff), "");
  std::string bmp = Bmp(kRedThenBlue, 2, 1);
  bmp.resize(bmp.size() - 4);
  EXPECT_EQ(ConvertToPng(bmp, ImageKind::Bmp), "");
}

TEST(CropPicture, KeepsTheShownPartAndLeavesTheRestAlone) {
  const std::string png = ConvertToPng(Bmp(kRedThenBlue, 2, 1), ImageKind::Bmp);
  // The right half cut away (50 000 thousandths of a percent): red stays.
  const Decoded left = DecodePng(CropPicture(png, ImageKind::Png, {0, 0, 50000, 0}));
  EXPECT_EQ(left.width, 1u);
  EXPECT_EQ(left.rgb, (std::vector<std::uint8_t>{255, 0, 0}));
  // A crop that leaves nothing, one beyond the edges, a GIF and a broken
  // picture all come back as they were.
  EXPECT_EQ(CropPicture(png, ImageKind::Png, {60000, 0, 60000, 0}), png);
  EXPECT_EQ(CropPicture(png, ImageKind::Png, {-5000, 0, 0, 0}), png);
  EXPECT_EQ(CropPicture("GIF89a", ImageKind::Gif, {10000, 0, 0, 0}), "GIF89a");
  const std::string broken = "\xff\xd8\xff\xe0 not a JPEG";
  EXPECT_EQ(CropPicture(broken, ImageKind::Jpeg, {10000, 0, 0, 0}), broken);
}

}  // namespace
}  // namespace qp::word
