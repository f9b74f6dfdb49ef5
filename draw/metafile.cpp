#include "draw/metafile.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/emfplus.h"

namespace qp::draw {

namespace {

// The EMF's GDI records through libemf2svg.
std::string GdiToSvg(std::string_view bytes, PixelSize size) {
  std::string input(bytes);  // the player takes a mutable buffer
  generatorOptions options{};
  options.nameSpace = const_cast<char*>("");
  options.svgDelimiter = true;
  options.emfplus = true;
  options.imgWidth = size.width;
  options.imgHeight = size.height;
  char* out = nullptr;
  std::size_t outLength = 0;
  int ok = emf2svg(input.data(), input.size(), &out, &outLength, &options);
  std::string svg;
  if (ok && out) svg.assign(out, outLength);
  std::free(out);
  return svg;
}

}  // namespace

std::string EmfToSvg(std::string_view bytes, PixelSize size) {
  if (bytes.size() > kMaxMetafileBytes) return {};
  auto gdi = [size](std::string_view emf) { return GdiToSvg(emf, size); };
  if (auto plus = EmfPlusToSvg(bytes, size.width, size.height, gdi)) return *plus;
  return GdiToSvg(bytes, size);
}

bool EmfHasEmfPlus(std::string_view bytes) {
  if (bytes.size() > kMaxMetafileBytes) return false;
  std::string input(bytes);
  bool plus = false;
  return emf2svg_is_emfplus(input.data(), input.size(), &plus) && plus;
}

std::string WmfToPng(std::string_view bytes, PixelSize size) {
  if (bytes.size() > kMaxMetafileBytes) return {};
  wmfAPI_Options options{};
  options.function = wmf_gd_function;
  wmfAPI* api = nullptr;
  unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
    if (api) wmf_api_destroy(api);
    return {};
  }
  std::string input(bytes);
  wmfD_Rect box{};
  std::string png;
  wmf_gd_t* device = WMF_GD_GetData(api);
  if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(input.data()),
                   static_cast<long>(input.size())) == wmf_E_None &&
      wmf_scan(api, 0, &box) == wmf_E_None) {
    device->type = wmf_gd_image;
    device->bbox = box;
    device->width = static_cast<unsigned>(size.width);
    device->height = static_cast<unsigned>(size.height);
    if (wmf_play(api, 0, &box) == wmf_E_None && device->gd_image) {
      // True-colour gd pixels: 7-bit alpha (0 opaque, 127 clear), then RGB.
      const int* pixels = wmf_gd_image_pixels(device->gd_image);
      std::size_t count = static_cast<std::size_t>(size.width) * size.height;
      std::vector<std::uint8_t> rgba(count * 4);
      for (std::size_t i = 0; pixels && i < count; ++i) {
        auto p = static_cast<std::uint32_t>(pixels[i]);
        rgba[i * 4] = static_cast<std::uint8_t>(p >> 16);
        rgba[i * 4 + 1] = static_cast<std::uint8_t>(p >> 8);
        rgba[i * 4 + 2] = static_cast<std::uint8_t>(p);
        std::uint32_t clear = (p >> 24) & 0x7F;
        rgba[i * 4 + 3] = static_cast<std::uint8_t>(255 - (clear * 255 + 63) / 127);
      }
      if (pixels) {
        png = EncodePng(static_cast<std::uint32_t>(size.width),
                        static_cast<std::uint32_t>(size.height), rgba, PngContent::Drawing);
      }
    }
  }
  wmf_api_destroy(api);
  return png;
}

}  // namespace qp::draw
