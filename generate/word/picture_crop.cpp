// Cropped pictures (a:srcRect): the written file holds only the part the
// document shows. PNG stays PNG, JPEG stays JPEG; other kinds are written
// whole.
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h wants size_t and FILE declared before it
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "generate/word/pictures.h"
#include "generate/word/rgba_image.h"

namespace qp::word {

namespace {

struct Box {
  std::uint32_t left = 0, top = 0, width = 0, height = 0;
};

// The kept part of a width x height picture; empty when the crop leaves
// nothing or changes nothing.
Box Kept(std::uint32_t width, std::uint32_t height, const Crop& crop) {
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

std::string CropPng(const std::string& bytes, const Crop& crop) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return {};
  if (png.width > kMaxSide || png.height > kMaxSide) {
    png_image_free(&png);
    return {};
  }
  png.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) return {};
  Box box = Kept(png.width, png.height, crop);
  if (box.width == 0) return {};
  RgbaImage out;
  out.width = box.width;
  out.height = box.height;
  for (std::uint32_t y = 0; y < box.height; ++y) {
    const std::uint8_t* row =
        &pixels[(static_cast<std::size_t>(box.top + y) * png.width + box.left) * 4];
    out.pixels.insert(out.pixels.end(), row, row + static_cast<std::size_t>(box.width) * 4);
  }
  return EncodePng(out);
}

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JpegFail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void JpegQuiet(j_common_ptr, int) {}

// Decodes, cuts and encodes again at high quality. No object with a
// destructor is made between setjmp and the calls that may jump back.
std::string CropJpeg(const std::string& bytes, const Crop& crop) {
  std::vector<std::uint8_t> pixels;
  std::string out;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_decompress_struct in;
  jpeg_compress_struct enc;
  JpegError error;
  in.err = jpeg_std_error(&error.manager);
  enc.err = in.err;
  error.manager.error_exit = JpegFail;
  error.manager.emit_message = JpegQuiet;
  volatile bool encoding = false;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&in);
    if (encoding) jpeg_destroy_compress(&enc);
    std::free(buffer);
    return {};
  }
  jpeg_create_decompress(&in);
  jpeg_mem_src(&in, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&in, TRUE);
  in.out_color_space = in.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&in);
  std::uint32_t width = in.output_width, height = in.output_height;
  int channels = in.output_components;
  Box box = Kept(width, height, crop);
  if (box.width == 0 || width > kMaxSide || height > kMaxSide) {
    jpeg_destroy_decompress(&in);
    return {};
  }
  std::size_t stride = static_cast<std::size_t>(width) * channels;
  pixels.resize(stride * height);
  while (in.output_scanline < height) {
    JSAMPROW row = &pixels[stride * in.output_scanline];
    jpeg_read_scanlines(&in, &row, 1);
  }
  jpeg_finish_decompress(&in);
  jpeg_destroy_decompress(&in);

  jpeg_create_compress(&enc);
  encoding = true;
  jpeg_mem_dest(&enc, &buffer, &size);
  enc.image_width = box.width;
  enc.image_height = box.height;
  enc.input_components = channels;
  enc.in_color_space = channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&enc);
  jpeg_set_quality(&enc, 92, TRUE);
  jpeg_start_compress(&enc, TRUE);
  while (enc.next_scanline < box.height) {
    JSAMPROW row = &pixels[stride * (box.top + enc.next_scanline) +
                           static_cast<std::size_t>(box.left) * channels];
    jpeg_write_scanlines(&enc, &row, 1);
  }
  jpeg_finish_compress(&enc);
  jpeg_destroy_compress(&enc);
  out.assign(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

}  // namespace

std::string CropPicture(const std::string& bytes, ImageKind kind, const Crop& crop) {
  std::string cropped = kind == ImageKind::Png    ? CropPng(bytes, crop)
                        : kind == ImageKind::Jpeg ? CropJpeg(bytes, crop)
                                                  : std::string();
  return cropped.empty() ? bytes : cropped;
}

}  // namespace qp::word
