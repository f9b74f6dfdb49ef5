// PNG and JPEG decoded to RGBA and JPEG written again, for the pictures the
// engine changes before they are copied (a crop, an effect).
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h wants size_t and FILE declared before it
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "generate/word/rgba_image.h"

namespace qp::word {

namespace {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JpegFail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void JpegQuiet(j_common_ptr, int) {}

// The luminance table every encoder scales by its quality (natural order).
constexpr unsigned kBaseLuminance[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

// The quality whose scaling of the base table comes closest to `table`.
int QualityOf(const JQUANT_TBL* table) {
  if (!table) return 85;
  double scale = 0;
  for (int i = 0; i < 64; ++i) scale += 100.0 * table->quantval[i] / kBaseLuminance[i];
  scale /= 64;
  double quality = scale <= 100 ? (200 - scale) / 2 : 5000 / scale;
  if (quality < 1) quality = 1;
  if (quality > 100) quality = 100;
  return static_cast<int>(quality + 0.5);
}

}  // namespace

bool DecodePng(std::string_view bytes, RgbaImage& out) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return false;
  if (png.width > kMaxSide || png.height > kMaxSide) {
    png_image_free(&png);
    return false;
  }
  png.format = PNG_FORMAT_RGBA;
  out.pixels.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, out.pixels.data(), 0, nullptr)) return false;
  out.width = png.width;
  out.height = png.height;
  return true;
}

// No object with a destructor is made between setjmp and the calls that
// may jump back.
bool DecodeJpeg(std::string_view bytes, RgbaImage& out, JpegInfo& info) {
  jpeg_decompress_struct in;
  JpegError error;
  in.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegFail;
  error.manager.emit_message = JpegQuiet;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&in);
    return false;
  }
  jpeg_create_decompress(&in);
  jpeg_mem_src(&in, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&in, TRUE);
  info.gray = in.jpeg_color_space == JCS_GRAYSCALE;
  info.quality = QualityOf(in.quant_tbl_ptrs[0]);
  in.out_color_space = info.gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&in);
  std::uint32_t width = in.output_width, height = in.output_height;
  int channels = in.output_components;
  if (width > kMaxSide || height > kMaxSide || (channels != 1 && channels != 3)) {
    jpeg_destroy_decompress(&in);
    return false;
  }
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<std::size_t>(width) * height * 4, 255);
  // Each row is read into the end of its RGBA row, then spread out in place.
  std::size_t stride = static_cast<std::size_t>(width) * 4;
  std::size_t packed = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
  while (in.output_scanline < height) {
    std::uint8_t* row = &out.pixels[stride * in.output_scanline];
    JSAMPROW into = row + stride - packed;
    jpeg_read_scanlines(&in, &into, 1);
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint8_t* from = into + x * static_cast<std::size_t>(channels);
      std::uint8_t r = from[0], g = channels == 3 ? from[1] : from[0];
      std::uint8_t b = channels == 3 ? from[2] : from[0];
      row[x * 4] = r;
      row[x * 4 + 1] = g;
      row[x * 4 + 2] = b;
      row[x * 4 + 3] = 255;
    }
  }
  jpeg_finish_decompress(&in);
  jpeg_destroy_decompress(&in);
  return true;
}

std::string EncodeJpeg(const RgbaImage& image, int quality, bool gray) {
  std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width) * 3);
  std::string out;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_compress_struct enc;
  JpegError error;
  enc.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegFail;
  error.manager.emit_message = JpegQuiet;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&enc);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&enc);
  jpeg_mem_dest(&enc, &buffer, &size);
  enc.image_width = image.width;
  enc.image_height = image.height;
  enc.input_components = gray ? 1 : 3;
  enc.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&enc);
  jpeg_set_quality(&enc, quality, TRUE);
  jpeg_start_compress(&enc, TRUE);
  while (enc.next_scanline < image.height) {
    const std::uint8_t* px =
        &image.pixels[static_cast<std::size_t>(enc.next_scanline) * image.width * 4];
    for (std::size_t x = 0; x < image.width; ++x) {
      if (gray) {
        row[x] = px[x * 4];
      } else {
        std::memcpy(&row[x * 3], &px[x * 4], 3);
      }
    }
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&enc, &line, 1);
  }
  jpeg_finish_compress(&enc);
  jpeg_destroy_compress(&enc);
  out.assign(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

// Both libjpeg objects share one error jump; everything with a destructor
// is made before it.
std::string CropJpeg(std::string_view bytes, const Crop& crop, int quality) {
  jpeg_decompress_struct in;
  jpeg_compress_struct out;
  std::memset(&in, 0, sizeof in);
  std::memset(&out, 0, sizeof out);
  JpegError error;
  in.err = out.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegFail;
  error.manager.emit_message = JpegQuiet;
  std::vector<unsigned char> row;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::string cropped;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&in);
    jpeg_destroy_compress(&out);
    std::free(buffer);
    return {};
  }
  jpeg_create_decompress(&in);
  jpeg_create_compress(&out);
  jpeg_mem_src(&in, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&in, TRUE);
  bool gray = in.jpeg_color_space == JCS_GRAYSCALE;
  in.out_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&in);
  int channels = in.output_components;
  CropBox box = KeptPart(in.output_width, in.output_height, crop);
  if (in.output_width > kMaxSide || in.output_height > kMaxSide ||
      (channels != 1 && channels != 3) || box.width == 0) {
    JpegFail(reinterpret_cast<j_common_ptr>(&in));
  }
  row.resize(static_cast<std::size_t>(in.output_width) * static_cast<std::size_t>(channels));
  jpeg_mem_dest(&out, &buffer, &size);
  out.image_width = box.width;
  out.image_height = box.height;
  out.input_components = channels;
  out.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&out);
  jpeg_set_quality(&out, quality, TRUE);
  jpeg_start_compress(&out, TRUE);
  JSAMPROW line = row.data();
  JSAMPROW kept = line + static_cast<std::size_t>(box.left) * static_cast<std::size_t>(channels);
  while (in.output_scanline < box.top + box.height) {
    if (jpeg_read_scanlines(&in, &line, 1) != 1) break;  // too short: finishing fails
    if (in.output_scanline > box.top) jpeg_write_scanlines(&out, &kept, 1);
  }
  jpeg_finish_compress(&out);
  cropped.assign(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_decompress(&in);  // the rows below the kept part are never read
  jpeg_destroy_compress(&out);
  std::free(buffer);
  return cropped;
}

}  // namespace qp::word
