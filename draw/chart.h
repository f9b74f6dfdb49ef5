// A chart part (word/charts/chartN.xml, c:chartSpace) drawn as SVG from the
// values Word cached in it.
#pragma once

#include <string_view>

#include "draw/drawing.h"

namespace qp::draw {

// Draws column and bar (clustered, stacked, percent), line, pie and
// doughnut, area and scatter charts with their title, axes, legend and data
// labels. Any other kind, or a part that does not parse, gives a placeholder
// drawing that shows the title, and `note` says why.
Drawing ChartSvg(std::string_view chartXml, const Palette& palette, double widthPx,
                 double heightPx);

}  // namespace qp::draw
