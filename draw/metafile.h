// Windows metafiles: EMF through libemf2svg to SVG, WMF through libwmf's
// raster device straight to pixels (its SVG device loses clip paths).
// Both libraries are linked into the drawing helper only. They are not
// hardened against hostile files: only the confined helper calls these.
#pragma once

#include <string>
#include <string_view>

#include "draw/metafile_kind.h"
#include "draw/raster.h"

namespace qp::draw {

// The EMF as an SVG document of `size`; "" when libemf2svg is missing or
// refuses the file.
std::string EmfToSvg(std::string_view bytes, PixelSize size);

// True when the EMF holds EMF+ records (in comment records, which a GDI
// player skips).
bool EmfHasEmfPlus(std::string_view bytes);

// The WMF drawn at `size`, as PNG; "" when libwmf is missing or refuses it.
std::string WmfToPng(std::string_view bytes, PixelSize size);

}  // namespace qp::draw
