// SVG to PNG through librsvg and cairo, and the placeholder picture that
// stands in for a drawing that could not be made. One pixel per CSS pixel
// (96 dpi): the picture has exactly the size the page gives the object.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qp::draw {

// The largest side of a picture drawn here; larger objects are drawn
// scaled down to fit, keeping their proportions (the page still shows
// them at their own size).
constexpr int kMaxSide = 4096;

struct PixelSize {
  int width = 0, height = 0;
};

// The size to draw an object of width x height px at: whole pixels, each
// side at least 1 and at most kMaxSide.
PixelSize CapSize(double width, double height);

// `svg` drawn to fill `size`, as PNG; "" when librsvg is not installed or
// refuses the SVG. `blank` tells whether every pixel stayed transparent.
std::string SvgToPng(std::string_view svg, PixelSize size, bool* blank = nullptr);

// Loads fontconfig's configuration and caches on a thread of its own, so
// that a drawing without text need not wait for them: SvgToPng waits for
// the thread before it draws text. The drawing thread calls both, and
// AwaitFonts before the process ends.
void PreloadFonts();
void AwaitFonts();

// A light grey framed picture of `size` with `caption` in its middle; a
// frame alone when librsvg is not installed.
std::string PlaceholderPng(PixelSize size, std::string_view caption);
// The placeholder's frame alone, drawn without librsvg.
std::string FramePng(PixelSize size);

enum class PngContent { Photo, Drawing };

// PNG bytes of `rgba` (4 bytes a pixel, top row first, not premultiplied);
// "" when libpng refuses. A drawing is written unfiltered, a photo with
// libpng's per-row choice of filter.
std::string EncodePng(std::uint32_t width, std::uint32_t height,
                      const std::vector<std::uint8_t>& rgba,
                      PngContent content = PngContent::Photo);

}  // namespace qp::draw
