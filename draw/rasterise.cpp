// SVG to pixels through librsvg and cairo, which bring some forty shared
// libraries: only the drawing helper links this file.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "draw/raster.h"
#include "draw/svg_text.h"

namespace qp::draw {

namespace {

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
      // Most pixels of a drawing are clear or opaque: no division for them.
      if (a == 0) continue;  // the vector starts out zero
      blank = false;
      if (a == 255) {
        out[0] = static_cast<std::uint8_t>(p >> 16);
        out[1] = static_cast<std::uint8_t>(p >> 8);
        out[2] = static_cast<std::uint8_t>(p);
        out[3] = 255;
        continue;
      }
      auto channel = [&](int shift) {
        std::uint32_t c = (p >> shift) & 0xFF;
        return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
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

std::string Rasterise(std::string_view svg, PixelSize size, bool* blank) {
  if (svg.empty() || size.width <= 0 || size.height <= 0) return {};
  RsvgHandle* handle =
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), nullptr);
  if (!handle) return {};
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.width, size.height);
  cairo_t* cr = cairo_create(surface);
  RsvgRectangle viewport{0, 0, static_cast<double>(size.width), static_cast<double>(size.height)};
  bool drawn = rsvg_handle_render_document(handle, cr, &viewport, nullptr) != 0;
  cairo_destroy(cr);
  g_object_unref(handle);
  std::string png;
  if (drawn) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    bool empty = true;
    if (data) {
      std::vector<std::uint8_t> rgba =
          Unpremultiply(data, cairo_image_surface_get_stride(surface), size, empty);
      png = EncodePng(static_cast<std::uint32_t>(size.width),
                      static_cast<std::uint32_t>(size.height), rgba, PngContent::Drawing);
    }
    if (blank) *blank = empty;
  }
  cairo_surface_destroy(surface);
  return png;
}

std::thread& FontLoader() {
  static std::thread loader;
  return loader;
}

}  // namespace

void PreloadFonts() {
  if (!FontLoader().joinable()) FontLoader() = std::thread([] { FcInit(); });
}

void AwaitFonts() {
  if (FontLoader().joinable()) FontLoader().join();
}

std::string SvgToPng(std::string_view svg, PixelSize size, bool* blank) {
  if (svg.find("<text") != std::string_view::npos) AwaitFonts();
  return Rasterise(svg, size, blank);
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
      "\" fill=\"#F2F2F2\" stroke=\"#A6A6A6\"/><text x=\"" + std::to_string(w / 2) + "\" y=\"" +
      std::to_string(h / 2 + fontSize / 3) + "\" font-size=\"" + std::to_string(fontSize) +
      "\" font-family=\"sans-serif\" fill=\"#595959\" text-anchor=\"middle\">" +
      Escape(Shorten(caption, chars)) + "</text></svg>";
  std::string png = SvgToPng(svg, size);
  return png.empty() ? FramePng(size) : png;
}

}  // namespace qp::draw
