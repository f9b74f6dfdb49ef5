// Windows metafiles: EMF through libemf2svg to SVG, WMF through libwmf's
// raster device straight to pixels (its SVG device loses clip paths).
// Both libraries are opened at run time, only for documents that hold a
// metafile. They are not hardened against hostile files: call these inside
// an IsolatedWorker.
#pragma once

#include <string>
#include <string_view>

#include "draw/raster.h"

namespace qp::draw {

enum class MetafileKind { Emf, Wmf, None };

// The largest metafile handed to a player.
constexpr std::size_t kMaxMetafileBytes = 32u << 20;

// Recognises a metafile by its header, never by the part's name.
MetafileKind SniffMetafile(std::string_view bytes);

// The EMF as an SVG document of `size`; "" when libemf2svg is missing or
// refuses the file.
std::string EmfToSvg(std::string_view bytes, PixelSize size);

// True when the EMF holds EMF+ records (in comment records, which a GDI
// player skips).
bool EmfHasEmfPlus(std::string_view bytes);

// The WMF drawn at `size`, as PNG; "" when libwmf is missing or refuses it.
std::string WmfToPng(std::string_view bytes, PixelSize size);

}  // namespace qp::draw
