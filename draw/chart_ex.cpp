#include "draw/chart_ex.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "draw/svg_text.h"
#include "draw/xml_names.h"

namespace qp::draw {
namespace {

constexpr std::size_t kMaxBins = 200;

double Value(const ExData& d, std::size_t i) {
  return i < d.values.size() ? d.values[i] : NAN;
}

std::string Name(const ExData& d, std::size_t i) {
  if (!d.levels.empty() && i < d.levels[0].size()) return d.levels[0][i];
  return std::to_string(i + 1);
}

// cx:strDim / cx:numDim: each cx:lvl's points by index.
void ReadDimension(pugi::xml_node dim, ExData& d) {
  const std::string_view type = Attr(dim, "type").value();
  const bool text = LocalName(dim) == "strDim";
  for (pugi::xml_node lvl : dim.children()) {
    if (LocalName(lvl) != "lvl") continue;
    const auto count = static_cast<std::size_t>(
        std::clamp(AttrNumber(lvl, "ptCount", 0), 0.0, double(kMaxPoints)));
    if (text || type == "cat") {
      if (d.levels.size() >= 8) break;
      std::vector<std::string> names(count);
      for (pugi::xml_node pt : lvl.children()) {
        const double idx = AttrNumber(pt, "idx", -1);
        if (idx >= 0 && idx < double(count)) names[std::size_t(idx)] = pt.child_value();
      }
      // a parent level names a branch once, at its first leaf
      for (std::size_t i = 1; i < names.size(); ++i)
        if (names[i].empty() && !d.levels.empty()) names[i] = names[i - 1];
      d.levels.push_back(std::move(names));
    } else if (d.values.empty()) {
      d.values.assign(count, NAN);
      if (const std::string_view f = Attr(lvl, "formatCode").value(); !f.empty()) d.format = f;
      for (pugi::xml_node pt : lvl.children()) {
        const double idx = AttrNumber(pt, "idx", -1);
        if (idx >= 0 && idx < double(count))
          d.values[std::size_t(idx)] = ToNumber(pt.child_value(), NAN);
      }
    }
  }
}

std::vector<ExSeries> ReadSeries(const pugi::xml_node& space, const Palette& palette) {
  std::map<std::string, ExData> data;
  for (pugi::xml_node set : Child(space, "chartData").children()) {
    if (LocalName(set) != "data" || data.size() >= kMaxSeries) continue;
    ExData& d = data[Attr(set, "id").value()];
    for (pugi::xml_node dim : set.children())
      if (LocalName(dim) == "strDim" || LocalName(dim) == "numDim") ReadDimension(dim, d);
  }
  std::vector<ExSeries> out;
  const pugi::xml_node region = Path(space, {"chart", "plotArea", "plotAreaRegion"});
  for (pugi::xml_node ser : region.children()) {
    if (LocalName(ser) != "series" || out.size() >= kMaxSeries) continue;
    ExSeries s;
    s.layout = Attr(ser, "layoutId").value();
    s.hidden = std::string_view(Attr(ser, "hidden").value()) == "1";
    s.name = TextOf(Child(ser, "tx"), "v");
    auto found = data.find(std::string(ChildVal(ser, "dataId")));
    if (found != data.end()) s.data = found->second;
    const pugi::xml_node layout = Child(ser, "layoutPr");
    for (pugi::xml_node idx : Child(layout, "subtotals").children())
      if (s.subtotals.size() < kMaxPoints)
        s.subtotals.push_back(std::size_t(std::clamp(AttrNumber(idx, "val", 0), 0.0, 1e9)));
    s.aggregate = static_cast<bool>(Child(layout, "aggregation"));
    if (const pugi::xml_node bins = Child(layout, "binning")) {
      s.binned = true;
      s.closedLeft = std::string_view(Attr(bins, "intervalClosed").value()) == "l";
      s.binSize = std::max(AttrNumber(Child(bins, "binSize"), "val", 0), 0.0);
      s.binCount =
          int(std::clamp(AttrNumber(Child(bins, "binCount"), "val", 0), 0.0, double(kMaxBins)));
    }
    s.exclusiveQuartiles =
        std::string_view(Attr(Child(layout, "statistics"), "quartileMethod").value()) !=
        "inclusive";
    s.fill = ReadFill(Child(ser, "spPr"), palette);
    out.push_back(std::move(s));
  }
  return out;
}

struct Range {
  double lo = INFINITY, hi = -INFINITY;
  void Add(double v) {
    if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
  }
};

// The value axis on the left and the category names below; the plot box
// that is left.
Box Axes(ChartCanvas& c, Box area, const Scale& s, const std::string& format,
         const std::vector<std::string>& names, bool rightAxis = false) {
  ChartAxis axis;
  axis.gridlines = true;
  double labelW = 0;
  for (int i = 0; i <= s.Ticks(); ++i)
    labelW = std::max(labelW, TextWidth(FormatValue(s.min + s.step * i, format), c.fontPx));
  const double rightW = rightAxis ? TextWidth("100%", c.fontPx) + 8 : c.fontPx / 2;
  Box plot{area.x + labelW + 8, area.y + c.fontPx / 2, std::max(area.w - labelW - 8 - rightW, 1.0),
           std::max(area.h - c.fontPx * 2.2, 1.0)};
  DrawValueAxis(c, axis, s, plot, false, format);
  DrawCategoryAxis(c, axis, names, names.size(), plot, false, true);
  return plot;
}

std::string Rect(double x, double y, double w, double h, const std::string& paint) {
  return "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(std::max(w, 0.0)) +
         "\" height=\"" + Num(std::max(h, 0.0)) + "\"" + paint + "/>\n";
}

std::string Line(double x1, double y1, double x2, double y2, const Color& color, double width = 1) {
  return "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
         Num(y2) + "\"" + StrokeAttrs(color, width) + "/>\n";
}

void DrawWaterfall(ChartCanvas& c, const ExSeries& s, Box area) {
  const std::size_t n = s.data.values.size();
  std::vector<double> from(n, 0), to(n, 0);
  std::vector<std::string> names;
  Range r;
  r.Add(0);
  double total = 0;
  for (std::size_t i = 0; i < n; ++i) {
    double v = std::isfinite(Value(s.data, i)) ? Value(s.data, i) : 0;
    if (!std::isfinite(total + v)) v = 0;  // a running total past what a double holds
    const bool sum = std::find(s.subtotals.begin(), s.subtotals.end(), i) != s.subtotals.end();
    from[i] = sum ? 0 : total;
    to[i] = sum ? v : total + v;
    total = to[i];
    r.Add(to[i]);
    names.push_back(Name(s.data, i));
  }
  const Scale scale = NiceScale(r.lo, r.hi, ChartAxis{});
  const Box plot = Axes(c, area, scale, s.data.format, names);
  auto y = [&](double v) { return plot.y + plot.h - scale.At(v, plot.h); };
  const double catW = plot.w / double(std::max<std::size_t>(n, 1)), barW = catW / 1.5;
  for (std::size_t i = 0; i < n; ++i) {
    const bool sum = std::find(s.subtotals.begin(), s.subtotals.end(), i) != s.subtotals.end();
    const Color fill = SeriesColor(c.palette, sum ? 2 : to[i] >= from[i] ? 0 : 1);
    const double x = plot.x + double(i) * catW + (catW - barW) / 2;
    const double top = std::min(y(from[i]), y(to[i])), bottom = std::max(y(from[i]), y(to[i]));
    c.body += Rect(x, top, barW, std::max(bottom - top, 1.0), FillAttrs(fill));
    if (i + 1 < n) c.body += Line(x + barW, y(to[i]), x + catW, y(to[i]), Color{0x7F7F7F, 1});
    const double shown = sum ? to[i] : to[i] - from[i];
    c.Label(x + barW / 2, top - c.fontPx * 0.7, FormatValue(shown, s.data.format), "middle",
            c.fontPx * 0.9);
  }
}

void DrawFunnel(ChartCanvas& c, const ExSeries& s, Box area) {
  const std::size_t n = s.data.values.size();
  if (n == 0) return;
  double most = 0, nameW = 0;
  for (std::size_t i = 0; i < n; ++i) {
    most = std::max(most, std::abs(Value(s.data, i)));
    nameW = std::max(nameW, TextWidth(Name(s.data, i), c.fontPx));
  }
  nameW = std::min(nameW, area.w / 3) + 8;
  const double rowH = area.h / double(n), centre = area.x + nameW + (area.w - nameW) / 2;
  const std::string fill = c.Paint(s.fill, SeriesColor(c.palette, 0));
  for (std::size_t i = 0; i < n; ++i) {
    const double v = Value(s.data, i);
    const double w = most > 0 && std::isfinite(v) ? (area.w - nameW) * std::abs(v) / most : 0;
    const double yMid = area.y + (double(i) + 0.5) * rowH;
    c.body += Rect(centre - w / 2, area.y + double(i) * rowH + rowH * 0.1, w, rowH * 0.8, fill);
    c.Label(area.x + nameW - 8, yMid, FitText(Name(s.data, i), c.fontPx, nameW), "end", c.fontPx);
    const std::string text = std::isfinite(v) ? FormatValue(v, s.data.format) : "";
    const bool inside = TextWidth(text, c.fontPx) + 6 < w;
    c.Label(inside ? centre : centre + w / 2 + 4, yMid, text, inside ? "middle" : "start", c.fontPx,
            inside ? 0xFFFFFF : 0x404040);
  }
}

// Columns of a histogram (the values in bins), of sums by category, or of
// the points as they are; a pareto line adds the running share.
void DrawColumns(ChartCanvas& c, const ExSeries& s, bool pareto, Box area) {
  std::vector<std::string> names;
  std::vector<double> heights;
  if (s.binned) {
    std::vector<double> v;
    for (double x : s.data.values)
      if (std::isfinite(x)) v.push_back(x);
    if (!v.empty()) {
      const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
      const double span = *hi - *lo, count = double(v.size());
      double width = s.binSize;
      if (!(width > 0) && s.binCount > 0) width = span / s.binCount;
      if (!(width > 0)) {
        // Scott's rule, as automatic bins are made
        double mean = 0, var = 0;
        for (double x : v) mean += x / count;
        for (double x : v) var += (x - mean) * (x - mean) / count;
        width = 3.5 * std::sqrt(var) / std::cbrt(count);
      }
      // a hostile bin size or span still gives between one and kMaxBins bins
      const double wanted = width > 0 && span > 0 ? std::ceil(span / width) : 1;
      const std::size_t bins =
          std::isfinite(wanted) ? std::size_t(std::clamp(wanted, 1.0, double(kMaxBins))) : 1;
      if (!(width > 0) || !(span > 0) || !std::isfinite(span / width)) width = std::max(span, 1.0);
      if (!std::isfinite(width)) width = 1;
      heights.assign(bins, 0);
      for (double x : v) {
        const double at = std::clamp((x - *lo) / width, 0.0, double(bins));
        const double b = s.closedLeft ? std::floor(at) : std::max(std::ceil(at) - 1, 0.0);
        heights[std::min(std::size_t(std::isfinite(b) ? b : 0), bins - 1)] += 1;
      }
      for (std::size_t b = 0; b < bins; ++b) {
        const std::string a = FormatValue(*lo + width * double(b), "General"),
                          e = FormatValue(*lo + width * double(b + 1), "General");
        const bool first = b == 0, last = b + 1 == bins;
        names.push_back((s.closedLeft || first ? "[" : "(") + a + ", " + e +
                        (!s.closedLeft || last ? "]" : ")"));
      }
    }
  } else {
    for (std::size_t i = 0; i < s.data.values.size(); ++i) {
      const std::string name = Name(s.data, i);
      const double v = std::isfinite(Value(s.data, i)) ? Value(s.data, i) : 0;
      auto same = std::find(names.begin(), names.end(), name);
      if (s.aggregate && same != names.end()) {
        heights[std::size_t(same - names.begin())] += v;
      } else {
        names.push_back(name);
        heights.push_back(v);
      }
    }
  }
  if (pareto) {
    std::vector<std::size_t> order(heights.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return heights[a] > heights[b]; });
    std::vector<std::string> n2;
    std::vector<double> h2;
    for (std::size_t i : order) n2.push_back(names[i]), h2.push_back(heights[i]);
    names.swap(n2);
    heights.swap(h2);
  }
  Range r;
  r.Add(0);
  double sum = 0;
  for (double h : heights) r.Add(h), sum += std::abs(h);
  const Scale scale = NiceScale(r.lo, r.hi, ChartAxis{});
  const Box plot = Axes(c, area, scale, s.binned ? "General" : s.data.format, names, pareto);
  const double catW = plot.w / double(std::max<std::size_t>(heights.size(), 1));
  const double barW = s.binned ? catW * 0.96 : catW / 1.5;
  const std::string fill = c.Paint(s.fill, SeriesColor(c.palette, 0));
  auto y = [&](double v) { return plot.y + plot.h - scale.At(v, plot.h); };
  for (std::size_t i = 0; i < heights.size(); ++i) {
    const double top = std::min(y(heights[i]), y(0)), bottom = std::max(y(heights[i]), y(0));
    c.body += Rect(plot.x + double(i) * catW + (catW - barW) / 2, top, barW, bottom - top, fill);
  }
  if (!pareto || sum <= 0) return;
  std::string d;
  double running = 0;
  const Color line = SeriesColor(c.palette, 1);
  for (std::size_t i = 0; i < heights.size(); ++i) {
    running += std::abs(heights[i]);
    d += (i ? " L" : "M") + Num(plot.x + (double(i) + 0.5) * catW) + "," +
         Num(plot.y + plot.h * (1 - running / sum));
  }
  c.body += "<path d=\"" + d + "\" fill=\"none\"" + StrokeAttrs(line, 2.25) + "/>\n";
  for (int p = 0; p <= 4; ++p)
    c.Label(plot.x + plot.w + 5, plot.y + plot.h * (1 - p / 4.0), std::to_string(p * 25) + "%",
            "start", c.fontPx);
}

// The p-quantile of sorted values: exclusive (n + 1) or inclusive (n - 1)
// positions, interpolated.
double Quantile(const std::vector<double>& v, double p, bool exclusive) {
  const double n = double(v.size());
  double pos = exclusive ? p * (n + 1) - 1 : p * (n - 1);
  pos = std::clamp(pos, 0.0, n - 1);
  const std::size_t i = std::size_t(std::floor(pos));
  const double frac = pos - double(i);
  return i + 1 < v.size() ? v[i] + frac * (v[i + 1] - v[i]) : v[i];
}

void DrawBoxes(ChartCanvas& c, const std::vector<const ExSeries*>& series, Box area) {
  std::vector<std::string> names;
  for (const ExSeries* s : series)
    for (std::size_t i = 0; i < s->data.values.size(); ++i) {
      const std::string name = s->data.levels.empty() ? std::string() : Name(s->data, i);
      if (std::find(names.begin(), names.end(), name) == names.end() && names.size() < kMaxBins)
        names.push_back(name);
    }
  if (names.empty()) return;
  Range r;
  for (const ExSeries* s : series)
    for (double v : s->data.values) r.Add(v);
  if (!(r.lo <= r.hi)) return;
  const Scale scale = NiceScale(r.lo, r.hi, ChartAxis{});
  const Box plot = Axes(c, area, scale, series.front()->data.format, names);
  auto y = [&](double v) { return plot.y + plot.h - scale.At(v, plot.h); };
  const double catW = plot.w / double(names.size());
  const double boxW = catW / 1.5 / double(series.size());
  const Color ink{0x404040, 1};
  for (std::size_t k = 0; k < names.size(); ++k)
    for (std::size_t si = 0; si < series.size(); ++si) {
      const ExSeries& s = *series[si];
      std::vector<double> v;
      for (std::size_t i = 0; i < s.data.values.size(); ++i)
        if (std::isfinite(s.data.values[i]) &&
            (s.data.levels.empty() ? std::string() : Name(s.data, i)) == names[k])
          v.push_back(s.data.values[i]);
      if (v.empty()) continue;
      std::sort(v.begin(), v.end());
      const double q1 = Quantile(v, 0.25, s.exclusiveQuartiles),
                   q3 = Quantile(v, 0.75, s.exclusiveQuartiles), median = Quantile(v, 0.5, true);
      const double reach = 1.5 * (q3 - q1);
      double low = q3, high = q1, mean = 0;
      for (double x : v) {
        if (x >= q1 - reach) low = std::min(low, x);
        if (x <= q3 + reach) high = std::max(high, x);
        mean += x / double(v.size());
      }
      const double x0 =
          plot.x + double(k) * catW + (catW - boxW * double(series.size())) / 2 + boxW * double(si);
      const double mid = x0 + boxW / 2;
      const Color fill = s.fill.color.value_or(SeriesColor(c.palette, int(si)));
      c.body += Line(mid, y(high), mid, y(q3), ink) + Line(mid, y(q1), mid, y(low), ink);
      c.body += Line(mid - boxW / 4, y(high), mid + boxW / 4, y(high), ink) +
                Line(mid - boxW / 4, y(low), mid + boxW / 4, y(low), ink);
      c.body += "<rect x=\"" + Num(x0 + boxW * 0.1) + "\" y=\"" + Num(y(q3)) + "\" width=\"" +
                Num(boxW * 0.8) + "\" height=\"" + Num(std::max(y(q1) - y(q3), 1.0)) + "\"" +
                c.Paint(s.fill, fill) + StrokeAttrs(ink, 1) + "/>\n";
      c.body += Line(x0 + boxW * 0.1, y(median), x0 + boxW * 0.9, y(median), ink, 1.5);
      const double m = std::min(boxW / 8, 4.0);
      c.body += Line(mid - m, y(mean) - m, mid + m, y(mean) + m, ink) +
                Line(mid - m, y(mean) + m, mid + m, y(mean) - m, ink);
      for (double x : v)
        if (x < low || x > high)
          c.body += "<circle cx=\"" + Num(mid) + "\" cy=\"" + Num(y(x)) +
                    "\" r=\"2.5\" fill=\"none\"" + StrokeAttrs(fill, 1) + "/>\n";
    }
}

// Waterfall's three keys, the series of a box chart, or a tree chart's
// top-level branches.
std::vector<LegendEntry> Legend(const std::vector<const ExSeries*>& shown, const Palette& palette) {
  std::vector<LegendEntry> out;
  const ExSeries& first = *shown.front();
  if (first.layout == "waterfall") {
    out = {{"Increase", SeriesColor(palette, 0)},
           {"Decrease", SeriesColor(palette, 1)},
           {"Total", SeriesColor(palette, 2)}};
  } else if (first.layout == "treemap" || first.layout == "sunburst") {
    if (first.data.levels.size() < 2) return out;
    for (const std::string& name : first.data.levels.back())
      if (std::none_of(out.begin(), out.end(),
                       [&](const LegendEntry& e) { return e.text == name; }) &&
          out.size() < 32)
        out.push_back({name, SeriesColor(palette, int(out.size()))});
  } else {
    for (std::size_t i = 0; i < shown.size(); ++i)
      out.push_back({shown[i]->name.empty() ? "Series" + std::to_string(i + 1) : shown[i]->name,
                     shown[i]->fill.color.value_or(SeriesColor(palette, int(i))), false,
                     &shown[i]->fill});
  }
  return out;
}

}  // namespace

bool IsChartEx(const pugi::xml_node& space) {
  return LocalName(space) == "chartSpace" && Child(space, "chartData");
}

Drawing ChartExSvg(const pugi::xml_node& space, const Palette& palette, double w, double h) {
  Drawing out;
  const pugi::xml_node chart = Child(space, "chart");
  if (const pugi::xml_node title = Child(chart, "title")) {
    out.title = TextOf(Child(title, "tx"), "v");
    if (out.title.empty()) out.title = TextOf(Child(title, "tx"), "t");
  }
  const std::vector<ExSeries> all = ReadSeries(space, palette);
  std::vector<const ExSeries*> shown;
  bool pareto = false;
  for (const ExSeries& s : all) {
    if (s.layout == "paretoLine")
      pareto = true;
    else if (!s.hidden)
      shown.push_back(&s);
  }
  const std::string layout = shown.empty() ? std::string() : shown.front()->layout;
  static constexpr std::string_view kDrawn[] = {"waterfall",  "funnel",  "clusteredColumn",
                                                "boxWhisker", "treemap", "sunburst"};
  if (std::find(std::begin(kDrawn), std::end(kDrawn), layout) == std::end(kDrawn)) {
    const std::string kind = layout.empty() ? "empty chartEx" : layout;
    out.note = "chart kind " + kind + " is not drawn";
    out.svg = Placeholder(out.title.empty() ? "Chart" : out.title, kind, w, h, palette);
    return out;
  }
  ChartCanvas c{palette, FontFamily(palette), std::min(13.33, std::max(h / 14, 6.0)), {}};
  c.body += "<rect x=\"0.5\" y=\"0.5\" width=\"" + Num(w - 1) + "\" height=\"" + Num(h - 1) +
            "\" fill=\"#FFFFFF\"" + StrokeAttrs(Color{0xD9D9D9, 1}, 1) + "/>\n";
  const double pad = std::min(10.0, std::min(w, h) / 20);
  Box area{pad, pad, w - 2 * pad, h - 2 * pad};
  if (!out.title.empty()) {
    const double px = c.fontPx * 1.4;
    const std::vector<std::string> lines = WrapText(out.title, px, area.w, 3);
    for (std::size_t i = 0; i < lines.size(); ++i)
      c.Label(w / 2, area.y + (double(i) + 0.5) * px * 1.25, lines[i], "middle", px, 0x595959);
    const double used = double(lines.size()) * px * 1.25 + pad / 2;
    area.y += used;
    area.h -= used;
  }
  if (const pugi::xml_node legend = Child(chart, "legend")) {
    std::string pos = Attr(legend, "pos").value();
    area = PlaceLegend(c, Legend(shown, palette), pos.empty() ? "t" : pos, area);
  }
  area.w = std::max(area.w, 1.0);
  area.h = std::max(area.h, 1.0);
  if (layout == "waterfall") DrawWaterfall(c, *shown.front(), area);
  if (layout == "funnel") DrawFunnel(c, *shown.front(), area);
  if (layout == "clusteredColumn") DrawColumns(c, *shown.front(), pareto, area);
  if (layout == "boxWhisker") DrawBoxes(c, shown, area);
  if (layout == "treemap") DrawTreemap(c, *shown.front(), area);
  if (layout == "sunburst") DrawSunburst(c, *shown.front(), area);
  out.svg = SvgOpen(w, h) + c.body + std::string(kSvgClose);
  return out;
}

}  // namespace qp::draw
