// Chart kinds with a layout of their own: radar charts on spokes and
// surface charts seen from above as bands of colour.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/chart_frame.h"
#include "draw/svg_text.h"

namespace qp::draw {
namespace {

constexpr std::uint32_t kGridColor = 0xD9D9D9;

// The number of categories and their names: the longest of the series'.
std::size_t Categories(const ChartGroup& g, std::vector<std::string>& names) {
  std::size_t n = 0;
  for (const ChartSeries& s : g.series) {
    n = std::max({n, s.values.size(), s.categories.size()});
    if (names.size() < s.categories.size()) names = s.categories;
  }
  return std::min(n, kMaxPoints);
}

Scale ValueScale(const ChartGroup& g, const ChartAxis& axis, bool withZero) {
  double lo = withZero ? 0 : INFINITY, hi = withZero ? 0 : -INFINITY;
  for (const ChartSeries& s : g.series)
    for (double v : s.values)
      if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
  if (!(lo <= hi)) lo = 0, hi = 1;
  return NiceScale(lo, hi, axis);
}

}  // namespace

void DrawRadar(ChartCanvas& c, const ChartGroup& g, Box area, const ChartAxis& axis,
               const std::string& format, int firstSeries) {
  std::vector<std::string> names;
  const std::size_t n = Categories(g, names);
  if (n == 0) return;
  const Scale scale = ValueScale(g, axis, true);
  const double px = c.fontPx;
  double labelW = 0;
  for (const std::string& name : names) labelW = std::max(labelW, TextWidth(name, px));
  labelW = std::min(labelW, area.w / 4);
  const double cx = area.x + area.w / 2, cy = area.y + area.h / 2;
  const double radius = std::max(std::min(area.w / 2 - labelW - 6, area.h / 2 - px * 1.2), 4.0);
  auto at = [&](std::size_t i, double r) {
    const double a = -std::numbers::pi / 2 + 2 * std::numbers::pi * double(i) / double(n);
    return std::pair{cx + r * std::cos(a), cy + r * std::sin(a)};
  };
  auto ring = [&](auto radiusOf) {
    std::string d;
    for (std::size_t i = 0; i < n; ++i) {
      const auto [x, y] = at(i, radiusOf(i));
      d += (i ? " L" : "M") + Num(x) + "," + Num(y);
    }
    return d + " Z";
  };
  const Color grid{kGridColor, 1};
  for (int t = 0; t <= scale.Ticks(); ++t) {
    const double v = scale.min + scale.step * t, r = scale.At(v, radius);
    c.body += "<path d=\"" + ring([&](std::size_t) { return r; }) + "\" fill=\"none\"" +
              StrokeAttrs(grid, 1) + "/>\n";
    if (!axis.deleted) c.Label(cx + 4, cy - r, FormatValue(v, format), "start", px * 0.85);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const auto [x, y] = at(i, radius);
    c.body += "<line x1=\"" + Num(cx) + "\" y1=\"" + Num(cy) + "\" x2=\"" + Num(x) + "\" y2=\"" +
              Num(y) + "\"" + StrokeAttrs(grid, 1) + "/>\n";
    const auto [lx, ly] = at(i, radius + px * 0.6);
    const std::string_view anchor = lx > cx + 1 ? "start" : lx < cx - 1 ? "end" : "middle";
    const std::string name = i < names.size() ? names[i] : std::to_string(i + 1);
    c.Label(lx, ly, FitText(name, px, labelW + px), anchor, px);
  }
  const bool filled = g.radarStyle == "filled";
  for (std::size_t si = 0; si < g.series.size(); ++si) {
    const ChartSeries& s = g.series[si];
    const int colorIndex = firstSeries + int(si);
    auto r = [&](std::size_t i) {
      const double v = i < s.values.size() ? s.values[i] : NAN;
      return scale.At(std::isfinite(v) ? v : scale.min, radius);
    };
    const std::string d = ring(r);
    if (filled) {
      c.body += "<path d=\"" + d + "\"" + c.Paint(s.fill, SeriesColor(c.palette, colorIndex)) +
                StrokeAttrs(s.line.none ? std::nullopt : s.line.color, SeriesLinePx(s, 1)) + "/>\n";
      continue;
    }
    const Color color = SeriesLineColor(s, colorIndex, c.palette);
    if (!s.line.none)
      c.body += "<path d=\"" + d + "\" fill=\"none\"" +
                StrokeAttrs(color, SeriesLinePx(s, 2.25), s.line.dash) +
                " stroke-linejoin=\"round\"/>\n";
    if (g.radarStyle == "marker" && s.markers)
      for (std::size_t i = 0; i < n; ++i) {
        const auto [x, y] = at(i, r(i));
        c.body += "<circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"3\"" + FillAttrs(color) +
                  "/>\n";
      }
  }
}

Scale SurfaceBands(const ChartGroup& g, const ChartAxis& axis) {
  return ValueScale(g, axis, false);
}

Color BandColor(const Palette& palette, int band) {
  return SeriesColor(palette, band);
}

void DrawSurface(ChartCanvas& c, const ChartGroup& g, Box area, const ChartAxis& axis) {
  std::vector<std::string> names;
  const std::size_t cols = Categories(g, names), rows = g.series.size();
  if (cols == 0 || rows == 0) return;
  const Scale bands = SurfaceBands(g, axis);
  const int bandCount = std::max(bands.Ticks(), 1);
  const double px = c.fontPx;
  double rowLabelW = 0;
  for (const ChartSeries& s : g.series) rowLabelW = std::max(rowLabelW, TextWidth(s.name, px));
  rowLabelW = std::min(rowLabelW, area.w / 4) + 6;
  const Box plot{area.x + rowLabelW, area.y + px / 2, std::max(area.w - rowLabelW - px / 2, 1.0),
                 std::max(area.h - px * 2.2, 1.0)};
  const double cellW = plot.w / double(cols), cellH = plot.h / double(rows);
  // the first series is the bottom row, as the series axis rises
  for (std::size_t r = 0; r < rows; ++r) {
    const ChartSeries& s = g.series[r];
    const double y = plot.y + plot.h - double(r + 1) * cellH;
    for (std::size_t i = 0; i < cols; ++i) {
      const double v = i < s.values.size() ? s.values[i] : NAN;
      if (!std::isfinite(v)) continue;
      const int band = std::clamp(int(std::floor((v - bands.min) / bands.step)), 0, bandCount - 1);
      c.body += "<rect x=\"" + Num(plot.x + double(i) * cellW) + "\" y=\"" + Num(y) +
                "\" width=\"" + Num(cellW + 0.5) + "\" height=\"" + Num(cellH + 0.5) + "\"" +
                FillAttrs(BandColor(c.palette, band)) + "/>\n";
    }
    c.Label(plot.x - 4, y + cellH / 2, FitText(s.name, px, rowLabelW), "end", px);
  }
  // category names under the columns, every k-th where they would crowd
  double widest = 0;
  for (const std::string& name : names) widest = std::max(widest, TextWidth(name, px));
  const std::size_t every = std::max<std::size_t>(1, std::size_t(std::ceil((widest + 6) / cellW)));
  for (std::size_t i = 0; i < cols; i += every)
    c.Label(plot.x + (double(i) + 0.5) * cellW, plot.y + plot.h + px * 0.9,
            i < names.size() ? names[i] : std::to_string(i + 1), "middle", px);
}

}  // namespace qp::draw
