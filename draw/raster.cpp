// librsvg, cairo and pango bring some forty shared libraries; a document
// without drawings never loads them. Once loaded they stay for the life of
// the process: glib's type system cannot be unloaded.
#include "draw/raster.h"

#include <cairo.h>
#include <librsvg/rsvg.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "draw/svg_text.h"
#include "sys/shared_library.h"

namespace qp::draw {

namespace {

// The functions used, found by name in the libraries opened on first use.
struct Rsvg {
  SharedLibrary rsvg{QP_RSVG_SONAME};
  SharedLibrary cairo{QP_CAIRO_SONAME};
  SharedLibrary gobject{QP_GOBJECT_SONAME};
  decltype(&rsvg_handle_new_from_data) newFromData =
      rsvg.Find<decltype(rsvg_handle_new_from_data)>("rsvg_handle_new_from_data");
  decltype(&rsvg_handle_render_document) renderDocument =
      rsvg.Find<decltype(rsvg_handle_render_document)>("rsvg_handle_render_document");
  decltype(&g_object_unref) unref = gobject.Find<decltype(g_object_unref)>("g_object_unref");
  decltype(&cairo_image_surface_create) surfaceCreate =
      cairo.Find<decltype(cairo_image_surface_create)>("cairo_image_surface_create");
  decltype(&cairo_image_surface_get_data) surfaceData =
      cairo.Find<decltype(cairo_image_surface_get_data)>("cairo_image_surface_get_data");
  decltype(&cairo_image_surface_get_stride) surfaceStride =
      cairo.Find<decltype(cairo_image_surface_get_stride)>("cairo_image_surface_get_stride");
  decltype(&cairo_surface_flush) surfaceFlush =
      cairo.Find<decltype(cairo_surface_flush)>("cairo_surface_flush");
  decltype(&cairo_surface_destroy) surfaceDestroy =
      cairo.Find<decltype(cairo_surface_destroy)>("cairo_surface_destroy");
  decltype(&cairo_create) create = cairo.Find<decltype(cairo_create)>("cairo_create");
  decltype(&cairo_destroy) destroy = cairo.Find<decltype(cairo_destroy)>("cairo_destroy");

  bool Complete() const {
    return newFromData && renderDocument && unref && surfaceCreate && surfaceData &&
           surfaceStride && surfaceFlush && surfaceDestroy && create && destroy;
  }
};

const Rsvg& Library() {
  static const Rsvg library;
  return library;
}

// Cairo's premultiplied native-endian ARGB to straight RGBA.
std::vector<std::uint8_t> Unpremultiply(const unsigned char* data, int stride, PixelSize size,
                                        bool& blank) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size.width) * size.height * 4);
  blank = true;
  std::uint8_t* out = rgba.data();
  for (int y = 0; y < size.height; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < size.width; ++x, out += 4) {
      std::uint32_t p = row[x];
      std::uint32_t a = p >> 24;
      if (a != 0) blank = false;
      auto channel = [&](int shift) {
        std::uint32_t c = (p >> shift) & 0xFF;
        return static_cast<std::uint8_t>(
            a == 0 ? 0 : std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
      };
      out[0] = channel(16);
      out[1] = channel(8);
      out[2] = channel(0);
      out[3] = static_cast<std::uint8_t>(a);
    }
  }
  return rgba;
}

// At most `chars` characters of UTF-8 `text`, with "..." when cut.
std::string Shorten(std::string_view text, std::size_t chars) {
  std::size_t count = 0, at = 0;
  while (at < text.size()) {
    if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && count++ == chars) {
      return std::string(text.substr(0, at)) + "...";
    }
    ++at;
  }
  return std::string(text);
}

}  // namespace

PixelSize CapSize(double width, double height) {
  if (!(width >= 1)) width = 1;
  if (!(height >= 1)) height = 1;
  double scale = std::min(1.0, kMaxSide / std::max(width, height));
  auto side = [&](double v) {
    return std::clamp(static_cast<int>(std::lround(v * scale)), 1, kMaxSide);
  };
  return {side(width), side(height)};
}

std::string SvgToPng(std::string_view svg, PixelSize size, bool* blank) {
  const Rsvg& lib = Library();
  if (!lib.Complete() || svg.empty() || size.width <= 0 || size.height <= 0) return {};
  RsvgHandle* handle =
      lib.newFromData(reinterpret_cast<const guint8*>(svg.data()), svg.size(), nullptr);
  if (!handle) return {};
  cairo_surface_t* surface = lib.surfaceCreate(CAIRO_FORMAT_ARGB32, size.width, size.height);
  cairo_t* cr = lib.create(surface);
  RsvgRectangle viewport{0, 0, static_cast<double>(size.width), static_cast<double>(size.height)};
  bool drawn = lib.renderDocument(handle, cr, &viewport, nullptr) != 0;
  lib.destroy(cr);
  lib.unref(handle);
  std::string png;
  if (drawn) {
    lib.surfaceFlush(surface);
    const unsigned char* data = lib.surfaceData(surface);
    bool empty = true;
    if (data) {
      std::vector<std::uint8_t> rgba = Unpremultiply(data, lib.surfaceStride(surface), size, empty);
      png = EncodePng(static_cast<std::uint32_t>(size.width),
                      static_cast<std::uint32_t>(size.height), rgba);
    }
    if (blank) *blank = empty;
  }
  lib.surfaceDestroy(surface);
  return png;
}

void WarmUpRasteriser() {
  static const bool warm = !PlaceholderPng({8, 8}, "a").empty();
  (void)warm;
}

std::string PlaceholderPng(PixelSize size, std::string_view caption) {
  size = CapSize(size.width, size.height);
  double w = size.width, h = size.height;
  double fontSize = std::clamp(std::min(w / 12, h / 3), 6.0, 13.0);
  std::size_t chars = static_cast<std::size_t>(std::max(3.0, (w - 8) / (fontSize * 0.6)));
  std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(size.width) +
      "\" height=\"" + std::to_string(size.height) + "\"><rect x=\"0.5\" y=\"0.5\" width=\"" +
      std::to_string(w - 1) + "\" height=\"" + std::to_string(h - 1) +
      "\" fill=\"#f2f2f2\" stroke=\"#a6a6a6\"/><text x=\"" + std::to_string(w / 2) + "\" y=\"" +
      std::to_string(h / 2 + fontSize / 3) + "\" font-size=\"" + std::to_string(fontSize) +
      "\" font-family=\"sans-serif\" fill=\"#595959\" text-anchor=\"middle\">" +
      Escape(Shorten(caption, chars)) + "</text></svg>";
  std::string png = SvgToPng(svg, size);
  if (!png.empty()) return png;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size.width) * size.height * 4);
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      bool edge = x == 0 || y == 0 || x == size.width - 1 || y == size.height - 1;
      std::uint8_t* px = &rgba[(static_cast<std::size_t>(y) * size.width + x) * 4];
      px[0] = px[1] = px[2] = edge ? 0xA6 : 0xF2;
      px[3] = 0xFF;
    }
  }
  return EncodePng(static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height),
                   rgba);
}

std::string EncodePng(std::uint32_t width, std::uint32_t height,
                      const std::vector<std::uint8_t>& rgba) {
  if (rgba.size() < static_cast<std::size_t>(width) * height * 4) return {};
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = width;
  png.height = height;
  png.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr)) return {};
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&png, out.data(), &size, 0, rgba.data(), 0, nullptr)) return {};
  out.resize(size);
  return out;
}

}  // namespace qp::draw
