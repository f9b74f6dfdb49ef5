// One top-level drawing drawn as SVG: a wps:wsp shape, a wpg:wgp group, a
// wpc:wpc canvas, a dsp:drawing (the stored layout of a SmartArt diagram) or
// a VML v:shape / v:group.
#pragma once

#include <string_view>

#include "draw/drawing.h"

namespace qp::draw {

// drawingXml is the element's text with its namespace declarations. Preset
// geometries not known here are drawn as their bounding rectangle and counted
// in `unknownGeometries`; text in the shapes is wrapped to their boxes.
Drawing ShapeSvg(std::string_view drawingXml, const Palette& palette, double widthPx,
                 double heightPx);

}  // namespace qp::draw
