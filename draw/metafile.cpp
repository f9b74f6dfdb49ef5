#include "draw/metafile.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/emfplus.h"
#include "sys/shared_library.h"

namespace qp::draw {

namespace {

std::uint32_t Le32(std::string_view b, std::size_t at) {
  if (at + 4 > b.size()) return 0;
  std::uint32_t v = 0;
  for (std::size_t i = 4; i-- > 0;) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
  return v;
}

// The players stay loaded once opened, for the worker's later pictures.
const SharedLibrary& Emf2Svg() {
  static const SharedLibrary library(QP_EMF2SVG_SONAME);
  return library;
}

const SharedLibrary& Wmf() {
  static const SharedLibrary library(QP_WMF_SONAME);
  return library;
}

}  // namespace

MetafileKind SniffMetafile(std::string_view b) {
  // EMF: an EMR_HEADER record first, with the " EMF" signature in it.
  if (Le32(b, 0) == 1 && b.size() >= 88 && b.substr(40, 4) == " EMF") return MetafileKind::Emf;
  // WMF: the placeable header, or a bare header (memory or disk metafile,
  // nine words long).
  if (Le32(b, 0) == 0x9AC6CDD7u) return MetafileKind::Wmf;
  if (b.size() >= 18 && (b.substr(0, 4) == std::string_view("\1\0\x09\0", 4) ||
                         b.substr(0, 4) == std::string_view("\2\0\x09\0", 4))) {
    return MetafileKind::Wmf;
  }
  return MetafileKind::None;
}

namespace {

// The EMF's GDI records through libemf2svg.
std::string GdiToSvg(std::string_view bytes, PixelSize size) {
  const SharedLibrary& library = Emf2Svg();
  auto convert = library.Find<decltype(emf2svg)>("emf2svg");
  if (!convert) return {};
  std::string input(bytes);  // the player takes a mutable buffer
  generatorOptions options{};
  options.nameSpace = const_cast<char*>("");
  options.svgDelimiter = true;
  options.emfplus = true;
  options.imgWidth = size.width;
  options.imgHeight = size.height;
  char* out = nullptr;
  std::size_t outLength = 0;
  int ok = convert(input.data(), input.size(), &out, &outLength, &options);
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
  auto test = Emf2Svg().Find<decltype(emf2svg_is_emfplus)>("emf2svg_is_emfplus");
  if (!test || bytes.size() > kMaxMetafileBytes) return false;
  std::string input(bytes);
  bool plus = false;
  return test(input.data(), input.size(), &plus) && plus;
}

std::string WmfToPng(std::string_view bytes, PixelSize size) {
  if (bytes.size() > kMaxMetafileBytes) return {};
  const SharedLibrary& library = Wmf();
  auto apiCreate = library.Find<decltype(wmf_api_create)>("wmf_api_create");
  auto apiDestroy = library.Find<decltype(wmf_api_destroy)>("wmf_api_destroy");
  auto memOpen = library.Find<decltype(wmf_mem_open)>("wmf_mem_open");
  auto scan = library.Find<decltype(wmf_scan)>("wmf_scan");
  auto play = library.Find<decltype(wmf_play)>("wmf_play");
  auto gdFunction = library.Find<decltype(wmf_gd_function)>("wmf_gd_function");
  auto gdPixels = library.Find<decltype(wmf_gd_image_pixels)>("wmf_gd_image_pixels");
  if (!apiCreate || !apiDestroy || !memOpen || !scan || !play || !gdFunction || !gdPixels) {
    return {};
  }
  wmfAPI_Options options{};
  options.function = gdFunction;
  wmfAPI* api = nullptr;
  unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  if (apiCreate(&api, flags, &options) != wmf_E_None) {
    if (api) apiDestroy(api);
    return {};
  }
  std::string input(bytes);
  wmfD_Rect box{};
  std::string png;
  wmf_gd_t* device = WMF_GD_GetData(api);
  if (memOpen(api, reinterpret_cast<unsigned char*>(input.data()),
              static_cast<long>(input.size())) == wmf_E_None &&
      scan(api, 0, &box) == wmf_E_None) {
    device->type = wmf_gd_image;
    device->bbox = box;
    device->width = static_cast<unsigned>(size.width);
    device->height = static_cast<unsigned>(size.height);
    if (play(api, 0, &box) == wmf_E_None && device->gd_image) {
      // True-colour gd pixels: 7-bit alpha (0 opaque, 127 clear), then RGB.
      const int* pixels = gdPixels(device->gd_image);
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
  apiDestroy(api);
  return png;
}

}  // namespace qp::draw
