// a:custGeom paths (moveTo, lnTo, cubicBezTo, quadBezTo, arcTo, close) as
// SVG path data.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/shape_geometry.h"
#include "draw/svg_text.h"
#include "draw/xml_names.h"
#include "text/style_length.h"

namespace qp::draw {

constexpr double kPi = std::numbers::pi;

std::string CustomGeometryPath(pugi::xml_node custGeom, double w, double h) {
  std::string d;
  std::size_t commands = 0;
  for (pugi::xml_node path : Child(custGeom, "pathLst").children()) {
    if (LocalName(path) != "path") continue;
    const double pw = AttrNumber(path, "w", 0), ph = AttrNumber(path, "h", 0);
    // without a size of its own the path counts in EMU
    const double sx = pw > 0 ? w / pw : 1 / kEmuPerPx, sy = ph > 0 ? h / ph : 1 / kEmuPerPx;
    double cx = 0, cy = 0;
    auto pt = [&](pugi::xml_node p, double& x, double& y) {
      x = std::clamp(AttrNumber(p, "x", 0), -1e12, 1e12) * sx;
      y = std::clamp(AttrNumber(p, "y", 0), -1e12, 1e12) * sy;
    };
    for (pugi::xml_node c : path.children()) {
      if (++commands > 20000) return d;
      const std::string_view name = LocalName(c);
      // path data must open with a move
      if (d.empty() && name != "moveTo") d = " M" + Num(cx) + "," + Num(cy);
      if (name == "moveTo" || name == "lnTo") {
        pt(Child(c, "pt"), cx, cy);
        d += (name == "moveTo" ? " M" : " L") + Num(cx) + "," + Num(cy);
      } else if (name == "cubicBezTo" || name == "quadBezTo") {
        d += name == "cubicBezTo" ? " C" : " Q";
        for (pugi::xml_node p : c.children()) {
          if (LocalName(p) != "pt") continue;
          pt(p, cx, cy);
          d += Num(cx) + "," + Num(cy) + " ";
        }
        d.pop_back();
      } else if (name == "arcTo") {
        const double rx = std::abs(AttrNumber(c, "wR", 0)) * sx,
                     ry = std::abs(AttrNumber(c, "hR", 0)) * sy;
        const double st = AttrNumber(c, "stAng", 0) / 60000 * kPi / 180;
        const double sw = std::clamp(AttrNumber(c, "swAng", 0) / 60000, -360.0, 360.0) * kPi / 180;
        // the angles are seen on the ellipse; turn them into its parameter
        auto param = [&](double a) { return std::atan2(rx * std::sin(a), ry * std::cos(a)); };
        const double t0 = param(st), t1 = param(st + sw);
        const double ox = cx - rx * std::cos(t0), oy = cy - ry * std::sin(t0);
        cx = ox + rx * std::cos(t1);
        cy = oy + ry * std::sin(t1);
        if (rx > 0 && ry > 0)
          d += " A" + Num(rx) + "," + Num(ry) + " 0 " + (std::abs(sw) > kPi ? "1" : "0") + " " +
               (sw > 0 ? "1" : "0") + " " + Num(cx) + "," + Num(cy);
        else
          d += " L" + Num(cx) + "," + Num(cy);
      } else if (name == "close") {
        d += " Z";
      }
    }
  }
  return d.empty() ? d : d.substr(1);
}

}  // namespace qp::draw
