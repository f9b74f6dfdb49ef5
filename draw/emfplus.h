// A player for EMF+ records (the GDI+ drawing that Office stores in EMF
// comment records) to SVG. Pure: bytes in, SVG text out, nothing read or
// written elsewhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "draw/drawing.h"

namespace qp::draw {

// The EMF's EMF+ drawing as an SVG document of width x height px; nothing
// when the file holds no EMF+ drawing (then its GDI records are the
// picture). The GDI records that the EMF+ records hand to GDI (after a
// GetDC record: mostly text) go through `gdi` and are laid over the
// drawing; without `gdi` they are left out.
std::optional<std::string> EmfPlusToSvg(std::string_view emf, int widthPx, int heightPx,
                                        const GdiPlayer& gdi = {});

}  // namespace qp::draw
