#include "draw/chart_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "draw/xml_names.h"
#include "text/number.h"

namespace qp::draw {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The text of a rich text body or a cached string reference (c:tx).
std::string ReadTx(pugi::xml_node tx) {
  if (const pugi::xml_node rich = Child(tx, "rich")) {
    std::string out;
    for (pugi::xml_node p : rich.children()) {
      if (LocalName(p) != "p") continue;
      if (!out.empty()) out += '\n';
      out += TextOf(p, "t");
    }
    return out;
  }
  if (const pugi::xml_node cache = Path(tx, {"strRef", "strCache"})) {
    return TextOf(cache, "v");
  }
  if (const pugi::xml_node v = Child(tx, "v")) return v.text().get();
  return {};
}

// Points of a cache (numCache, strCache, numLit, strLit) by their idx.
template <typename T, typename Convert>
std::vector<T> ReadPoints(pugi::xml_node cache, T missing, Convert convert) {
  std::vector<T> out;
  if (!cache) return out;
  const double count = AttrNumber(Child(cache, "ptCount"), "val", 0);
  out.assign(static_cast<std::size_t>(std::clamp(count, 0.0, double(kMaxPoints))), missing);
  std::size_t seen = 0;
  for (pugi::xml_node pt : cache.children()) {
    if (LocalName(pt) != "pt") continue;
    if (++seen > kMaxPoints) break;
    const double idx = AttrNumber(pt, "idx", -1);
    if (idx < 0 || idx >= double(kMaxPoints)) continue;
    const auto i = static_cast<std::size_t>(idx);
    if (i >= out.size()) out.resize(i + 1, missing);
    out[i] = convert(Child(pt, "v").text().get());
  }
  return out;
}

pugi::xml_node CacheOf(pugi::xml_node data) {
  for (pugi::xml_node ref : data.children()) {
    const std::string_view n = LocalName(ref);
    if (n == "numLit" || n == "strLit") return ref;
    if (n == "numRef") return Child(ref, "numCache");
    if (n == "strRef") return Child(ref, "strCache");
    if (n == "multiLvlStrRef") {
      // the innermost level names each point
      return Path(ref, {"multiLvlStrCache", "lvl"});
    }
  }
  return {};
}

std::vector<double> ReadNumbers(pugi::xml_node data) {
  return ReadPoints<double>(CacheOf(data), kNaN, [](const char* v) { return ToNumber(v, kNaN); });
}

std::vector<std::string> ReadStrings(pugi::xml_node data) {
  const pugi::xml_node cache = CacheOf(data);
  std::vector<std::string> out =
      ReadPoints<std::string>(cache, {}, [](const char* v) { return std::string(v); });
  // categories cached as numbers are shown in their format
  const std::string_view format = Child(cache, "formatCode").text().get();
  if (LocalName(cache) == "numCache" || LocalName(cache) == "numLit")
    for (std::string& s : out)
      if (!s.empty()) s = FormatValue(ToNumber(s, 0), format);
  return out;
}

DataLabels ReadLabels(pugi::xml_node dLbls, DataLabels inherited) {
  if (!dLbls) return inherited;
  if (ChildFlag(dLbls, "delete", false)) return {};
  DataLabels out;
  out.value = ChildFlag(dLbls, "showVal", inherited.value);
  out.percent = ChildFlag(dLbls, "showPercent", inherited.percent);
  out.category = ChildFlag(dLbls, "showCatName", inherited.category);
  out.series = ChildFlag(dLbls, "showSerName", inherited.series);
  out.position = ChildVal(dLbls, "dLblPos");
  if (out.position.empty()) out.position = inherited.position;
  return out;
}

ChartSeries ReadSeries(pugi::xml_node ser, const Palette& palette, DataLabels groupLabels) {
  ChartSeries s;
  s.name = ReadTx(Child(ser, "tx"));
  const pugi::xml_node spPr = Child(ser, "spPr");
  s.fill = ReadFill(spPr, palette);
  s.line = ReadLine(spPr, palette);
  if (pugi::xml_node val = Child(ser, "val")) {
    s.values = ReadNumbers(val);
    s.format = Path(CacheOf(val), {"formatCode"}).text().get();
    s.categories = ReadStrings(Child(ser, "cat"));
  } else {
    s.xValues = ReadNumbers(Child(ser, "xVal"));
    s.values = ReadNumbers(Child(ser, "yVal"));
    s.sizes = ReadNumbers(Child(ser, "bubbleSize"));
    s.format = Path(CacheOf(Child(ser, "yVal")), {"formatCode"}).text().get();
    // text x values are category positions 1, 2, 3, ...
    if (s.xValues.empty() ||
        std::all_of(s.xValues.begin(), s.xValues.end(), [](double v) { return std::isnan(v); })) {
      s.categories = ReadStrings(Child(ser, "xVal"));
      s.xValues.clear();
      for (std::size_t i = 0; i < s.values.size(); ++i) s.xValues.push_back(double(i + 1));
    }
  }
  std::size_t points = 0;
  for (pugi::xml_node dPt : ser.children()) {
    if (LocalName(dPt) != "dPt" || ++points > kMaxPoints) continue;
    const double idx = AttrNumber(Child(dPt, "idx"), "val", -1);
    if (idx < 0 || idx >= double(kMaxPoints)) continue;
    s.pointFills.emplace_back(static_cast<std::size_t>(idx), ReadFill(Child(dPt, "spPr"), palette));
  }
  s.labels = ReadLabels(Child(ser, "dLbls"), groupLabels);
  s.markers = ChildVal(Child(ser, "marker"), "symbol") != "none";
  return s;
}

std::optional<ChartKind> KindOf(std::string_view name) {
  if (name == "barChart" || name == "bar3DChart") return ChartKind::kBar;
  if (name == "lineChart" || name == "line3DChart") return ChartKind::kLine;
  if (name == "pieChart" || name == "pie3DChart") return ChartKind::kPie;
  if (name == "doughnutChart") return ChartKind::kDoughnut;
  if (name == "areaChart" || name == "area3DChart") return ChartKind::kArea;
  if (name == "scatterChart") return ChartKind::kScatter;
  if (name == "bubbleChart") return ChartKind::kBubble;
  return std::nullopt;
}

void ReadAxis(pugi::xml_node ax, ChartAxis& axis) {
  if (axis.present) return;  // the first of each role; secondary axes share it
  axis.present = true;
  axis.deleted = ChildFlag(ax, "delete", false);
  axis.gridlines = static_cast<bool>(Child(ax, "majorGridlines"));
  const pugi::xml_node scaling = Child(ax, "scaling");
  if (Child(scaling, "min")) axis.min = AttrNumber(Child(scaling, "min"), "val", 0);
  if (Child(scaling, "max")) axis.max = AttrNumber(Child(scaling, "max"), "val", 0);
  if (Child(ax, "majorUnit")) {
    const double unit = AttrNumber(Child(ax, "majorUnit"), "val", 0);
    if (unit > 0) axis.majorUnit = unit;
  }
  axis.reversed = ChildVal(scaling, "orientation") == "maxMin";
  const pugi::xml_node numFmt = Child(ax, "numFmt");
  if (numFmt && std::string_view(Attr(numFmt, "sourceLinked").value()) != "1")
    axis.format = Attr(numFmt, "formatCode").value();
  if (const pugi::xml_node t = Child(ax, "title")) axis.title = ReadTx(Child(t, "tx"));
  axis.betweenCategories = ChildVal(ax, "crossBetween") != "midCat";
}

// Scatter charts have two value axes, the one at the bottom being x. Other
// charts may plot some groups on a second value axis.
void AssignValueAxes(ChartModel& m, const std::vector<pugi::xml_node>& axes) {
  const bool xy = !m.groups.empty() && (m.groups.front().kind == ChartKind::kScatter ||
                                        m.groups.front().kind == ChartKind::kBubble);
  const std::string primary = !xy && !m.groups.empty() && m.groups.front().axisIds.size() >= 2
                                  ? m.groups.front().axisIds[1]
                                  : "";
  for (pugi::xml_node ax : axes) {
    const std::string_view pos = ChildVal(ax, "axPos");
    if (xy)
      ReadAxis(ax, pos == "b" || pos == "t" ? m.categoryAxis : m.valueAxis);
    else
      ReadAxis(ax,
               primary.empty() || ChildVal(ax, "axId") == primary ? m.valueAxis : m.secondaryAxis);
  }
  if (!m.secondaryAxis.present) return;
  for (ChartGroup& g : m.groups)
    g.secondary = g.axisIds.size() >= 2 && g.axisIds[1] != primary && g.kind != ChartKind::kPie &&
                  g.kind != ChartKind::kDoughnut;
}

}  // namespace

ChartModel ReadChart(std::string_view chartXml, const Palette& palette) {
  ChartModel m;
  pugi::xml_document doc;
  if (!ParseXml(doc, chartXml)) return m;
  const pugi::xml_node space = doc.document_element();
  const pugi::xml_node chart = Child(space, "chart");
  if (LocalName(space) != "chartSpace" || !chart) return m;
  m.parsed = true;

  const pugi::xml_node spaceSpPr = Child(space, "spPr");
  m.areaFill = ReadFill(spaceSpPr, palette);
  m.areaLine = ReadLine(spaceSpPr, palette);
  const double baseSize = AttrNumber(Path(space, {"txPr", "p", "pPr", "defRPr"}), "sz", 1000);
  m.fontPx = std::clamp(baseSize / 100.0 * 96 / 72, 5.0, 40.0);

  const pugi::xml_node plot = Child(chart, "plotArea");
  std::size_t seriesCount = 0;
  std::vector<pugi::xml_node> valueAxes;
  for (pugi::xml_node g : plot.children()) {
    const std::string_view name = LocalName(g);
    if (name == "catAx" || name == "dateAx") {
      ReadAxis(g, m.categoryAxis);
      continue;
    }
    if (name == "valAx") {
      valueAxes.push_back(g);
      continue;
    }
    if (name == "layout" || name == "spPr" || name == "dTable" || name == "extLst" ||
        name == "serAx")
      continue;
    const std::optional<ChartKind> kind = KindOf(name);
    if (!kind) {
      m.undrawn.emplace_back(name);
      continue;
    }
    ChartGroup group;
    group.kind = *kind;
    group.horizontal = ChildVal(g, "barDir") == "bar";
    if (const std::string_view v = ChildVal(g, "grouping"); !v.empty()) group.grouping = v;
    if (group.kind == ChartKind::kBar && group.grouping == "standard") group.grouping = "clustered";
    group.varyColors = ChildFlag(g, "varyColors", false);
    group.gapWidth = std::clamp(AttrNumber(Child(g, "gapWidth"), "val", 150), 0.0, 500.0);
    group.overlap = std::clamp(AttrNumber(Child(g, "overlap"), "val", group.Stacked() ? 100 : 0),
                               -100.0, 100.0);
    group.holeSize = std::clamp(AttrNumber(Child(g, "holeSize"), "val", 50), 10.0, 90.0);
    group.firstSliceAngle = std::clamp(AttrNumber(Child(g, "firstSliceAng"), "val", 0), 0.0, 360.0);
    group.scatterLines = ChildVal(g, "scatterStyle") != "marker";
    for (pugi::xml_node id : g.children())
      if (LocalName(id) == "axId" && group.axisIds.size() < 3)
        group.axisIds.emplace_back(Attr(id, "val").value());
    const DataLabels groupLabels = ReadLabels(Child(g, "dLbls"), {});
    for (pugi::xml_node ser : g.children()) {
      if (LocalName(ser) != "ser" || ++seriesCount > kMaxSeries) continue;
      group.series.push_back(ReadSeries(ser, palette, groupLabels));
    }
    m.groups.push_back(std::move(group));
  }

  AssignValueAxes(m, valueAxes);

  // a title element without text shows the only series' name, as Office does
  if (const pugi::xml_node t = Child(chart, "title")) {
    std::string text = ReadTx(Child(t, "tx"));
    if (text.empty() && seriesCount == 1 && !m.groups.empty() && !m.groups[0].series.empty())
      text = m.groups[0].series[0].name;
    if (text.empty()) text = "Chart Title";
    m.title = text;
  } else if (!ChildFlag(chart, "autoTitleDeleted", true) && seriesCount == 1 && !m.groups.empty() &&
             (m.groups[0].kind == ChartKind::kPie || m.groups[0].kind == ChartKind::kDoughnut)) {
    m.title = m.groups[0].series[0].name;
  }
  if (const pugi::xml_node legend = Child(chart, "legend")) {
    m.legendPosition = ChildVal(legend, "legendPos");
    if (m.legendPosition.empty()) m.legendPosition = "r";
  }
  return m;
}

std::string FormatValue(double value, std::string_view format) {
  if (!std::isfinite(value)) return {};
  // the positive section of a format with sections
  format = format.substr(0, format.find(';'));
  const bool percent = format.find('%') != std::string_view::npos;
  if (percent) value *= 100;
  const auto point = format.find('.');
  int decimals = -1;
  if (point != std::string_view::npos) {
    decimals = 0;
    for (std::size_t i = point + 1; i < format.size() && (format[i] == '0' || format[i] == '#');
         ++i)
      ++decimals;
  } else if (format.find('0') != std::string_view::npos ||
             format.find('#') != std::string_view::npos) {
    decimals = 0;
  }
  std::string out;
  if (decimals < 0) {
    // General: up to 10 significant digits, no exponent below 1e11
    const double rounded = std::abs(value) >= 1e11 ? value : std::round(value * 1e9) / 1e9;
    const Text t = FormatNumber(rounded);
    for (char16_t ch : t) out += static_cast<char>(ch);  // digits, sign and point: ASCII
  } else {
    out = FormatFixedC(value, std::min(decimals, 10));
  }
  if (format.find(',') != std::string_view::npos &&
      (point == std::string_view::npos || format.find(',') < point)) {
    const std::size_t start = out.find_first_of("0123456789");
    std::size_t end = out.find('.');
    if (end == std::string::npos) end = out.size();
    for (std::size_t i = end; i > start + 3; i -= 3) out.insert(i - 3, ",");
  }
  if (out == "-0") out = "0";
  if (percent) out += '%';
  return out;
}

}  // namespace qp::draw
