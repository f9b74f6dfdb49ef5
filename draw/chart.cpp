// A chart drawn from its part: the frame, title, legend and axes here, the
// plots in chart_plots.cpp.
#include "draw/chart.h"

#include <algorithm>
#include <cmath>

#include "draw/chart_ex.h"
#include "draw/chart_frame.h"
#include "draw/svg_text.h"
#include "draw/xml_names.h"
#include "text/number.h"
#include "text/style_length.h"

namespace qp::draw {
namespace {

constexpr std::uint32_t kGridColor = 0xD9D9D9, kAxisColor = 0xBFBFBF;

bool IsRound(ChartKind k) {
  return k == ChartKind::kPie || k == ChartKind::kDoughnut;
}
bool IsXY(ChartKind k) {
  return k == ChartKind::kScatter || k == ChartKind::kBubble;
}

std::string ValueFormat(const ChartModel& m, const ChartAxis& axis, bool percent) {
  if (!axis.format.empty()) return axis.format;
  if (percent) return "0%";
  for (const ChartGroup& g : m.groups)
    for (const ChartSeries& s : g.series)
      if (!s.format.empty()) return s.format;
  return "General";
}

std::vector<LegendEntry> LegendEntries(const ChartModel& m, const Palette& palette) {
  std::vector<LegendEntry> out;
  int index = 0;
  for (const ChartGroup& g : m.groups) {
    // a pie's legend names its points
    if ((IsRound(g.kind) || (g.varyColors && g.series.size() == 1 && g.kind == ChartKind::kBar)) &&
        !g.series.empty()) {
      const ChartSeries& s = g.series.front();
      for (std::size_t i = 0; i < s.values.size() && out.size() < 64; ++i)
        out.push_back({i < s.categories.size() ? s.categories[i] : std::to_string(i + 1),
                       PointFillColor(s, i, index, true, palette)});
      index += int(g.series.size());
      continue;
    }
    if (g.kind == ChartKind::kSurface) {
      // a surface's legend names its bands of value
      const Scale bands = SurfaceBands(g, m.valueAxis);
      const std::string format = ValueFormat(m, m.valueAxis, false);
      for (int b = 0; b < std::max(bands.Ticks(), 1) && out.size() < 64; ++b)
        out.push_back({FormatValue(bands.min + bands.step * b, format) + "-" +
                           FormatValue(bands.min + bands.step * (b + 1), format),
                       BandColor(palette, b)});
      index += int(g.series.size());
      continue;
    }
    for (const ChartSeries& s : g.series) {
      const bool line = g.kind == ChartKind::kLine || g.kind == ChartKind::kScatter ||
                        g.kind == ChartKind::kStock ||
                        (g.kind == ChartKind::kRadar && g.radarStyle != "filled");
      const std::string name = s.name.empty() ? "Series" + std::to_string(index + 1) : s.name;
      out.push_back({name,
                     line ? SeriesLineColor(s, index, palette) : SeriesFillColor(s, index, palette),
                     line, line ? nullptr : &s.fill});
      ++index;
    }
  }
  return out;
}

}  // namespace

// Draws the legend at its side of `area` and returns what is left for the plot.
Box PlaceLegend(ChartCanvas& c, const std::vector<LegendEntry>& entries, std::string_view pos,
                Box area) {
  if (entries.empty() || pos.empty()) return area;
  const double px = c.fontPx, rowH = px * 1.5, key = px * 0.7;
  double widest = 0;
  for (const LegendEntry& e : entries) widest = std::max(widest, TextWidth(e.text, px));
  auto entry = [&](double x, double y, const LegendEntry& e, double maxW) {
    if (e.line)
      c.body += "<line x1=\"" + Num(x) + "\" y1=\"" + Num(y) + "\" x2=\"" + Num(x + key * 1.6) +
                "\" y2=\"" + Num(y) + "\"" + StrokeAttrs(e.color, 2.5) + "/>\n";
    else
      c.body += "<rect x=\"" + Num(x) + "\" y=\"" + Num(y - key / 2) + "\" width=\"" + Num(key) +
                "\" height=\"" + Num(key) + "\"" +
                (e.fill ? c.Paint(*e.fill, e.color) : FillAttrs(e.color)) + "/>\n";
    const double textX = x + (e.line ? key * 1.6 : key) + 4;
    c.Label(textX, y, FitText(e.text, px, std::max(maxW - (textX - x), px)), "start", px);
  };
  if (pos == "t" || pos == "b") {
    const double itemW = std::min(widest + key * 1.6 + px * 1.5, area.w);
    const std::size_t perRow = std::max<std::size_t>(1, std::size_t(area.w / itemW));
    const std::size_t rows = std::min<std::size_t>((entries.size() + perRow - 1) / perRow, 6);
    const double height = double(rows) * rowH;
    const double top = pos == "t" ? area.y : area.y + area.h - height;
    for (std::size_t i = 0; i < entries.size() && i / perRow < rows; ++i) {
      const std::size_t inRow = std::min(perRow, entries.size() - i / perRow * perRow);
      const double rowStart = area.x + (area.w - double(inRow) * itemW) / 2;
      entry(rowStart + double(i % perRow) * itemW, top + (double(i / perRow) + 0.5) * rowH,
            entries[i], itemW - px);
    }
    return pos == "t" ? Box{area.x, area.y + height, area.w, area.h - height}
                      : Box{area.x, area.y, area.w, area.h - height};
  }
  const double width = std::min(widest + key * 1.6 + 4 + px, area.w * 0.4);
  const std::size_t rows = std::min(entries.size(), std::size_t(std::max(1.0, area.h / rowH)));
  const double left = pos == "l" ? area.x : area.x + area.w - width;
  const double top = pos == "tr" ? area.y : area.y + (area.h - double(rows) * rowH) / 2;
  for (std::size_t i = 0; i < rows; ++i)
    entry(left, top + (double(i) + 0.5) * rowH, entries[i], width);
  return pos == "l" ? Box{area.x + width + px, area.y, area.w - width - px, area.h}
                    : Box{area.x, area.y, area.w - width - px, area.h};
}

namespace {

struct Range {
  double lo = INFINITY, hi = -INFINITY;
  void Add(double v) {
    if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
  }
};

// The values the category plots reach, stacked where the group stacks.
Range CategoryRange(const ChartModel& m, std::size_t categories, bool secondary) {
  Range r;
  for (const ChartGroup& g : m.groups) {
    if (IsRound(g.kind) || IsXY(g.kind) || g.secondary != secondary) continue;
    if (g.Percent()) {
      r.Add(0);
      r.Add(1);
      for (const ChartSeries& s : g.series)
        for (double v : s.values)
          if (v < 0) r.Add(-1);
      continue;
    }
    std::vector<double> pos(categories, 0), neg(categories, 0);
    for (const ChartSeries& s : g.series)
      for (std::size_t i = 0; i < std::min(categories, s.values.size()); ++i) {
        const double v = s.values[i];
        if (!std::isfinite(v)) continue;
        if (!g.Stacked()) {
          r.Add(v);
          continue;
        }
        (v >= 0 ? pos[i] : neg[i]) += v;
        r.Add(pos[i]);
        r.Add(neg[i]);
      }
  }
  // headroom above the highest value, as Office leaves it
  if (r.hi > 0 && r.hi != 1) r.hi += (r.hi - std::min(r.lo, 0.0)) * 0.05;
  return r;
}

}  // namespace

// Tick labels along the value axis (vertical unless `horizontal`).
void DrawValueAxis(ChartCanvas& c, const ChartAxis& axis, const Scale& s, Box plot, bool horizontal,
                   const std::string& format, bool right) {
  const int ticks = s.Ticks();
  for (int i = 0; i <= ticks; ++i) {
    const double v = s.min + s.step * i;
    const double p = s.At(v, horizontal ? plot.w : plot.h);
    if (axis.gridlines) {
      if (horizontal)
        c.body += "<line x1=\"" + Num(plot.x + p) + "\" y1=\"" + Num(plot.y) + "\" x2=\"" +
                  Num(plot.x + p) + "\" y2=\"" + Num(plot.y + plot.h) + "\"" +
                  StrokeAttrs(Color{kGridColor, 1}, 1) + "/>\n";
      else
        c.body += "<line x1=\"" + Num(plot.x) + "\" y1=\"" + Num(plot.y + plot.h - p) + "\" x2=\"" +
                  Num(plot.x + plot.w) + "\" y2=\"" + Num(plot.y + plot.h - p) + "\"" +
                  StrokeAttrs(Color{kGridColor, 1}, 1) + "/>\n";
    }
    if (axis.deleted) continue;
    const std::string text = FormatValue(std::abs(v) < s.step * 1e-9 ? 0 : v, format);
    if (horizontal)
      c.Label(plot.x + p, plot.y + plot.h + c.fontPx * 0.9, text, "middle", c.fontPx);
    else if (right)
      c.Label(plot.x + plot.w + 5, plot.y + plot.h - p, text, "start", c.fontPx);
    else
      c.Label(plot.x - 5, plot.y + plot.h - p, text, "end", c.fontPx);
  }
}

void DrawCategoryAxis(ChartCanvas& c, const ChartAxis& axis, const std::vector<std::string>& names,
                      std::size_t categories, Box plot, bool horizontal, bool between) {
  const std::string axisLine = StrokeAttrs(Color{kAxisColor, 1}, 1);
  if (horizontal)
    c.body += "<line x1=\"" + Num(plot.x) + "\" y1=\"" + Num(plot.y) + "\" x2=\"" + Num(plot.x) +
              "\" y2=\"" + Num(plot.y + plot.h) + "\"" + axisLine + "/>\n";
  else
    c.body += "<line x1=\"" + Num(plot.x) + "\" y1=\"" + Num(plot.y + plot.h) + "\" x2=\"" +
              Num(plot.x + plot.w) + "\" y2=\"" + Num(plot.y + plot.h) + "\"" + axisLine + "/>\n";
  if (axis.deleted || categories == 0) return;
  const double slot = (horizontal ? plot.h : plot.w) / double(categories);
  // labels thin out when they would overlap
  const std::size_t every =
      std::max<std::size_t>(1, std::size_t(std::ceil(c.fontPx * 1.2 / std::max(slot, 1e-3))));
  for (std::size_t i = 0; i < categories; i += horizontal ? every : 1) {
    const std::string name = i < names.size() ? names[i] : std::to_string(i + 1);
    const double centre = between || categories < 2
                              ? (double(i) + 0.5) * slot
                              : double(i) * (horizontal ? plot.h : plot.w) / double(categories - 1);
    if (horizontal)
      c.Label(plot.x - 5, plot.y + plot.h - centre, FitText(name, c.fontPx, plot.x - 8), "end",
              c.fontPx);
    else
      c.Label(plot.x + centre, plot.y + plot.h + c.fontPx * 0.9,
              FitText(name, c.fontPx, std::max(slot - 2, c.fontPx * 2)), "middle", c.fontPx);
  }
}

// Axis titles along the left and bottom edges; returns what is left.
Box PlaceAxisTitles(ChartCanvas& c, Box area, const std::string& left, const std::string& bottom) {
  const double px = c.fontPx, band = px * 1.6;
  if (!bottom.empty() && area.h > band * 3) {
    c.Label(area.x + area.w / 2, area.y + area.h - band / 2, FitText(bottom, px, area.w), "middle",
            px, 0x595959, 0, true);
    area.h -= band;
  }
  if (!left.empty() && area.w > band * 3) {
    const double x = area.x + band / 2, y = area.y + area.h / 2;
    c.Label(x, y, FitText(left, px, area.h), "middle", px, 0x595959, -90, true);
    area.x += band;
    area.w -= band;
  }
  return area;
}

std::string Placeholder(const std::string& title, std::string_view what, double w, double h,
                        const Palette& palette) {
  ChartCanvas c{palette, FontFamily(palette), std::clamp(h / 12, 9.0, 16.0), {}};
  c.body = "<rect x=\"0.5\" y=\"0.5\" width=\"" + Num(w - 1) + "\" height=\"" + Num(h - 1) +
           "\" fill=\"#F2F2F2\" stroke=\"#A6A6A6\" stroke-width=\"1\"/>\n";
  const std::vector<std::string> lines = WrapText(title, c.fontPx * 1.2, w - 16, 3);
  double y = h / 2 - double(lines.size()) * c.fontPx * 0.75;
  for (const std::string& line : lines) {
    c.Label(w / 2, y, line, "middle", c.fontPx * 1.2, 0x404040, 0, true);
    y += c.fontPx * 1.5;
  }
  c.Label(w / 2, y + c.fontPx * 0.3, FitText(what, c.fontPx, w - 16), "middle", c.fontPx, 0x7f7f7f);
  return SvgOpen(w, h) + c.body + std::string(kSvgClose);
}

namespace {}  // namespace

double Scale::At(double v, double length) const {
  const double t = (v - min) / (max - min);
  return std::clamp(t, -1.0, 2.0) * length;
}

int Scale::Ticks() const {
  return std::clamp(int(std::lround((max - min) / step)), 1, 100);
}

Scale NiceScale(double lo, double hi, const ChartAxis& axis) {
  if (!std::isfinite(lo) || !std::isfinite(hi)) lo = 0, hi = 1;
  if (axis.min) lo = *axis.min;
  if (axis.max) hi = *axis.max;
  // zero is in the range unless the values keep well clear of it
  if (!axis.min && lo > 0 && (hi - lo) / hi >= 1.0 / 6) lo = 0;
  if (!axis.max && hi < 0 && (lo - hi) / lo >= 1.0 / 6) hi = 0;
  if (!(hi > lo)) hi = lo + (lo == 0 ? 1 : std::abs(lo) * 0.1);
  auto nice = [](double span) {
    const double raw = span / 5;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / mag;
    return (f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10) * mag;
  };
  Scale s;
  s.step = axis.majorUnit && (hi - lo) / *axis.majorUnit <= 100 ? *axis.majorUnit : nice(hi - lo);
  if (!std::isfinite(s.step) || s.step <= 0) s.step = 1;
  s.min = axis.min ? lo : std::floor(lo / s.step + 1e-9) * s.step;
  s.max = axis.max ? hi : std::ceil(hi / s.step - 1e-9) * s.step;
  if (!(s.max > s.min)) s.max = s.min + s.step;
  return s;
}

void ChartCanvas::Label(double x, double y, std::string_view text, std::string_view anchor,
                        double px, std::uint32_t rgb, double rotate, bool bold) {
  if (text.empty()) return;
  body += "<text x=\"" + Num(x) + "\" y=\"" + Num(y + px * 0.35) + "\" font-size=\"" + Num(px) +
          "\" font-family=\"" + font + "\" text-anchor=\"" + std::string(anchor) + "\" fill=\"" +
          HexRgb(rgb) + "\"";
  if (bold) body += " font-weight=\"bold\"";
  if (rotate != 0)
    body += " transform=\"rotate(" + Num(rotate) + " " + Num(x) + " " + Num(y) + ")\"";
  body += ">" + Escape(text) + "</text>\n";
}

Color SeriesFillColor(const ChartSeries& s, int seriesIndex, const Palette& palette) {
  return s.fill.color.value_or(SeriesColor(palette, seriesIndex));
}

Color PointFillColor(const ChartSeries& s, std::size_t point, int seriesIndex, bool vary,
                     const Palette& palette) {
  for (const auto& [index, fill] : s.pointFills)
    if (index == point && fill.color) return *fill.color;
  if (vary) return SeriesColor(palette, int(std::min<std::size_t>(point, 1000)) + seriesIndex);
  return SeriesFillColor(s, seriesIndex, palette);
}

std::string ChartCanvas::Paint(const Fill& fill, const Color& fallback) {
  if (!fill.gradient) return FillAttrs(fill.color.value_or(fallback));
  std::string& paint = gradientPaints[&*fill.gradient];
  if (paint.empty()) paint = GradientFill(*fill.gradient, gradients, body);
  return paint;
}

std::string PointPaint(ChartCanvas& c, const ChartSeries& s, std::size_t point, int seriesIndex,
                       bool vary) {
  for (const auto& [index, fill] : s.pointFills)
    if (index == point && (fill.color || fill.gradient)) return c.Paint(fill, {});
  if (vary) return FillAttrs(PointFillColor(s, point, seriesIndex, true, c.palette));
  return c.Paint(s.fill, SeriesFillColor(s, seriesIndex, c.palette));
}

Color SeriesLineColor(const ChartSeries& s, int seriesIndex, const Palette& palette) {
  return s.line.color.value_or(SeriesColor(palette, seriesIndex));
}

double SeriesLinePx(const ChartSeries& s, double fallbackPx) {
  return s.line.widthEmu > 0 ? std::clamp(s.line.widthEmu / kEmuPerPx, 0.25, 20.0) : fallbackPx;
}

namespace {

// The plot area's own fill and border, under the gridlines; Office's
// default plot area has neither.
void DrawPlotArea(ChartCanvas& c, const ChartModel& m, Box plot) {
  const bool filled = !m.plotFill.none && (m.plotFill.color || m.plotFill.gradient);
  const std::optional<Color> border = m.plotLine.none ? std::nullopt : m.plotLine.color;
  if (!filled && !border) return;
  const std::string fill = filled ? c.Paint(m.plotFill, {}) : FillAttrs(std::nullopt);
  c.body += "<rect x=\"" + Num(plot.x) + "\" y=\"" + Num(plot.y) + "\" width=\"" + Num(plot.w) +
            "\" height=\"" + Num(plot.h) + "\"" + fill + StrokeAttrs(border, 1) + "/>\n";
}

}  // namespace

Drawing ChartSvg(std::string_view chartXml, const Palette& palette, double widthPx,
                 double heightPx) {
  const double w = ClampSide(widthPx), h = ClampSide(heightPx);
  Drawing out;
  // Office 2016's kinds come through the same relationship in parts of
  // their own shape
  pugi::xml_document exDoc;
  if (chartXml.find("chartData") != std::string_view::npos && ParseXml(exDoc, chartXml) &&
      IsChartEx(exDoc.document_element()))
    return ChartExSvg(exDoc.document_element(), palette, w, h);
  const ChartModel m = ReadChart(chartXml, palette);
  if (m.title) out.title = *m.title;
  if (!m.parsed) {
    out.note = "the chart part is not a readable chart";
    out.svg =
        Placeholder(out.title.empty() ? "Chart" : out.title, "chart not drawn", w, h, palette);
    return out;
  }
  if (m.groups.empty()) {
    const std::string kind = m.undrawn.empty() ? "empty" : m.undrawn.front();
    out.note = "chart kind " + kind + " is not drawn";
    out.svg = Placeholder(out.title.empty() ? "Chart" : out.title, kind, w, h, palette);
    return out;
  }
  if (!m.undrawn.empty())
    out.note = "chart kind " + m.undrawn.front() + " is left out of a combined chart";

  ChartCanvas c{palette, FontFamily(palette), std::min(m.fontPx, std::max(h / 14, 6.0)), {}};
  const std::string background =
      m.areaFill.none ? FillAttrs(std::nullopt) : c.Paint(m.areaFill, Color{0xFFFFFF, 1});
  const std::optional<Color> border =
      m.areaLine.none ? std::nullopt
                      : std::optional(m.areaLine.color.value_or(Color{kGridColor, 1}));
  c.body += "<rect x=\"0.5\" y=\"0.5\" width=\"" + Num(w - 1) + "\" height=\"" + Num(h - 1) + "\"" +
            background + StrokeAttrs(border, 1) + "/>\n";

  const double pad = std::min(10.0, std::min(w, h) / 20);
  Box area{pad, pad, w - 2 * pad, h - 2 * pad};
  if (m.title) {
    const double px = c.fontPx * 1.4;
    const std::vector<std::string> lines = WrapText(*m.title, px, area.w, 3);
    for (std::size_t i = 0; i < lines.size(); ++i)
      c.Label(w / 2, area.y + (double(i) + 0.5) * px * 1.25, lines[i], "middle", px, 0x595959);
    const double used = double(lines.size()) * px * 1.25 + pad / 2;
    area.y += used;
    area.h -= used;
  }
  area = PlaceLegend(c, LegendEntries(m, palette), m.legendPosition, area);

  const ChartGroup& first = m.groups.front();
  int firstSeries = 0;
  if (IsRound(first.kind)) {
    DrawPie(c, first, area, 0);
  } else if (first.kind == ChartKind::kRadar) {
    DrawRadar(c, first, area, m.valueAxis, ValueFormat(m, m.valueAxis, false), 0);
  } else if (first.kind == ChartKind::kSurface) {
    DrawSurface(c, first, area, m.valueAxis);
  } else if (IsXY(first.kind)) {
    Range xr, yr;
    for (const ChartGroup& g : m.groups)
      if (IsXY(g.kind))
        for (const ChartSeries& s : g.series) {
          for (double v : s.xValues) xr.Add(v);
          for (double v : s.values) yr.Add(v);
        }
    const Scale xs = NiceScale(xr.lo, xr.hi, m.categoryAxis),
                ys = NiceScale(yr.lo, yr.hi, m.valueAxis);
    const std::string yFormat = ValueFormat(m, m.valueAxis, false);
    const std::string xFormat = m.categoryAxis.format.empty() ? "General" : m.categoryAxis.format;
    area = PlaceAxisTitles(c, area, m.valueAxis.title, m.categoryAxis.title);
    double labelW = 0;
    for (int i = 0; i <= ys.Ticks(); ++i)
      labelW = std::max(labelW, TextWidth(FormatValue(ys.min + ys.step * i, yFormat), c.fontPx));
    Box plot{area.x + labelW + 8, area.y + c.fontPx / 2, area.w - labelW - 8 - c.fontPx,
             area.h - c.fontPx * 2.2};
    plot.w = std::max(plot.w, 1.0);
    plot.h = std::max(plot.h, 1.0);
    DrawPlotArea(c, m, plot);
    DrawValueAxis(c, m.valueAxis, ys, plot, false, yFormat);
    DrawValueAxis(c, m.categoryAxis, xs, plot, true, xFormat);
    for (const ChartGroup& g : m.groups) {
      if (IsXY(g.kind)) DrawScatter(c, g, plot, xs, ys, firstSeries);
      firstSeries += int(g.series.size());
    }
  } else {
    std::size_t categories = 0;
    std::vector<std::string> names;
    for (const ChartGroup& g : m.groups)
      for (const ChartSeries& s : g.series) {
        categories = std::max({categories, s.values.size(), s.categories.size()});
        if (names.size() < s.categories.size()) names = s.categories;
      }
    const bool horizontal = first.kind == ChartKind::kBar && first.horizontal;
    const Range r = CategoryRange(m, categories, false);
    const Scale vs = NiceScale(r.lo, r.hi, m.valueAxis);
    const std::string format = ValueFormat(m, m.valueAxis, first.Percent());
    const bool twoAxes =
        m.secondaryAxis.present && std::any_of(m.groups.begin(), m.groups.end(),
                                               [](const ChartGroup& g) { return g.secondary; });
    const Range r2 = twoAxes ? CategoryRange(m, categories, true) : Range{};
    const Scale vs2 = NiceScale(r2.lo, r2.hi, m.secondaryAxis);
    const std::string format2 = m.secondaryAxis.format.empty() ? format : m.secondaryAxis.format;
    double rightW = 0;
    if (twoAxes && !m.secondaryAxis.deleted)
      for (int i = 0; i <= vs2.Ticks(); ++i)
        rightW =
            std::max(rightW, TextWidth(FormatValue(vs2.min + vs2.step * i, format2), c.fontPx) + 8);
    double valueW = 0, nameW = 0;
    for (int i = 0; i <= vs.Ticks(); ++i)
      valueW = std::max(valueW, TextWidth(FormatValue(vs.min + vs.step * i, format), c.fontPx));
    for (const std::string& n : names) nameW = std::max(nameW, TextWidth(n, c.fontPx));
    if (m.valueAxis.deleted) valueW = 0;
    area = PlaceAxisTitles(c, area, horizontal ? m.categoryAxis.title : m.valueAxis.title,
                           horizontal ? m.valueAxis.title : m.categoryAxis.title);
    const double leftW = std::min(horizontal ? nameW : valueW, area.w * 0.35) + 8;
    Box plot{area.x + leftW, area.y + c.fontPx / 2, area.w - leftW - c.fontPx / 2 - rightW,
             area.h - c.fontPx * 2.2};
    plot.w = std::max(plot.w, 1.0);
    plot.h = std::max(plot.h, 1.0);
    DrawPlotArea(c, m, plot);
    DrawValueAxis(c, m.valueAxis, vs, plot, horizontal, format);
    if (twoAxes) DrawValueAxis(c, m.secondaryAxis, vs2, plot, horizontal, format2, true);
    const bool between = m.valueAxis.betweenCategories || first.kind == ChartKind::kBar;
    for (const ChartGroup& g : m.groups) {
      const Scale& scale = g.secondary ? vs2 : vs;
      if (g.kind == ChartKind::kBar)
        DrawBars(c, g, plot, scale, categories, firstSeries);
      else if (g.kind == ChartKind::kLine || g.kind == ChartKind::kArea)
        DrawLinesOrAreas(c, g, plot, scale, categories, between, firstSeries);
      else if (g.kind == ChartKind::kStock)
        DrawStock(c, g, plot, scale, categories, between, firstSeries);
      firstSeries += int(g.series.size());
    }
    DrawCategoryAxis(c, m.categoryAxis, names, categories, plot, horizontal, between);
  }
  out.svg = SvgOpen(w, h) + c.body + std::string(kSvgClose);
  return out;
}

}  // namespace qp::draw
