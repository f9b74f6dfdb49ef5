// The plots of a chart: bars, lines and areas on categories, scatter and
// bubble points, pie and doughnut sectors.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/chart_frame.h"
#include "draw/svg_text.h"
#include "text/number.h"

namespace qp::draw {
namespace {

double ValueAt(const ChartSeries& s, std::size_t i) {
  return i < s.values.size() ? s.values[i] : std::nan("");
}

std::string LabelText(const ChartSeries& s, std::size_t i, double value, double share,
                      std::string_view format) {
  std::string out;
  auto add = [&](const std::string& part) {
    if (part.empty()) return;
    if (!out.empty()) out += ", ";
    out += part;
  };
  if (s.labels.series) add(s.name);
  if (s.labels.category && i < s.categories.size()) add(s.categories[i]);
  if (s.labels.value) add(FormatValue(value, format));
  if (s.labels.percent && std::isfinite(share)) add(FormatValue(share, "0%"));
  return out;
}

// Per category, the sum of the group's absolute values (percent stacking).
std::vector<double> CategoryTotals(const ChartGroup& g, std::size_t categories) {
  std::vector<double> totals(categories, 0);
  for (const ChartSeries& s : g.series)
    for (std::size_t i = 0; i < categories; ++i) {
      const double v = ValueAt(s, i);
      if (std::isfinite(v)) totals[i] += std::abs(v);
    }
  return totals;
}

std::string Point(double x, double y) {
  return Num(x) + "," + Num(y);
}

}  // namespace

void DrawBars(ChartCanvas& c, const ChartGroup& g, Box plot, const Scale& values,
              std::size_t categories, int firstSeries) {
  if (categories == 0 || g.series.empty()) return;
  const bool stacked = g.Stacked();
  const double k = stacked ? 1 : double(g.series.size());
  const double overlap = stacked ? 1 : g.overlap / 100;
  const double catLength = (g.horizontal ? plot.h : plot.w) / double(categories);
  const double barW = catLength / (k - (k - 1) * overlap + g.gapWidth / 100);
  const double valueLength = g.horizontal ? plot.w : plot.h;
  const std::vector<double> totals = CategoryTotals(g, categories);
  std::vector<double> posTop(categories, 0), negTop(categories, 0);
  const double zero = values.At(std::clamp(0.0, values.min, values.max), valueLength);
  std::string labels;

  for (std::size_t si = 0; si < g.series.size(); ++si) {
    const ChartSeries& s = g.series[si];
    const int colorIndex = firstSeries + int(si);
    for (std::size_t i = 0; i < categories; ++i) {
      double v = ValueAt(s, i);
      if (!std::isfinite(v)) continue;
      const double shown = v;
      if (g.Percent()) v = totals[i] > 0 ? v / totals[i] : 0;
      double from = 0, to = v;
      if (stacked) {
        double& top = v >= 0 ? posTop[i] : negTop[i];
        from = top;
        to = top + v;
        top = to;
      }
      const double a = stacked ? values.At(from, valueLength) : zero;
      const double b = values.At(to, valueLength);
      const double slotStart = double(i) * catLength + barW * g.gapWidth / 200 +
                               double(stacked ? 0 : si) * barW * (1 - overlap);
      Box bar;
      if (g.horizontal) {
        // the first category sits at the bottom
        bar = {plot.x + std::min(a, b), plot.y + plot.h - slotStart - barW, std::abs(b - a), barW};
      } else {
        bar = {plot.x + slotStart, plot.y + plot.h - std::max(a, b), barW, std::abs(b - a)};
      }
      const std::string fill =
          PointPaint(c, s, i, colorIndex, g.varyColors && g.series.size() == 1);
      c.body +=
          "<rect x=\"" + Num(bar.x) + "\" y=\"" + Num(bar.y) + "\" width=\"" + Num(bar.w) +
          "\" height=\"" + Num(bar.h) + "\"" + fill +
          StrokeAttrs(s.line.none ? std::nullopt : s.line.color, SeriesLinePx(s, 1), s.line.dash) +
          "/>\n";
      if (!s.labels.Any()) continue;
      const std::string text =
          LabelText(s, i, shown, totals[i] > 0 ? std::abs(shown) / totals[i] : NAN, s.format);
      const bool inside = stacked || s.labels.position == "ctr" || s.labels.position == "inEnd";
      const double labelPx = c.fontPx * 0.9;
      if (g.horizontal) {
        const double x = inside ? bar.x + bar.w / 2 : (v >= 0 ? bar.x + bar.w + 3 : bar.x - 3);
        ChartCanvas lc{c.palette, c.font, c.fontPx, {}};
        lc.Label(x, bar.y + bar.h / 2, text, inside ? "middle" : v >= 0 ? "start" : "end", labelPx);
        labels += lc.body;
      } else {
        const double y = inside ? bar.y + bar.h / 2
                                : (v >= 0 ? bar.y - labelPx * 0.7 : bar.y + bar.h + labelPx * 0.7);
        ChartCanvas lc{c.palette, c.font, c.fontPx, {}};
        lc.Label(bar.x + bar.w / 2, y, text, "middle", labelPx);
        labels += lc.body;
      }
    }
  }
  c.body += labels;  // above every bar
}

void DrawLinesOrAreas(ChartCanvas& c, const ChartGroup& g, Box plot, const Scale& values,
                      std::size_t categories, bool betweenCategories, int firstSeries) {
  if (categories == 0) return;
  const bool area = g.kind == ChartKind::kArea;
  auto xAt = [&](std::size_t i) {
    if (betweenCategories || categories < 2)
      return plot.x + (double(i) + 0.5) * plot.w / double(categories);
    return plot.x + double(i) * plot.w / double(categories - 1);
  };
  auto yAt = [&](double v) { return plot.y + plot.h - values.At(v, plot.h); };
  const std::vector<double> totals = CategoryTotals(g, categories);
  std::vector<double> below(categories, 0);
  std::string labels;
  for (std::size_t si = 0; si < g.series.size(); ++si) {
    const ChartSeries& s = g.series[si];
    const int colorIndex = firstSeries + int(si);
    std::vector<double> top(categories, std::nan(""));
    for (std::size_t i = 0; i < categories; ++i) {
      double v = ValueAt(s, i);
      if (!std::isfinite(v)) {
        if (area)
          v = 0;  // an area drops to its base where a point is missing
        else
          continue;
      }
      if (g.Percent()) v = totals[i] > 0 ? v / totals[i] : 0;
      top[i] = g.Stacked() ? below[i] + v : v;
    }
    if (area) {
      std::string d;
      for (std::size_t i = 0; i < categories; ++i)
        d += (i ? " L" : "M") + Point(xAt(i), yAt(top[i]));
      for (std::size_t i = categories; i-- > 0;)
        d += " L" +
             Point(xAt(i), yAt(g.Stacked() ? below[i] : std::clamp(0.0, values.min, values.max)));
      const std::string fill = s.fill.none ? FillAttrs(std::nullopt)
                                           : c.Paint(s.fill, SeriesColor(c.palette, colorIndex));
      c.body += "<path d=\"" + d + " Z\"" + fill +
                StrokeAttrs(s.line.none ? std::nullopt : s.line.color, SeriesLinePx(s, 1)) + "/>\n";
    } else {
      std::string d;
      bool pen = false;
      for (std::size_t i = 0; i < categories; ++i) {
        if (!std::isfinite(top[i])) {
          pen = false;
          continue;
        }
        d += (pen ? " L" : " M") + Point(xAt(i), yAt(top[i]));
        pen = true;
      }
      const Color color = SeriesLineColor(s, colorIndex, c.palette);
      if (!s.line.none)
        c.body += "<path d=\"" + d + "\" fill=\"none\"" +
                  StrokeAttrs(color, SeriesLinePx(s, 3), s.line.dash) +
                  " stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n";
      if (s.markers)
        for (std::size_t i = 0; i < categories; ++i)
          if (std::isfinite(top[i]))
            c.body += "<circle cx=\"" + Num(xAt(i)) + "\" cy=\"" + Num(yAt(top[i])) +
                      "\" r=\"3.5\"" + FillAttrs(color) + "/>\n";
    }
    if (s.labels.Any())
      for (std::size_t i = 0; i < categories; ++i)
        if (std::isfinite(top[i]) && std::isfinite(ValueAt(s, i))) {
          ChartCanvas lc{c.palette, c.font, c.fontPx, {}};
          lc.Label(xAt(i), yAt(top[i]) - c.fontPx * 0.8,
                   LabelText(s, i, ValueAt(s, i), NAN, s.format), "middle", c.fontPx * 0.9);
          labels += lc.body;
        }
    if (g.Stacked())
      for (std::size_t i = 0; i < categories; ++i)
        if (std::isfinite(top[i])) below[i] = top[i];
  }
  c.body += labels;
}

void DrawScatter(ChartCanvas& c, const ChartGroup& g, Box plot, const Scale& x, const Scale& y,
                 int firstSeries) {
  double maxSize = 0;
  for (const ChartSeries& s : g.series)
    for (double v : s.sizes)
      if (std::isfinite(v)) maxSize = std::max(maxSize, std::abs(v));
  const double maxRadius = std::min(plot.w, plot.h) / 8;
  std::string labels;
  for (std::size_t si = 0; si < g.series.size(); ++si) {
    const ChartSeries& s = g.series[si];
    const int colorIndex = firstSeries + int(si);
    const std::size_t n = std::min(s.xValues.size(), s.values.size());
    auto px = [&](std::size_t i) { return plot.x + x.At(s.xValues[i], plot.w); };
    auto py = [&](std::size_t i) { return plot.y + plot.h - y.At(s.values[i], plot.h); };
    auto valid = [&](std::size_t i) {
      return std::isfinite(s.xValues[i]) && std::isfinite(s.values[i]);
    };
    const Color color = g.kind == ChartKind::kBubble ? SeriesFillColor(s, colorIndex, c.palette)
                                                     : SeriesLineColor(s, colorIndex, c.palette);
    if (g.kind == ChartKind::kBubble) {
      for (std::size_t i = 0; i < n; ++i) {
        const double size =
            i < s.sizes.size() && std::isfinite(s.sizes[i]) ? std::abs(s.sizes[i]) : 0;
        if (!valid(i) || maxSize <= 0) continue;
        Color fill = color;
        fill.alpha = std::min(fill.alpha, 0.75);
        c.body += "<circle cx=\"" + Num(px(i)) + "\" cy=\"" + Num(py(i)) + "\" r=\"" +
                  Num(maxRadius * std::sqrt(size / maxSize)) + "\"" +
                  (s.fill.gradient ? c.Paint(s.fill, fill) : FillAttrs(fill)) + "/>\n";
      }
    } else {
      if (g.scatterLines && !s.line.none) {
        std::string d;
        bool pen = false;
        for (std::size_t i = 0; i < n; ++i) {
          if (!valid(i)) {
            pen = false;
            continue;
          }
          d += (pen ? " L" : " M") + Point(px(i), py(i));
          pen = true;
        }
        c.body += "<path d=\"" + d + "\" fill=\"none\"" +
                  StrokeAttrs(color, SeriesLinePx(s, 2.5), s.line.dash) +
                  " stroke-linejoin=\"round\"/>\n";
      }
      if (s.markers || !g.scatterLines || s.line.none)
        for (std::size_t i = 0; i < n; ++i)
          if (valid(i))
            c.body += "<circle cx=\"" + Num(px(i)) + "\" cy=\"" + Num(py(i)) + "\" r=\"3.5\"" +
                      FillAttrs(color) + "/>\n";
    }
    if (s.labels.Any())
      for (std::size_t i = 0; i < n; ++i)
        if (valid(i)) {
          ChartCanvas lc{c.palette, c.font, c.fontPx, {}};
          lc.Label(px(i) + 5, py(i) - c.fontPx * 0.6, LabelText(s, i, s.values[i], NAN, s.format),
                   "start", c.fontPx * 0.9);
          labels += lc.body;
        }
  }
  c.body += labels;
}

void DrawPie(ChartCanvas& c, const ChartGroup& g, Box plot, int firstSeries) {
  const double cx = plot.x + plot.w / 2, cy = plot.y + plot.h / 2;
  const double radius = std::max(1.0, std::min(plot.w, plot.h) / 2);
  const bool doughnut = g.kind == ChartKind::kDoughnut;
  // a pie shows its first series; a doughnut shows each series as a ring,
  // the first innermost
  const std::size_t rings = doughnut ? g.series.size() : std::min<std::size_t>(1, g.series.size());
  const double hole = doughnut ? radius * g.holeSize / 100 : 0;
  const double ringWidth = rings ? (radius - hole) / double(rings) : 0;
  std::string labels;
  for (std::size_t ri = 0; ri < rings; ++ri) {
    const ChartSeries& s = g.series[ri];
    const double inner = doughnut ? hole + ringWidth * double(ri) : 0;
    const double outer = doughnut ? inner + ringWidth : radius;
    double total = 0;
    for (double v : s.values)
      if (std::isfinite(v) && v > 0) total += v;
    if (total <= 0) continue;
    double angle = g.firstSliceAngle * std::numbers::pi / 180;
    for (std::size_t i = 0; i < s.values.size(); ++i) {
      const double v = s.values[i];
      if (!std::isfinite(v) || v <= 0) continue;
      const double sweep = v / total * 2 * std::numbers::pi;
      const double a0 = angle, a1 = angle + sweep;
      angle = a1;
      // clockwise from twelve o'clock
      auto at = [&](double a, double r) {
        return Point(cx + r * std::sin(a), cy - r * std::cos(a));
      };
      const Color fill = PointFillColor(s, i, firstSeries + int(ri), g.varyColors, c.palette);
      const std::string paint = PointPaint(c, s, i, firstSeries + int(ri), g.varyColors);
      std::string shape;
      if (sweep >= 2 * std::numbers::pi - 1e-9) {
        shape = "<circle cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" r=\"" +
                Num(outer - (outer - inner) / 2) + "\" fill=\"none\" stroke=\"" + HexRgb(fill.rgb) +
                "\" stroke-width=\"" + Num(outer - inner) + "\"/>\n";
        if (!doughnut)
          shape = "<circle cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" r=\"" + Num(outer) + "\"" +
                  paint + "/>\n";
      } else {
        const std::string large = sweep > std::numbers::pi ? " 1 " : " 0 ";
        std::string d = "M" + at(a0, outer) + " A" + Num(outer) + "," + Num(outer) + " 0" + large +
                        "1 " + at(a1, outer);
        if (inner > 0)
          d += " L" + at(a1, inner) + " A" + Num(inner) + "," + Num(inner) + " 0" + large + "0 " +
               at(a0, inner);
        else
          d += " L" + Point(cx, cy);
        shape = "<path d=\"" + d + " Z\"" + paint + " stroke=\"#FFFFFF\" stroke-width=\"1\"/>\n";
      }
      c.body += shape;
      if (s.labels.Any()) {
        const double mid = (a0 + a1) / 2;
        const bool outside = s.labels.position == "outEnd";
        const double r = outside ? outer + c.fontPx : doughnut ? (inner + outer) / 2 : outer * 0.65;
        const double lx = cx + r * std::sin(mid), ly = cy - r * std::cos(mid);
        ChartCanvas lc{c.palette, c.font, c.fontPx, {}};
        lc.Label(lx, ly, LabelText(s, i, v, v / total, s.format),
                 outside ? (std::sin(mid) >= 0 ? "start" : "end") : "middle", c.fontPx * 0.9,
                 outside ? 0x595959 : 0xFFFFFF);
        labels += lc.body;
      }
    }
  }
  c.body += labels;
}

}  // namespace qp::draw

namespace qp::draw {

void DrawStock(ChartCanvas& c, const ChartGroup& g, Box plot, const Scale& values,
               std::size_t categories, bool betweenCategories, int firstSeries) {
  if (categories == 0 || g.series.empty()) return;
  const double catW = plot.w / double(categories);
  auto xAt = [&](std::size_t i) {
    if (betweenCategories || categories < 2) return plot.x + (double(i) + 0.5) * catW;
    return plot.x + double(i) * plot.w / double(categories - 1);
  };
  auto yAt = [&](double v) { return plot.y + plot.h - values.At(v, plot.h); };
  const Color ink{0x404040, 1};
  // Office always joins a category's low and high in a stock chart it
  // writes; a part without hiLowLines and without bars still gets them.
  const bool lines = g.hiLowLines || !g.upDownBars;
  const double barW = std::min(catW * 0.5, std::max(catW / 3, 2.0));
  for (std::size_t i = 0; i < categories; ++i) {
    double lo = INFINITY, hi = -INFINITY;
    for (const ChartSeries& s : g.series) {
      const double v = ValueAt(s, i);
      if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
    }
    if (!(lo <= hi)) continue;
    if (lines)
      c.body += "<line x1=\"" + Num(xAt(i)) + "\" y1=\"" + Num(yAt(lo)) + "\" x2=\"" + Num(xAt(i)) +
                "\" y2=\"" + Num(yAt(hi)) + "\"" + StrokeAttrs(ink, 1) + "/>\n";
    const double open = ValueAt(g.series.front(), i), close = ValueAt(g.series.back(), i);
    if (g.upDownBars && g.series.size() >= 2 && std::isfinite(open) && std::isfinite(close)) {
      const bool up = close >= open;
      const Fill& f = up ? g.upFill : g.downFill;
      const std::string fill =
          f.none ? FillAttrs(std::nullopt) : c.Paint(f, Color{up ? 0xFFFFFFu : 0x404040u, 1});
      const double top = yAt(std::max(open, close)), bottom = yAt(std::min(open, close));
      c.body += "<rect x=\"" + Num(xAt(i) - barW / 2) + "\" y=\"" + Num(top) + "\" width=\"" +
                Num(barW) + "\" height=\"" + Num(std::max(bottom - top, 1.0)) + "\"" + fill +
                StrokeAttrs(ink, 1) + "/>\n";
    }
  }
  // The series themselves show only where they say a line or a marker of
  // their own (Office writes its stock series without lines); the close
  // of a high-low-close chart is a tick to the right.
  ChartGroup own = g;
  for (ChartSeries& s : own.series) s.line.none = s.line.none || !s.line.color;
  if (!g.upDownBars && g.series.size() == 3) {
    ChartSeries& close = own.series.back();
    close.markers = false;
    for (std::size_t i = 0; i < categories; ++i) {
      const double v = ValueAt(close, i);
      if (std::isfinite(v))
        c.body += "<line x1=\"" + Num(xAt(i)) + "\" y1=\"" + Num(yAt(v)) + "\" x2=\"" +
                  Num(xAt(i) + barW / 2) + "\" y2=\"" + Num(yAt(v)) + "\"" + StrokeAttrs(ink, 1.5) +
                  "/>\n";
    }
  }
  for (ChartSeries& s : own.series) s.markers = s.markers && s.explicitMarker;
  DrawLinesOrAreas(c, own, plot, values, categories, betweenCategories, firstSeries);
}

}  // namespace qp::draw
