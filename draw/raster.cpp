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
                      static_cast<std::uint32_t>(size.height), rgba, PngContent::Drawing);
    }
    if (blank) *blank = empty;
  }
  lib.surfaceDestroy(surface);
  return png;
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
  return png.empty() ? FramePng(size) : png;
}

std::string FramePng(PixelSize size) {
  size = CapSize(size.width, size.height);
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
                   rgba, PngContent::Drawing);
}

namespace {

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))
      ->append(reinterpret_cast<const char*>(data), length);
}

void FlushPng(png_structp) {}

// libpng reports errors by longjmp; nothing with a destructor lives in this
// frame, so jumping out of it is safe.
bool WritePng(std::string& out, std::uint32_t width, std::uint32_t height, const std::uint8_t* rgba,
              PngContent content) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendPng, FlushPng);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  // Drawings are runs of flat colour, which deflate packs well unfiltered
  // and at a low level: files as small as with libpng's adaptive filters
  // and default level (which pay only on photographs) in a fifth of the
  // time, measured on the corpus's shapes and charts.
  if (content == PngContent::Drawing) {
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 3);
  }
  png_write_info(png, info);
  for (std::uint32_t y = 0; y < height; ++y) {
    png_write_row(png, rgba + static_cast<std::size_t>(y) * width * 4);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string EncodePng(std::uint32_t width, std::uint32_t height,
                      const std::vector<std::uint8_t>& rgba, PngContent content) {
  if (width == 0 || height == 0 || width > PNG_USER_WIDTH_MAX || height > PNG_USER_HEIGHT_MAX ||
      rgba.size() / 4 / width < height) {
    return {};
  }
  std::string out;
  out.reserve(rgba.size() / 8 + 1024);
  if (!WritePng(out, width, height, rgba.data(), content)) return {};
  return out;
}

}  // namespace qp::draw
