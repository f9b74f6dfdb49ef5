// Stand-ins until the chart and shape renderers land: every chart and shape
// gets its placeholder picture.
#include "draw/chart.h"
#include "draw/shape.h"

namespace qp::draw {

Drawing ChartSvg(std::string_view, const Palette&, double, double) {
  Drawing d;
  d.note = "charts are not drawn yet";
  return d;
}

Drawing ShapeSvg(std::string_view, const Palette&, double, double) {
  Drawing d;
  d.note = "shapes are not drawn yet";
  return d;
}

}  // namespace qp::draw
