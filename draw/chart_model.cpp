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
  const std::string_view symbol = ChildVal(Child(ser, "marker"), "symbol");
  s.markers = symbol != "none";
  s.explicitMarker = !symbol.empty() && symbol != "none";
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
  if (name == "stockChart") return ChartKind::kStock;
  if (name == "radarChart") return ChartKind::kRadar;
  if (name == "surfaceChart" || name == "surface3DChart") return ChartKind::kSurface;
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

// A date format shows day, month or year: letters outside quotes and brackets.
bool IsDateFormat(std::string_view format) {
  bool quoted = false, bracket = false;
  for (char ch : format) {
    if (ch == '"') quoted = !quoted;
    if (ch == '[') bracket = true;
    if (ch == ']') bracket = false;
    if (!quoted && !bracket &&
        (ch == 'y' || ch == 'd' || ch == 'Y' || ch == 'D' ||
         (ch == 'm' && format.find('h') == std::string_view::npos)))
      return true;
  }
  return false;
}

// A serial day number of the 1900 date system in a date format's tokens
// (yyyy, yy, mmmm, mmm, mm, m, dd, d); quoted text is kept, other codes dropped.
std::string FormatDate(double serial, std::string_view format) {
  // serial 60 is the 29 February 1900 that never was; 25569 is 1970-01-01
  const auto serialDay = static_cast<long long>(std::floor(std::clamp(serial, 1.0, 2958465.0)));
  const long long z = (serialDay >= 61 ? serialDay - 25569 : serialDay - 25568) + 719468;
  const long long era = z / 146097, doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const long long day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
  const long long year = yoe + era * 400 + (month <= 2);
  static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  std::string out;
  for (std::size_t i = 0; i < format.size();) {
    const char ch = static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
    std::size_t run = 1;
    while (i + run < format.size() &&
           std::tolower(static_cast<unsigned char>(format[i + run])) == ch)
      ++run;
    if (format[i] == '"') {
      const std::size_t end = format.find('"', i + 1);
      out.append(
          format.substr(i + 1, (end == std::string_view::npos ? format.size() : end) - i - 1));
      i = end == std::string_view::npos ? format.size() : end + 1;
      continue;
    }
    if (format[i] == '[') {
      const std::size_t end = format.find(']', i);
      i = end == std::string_view::npos ? format.size() : end + 1;
      continue;
    }
    auto two = [](long long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    if (ch == 'y')
      out += run > 2 ? std::to_string(year) : two(year % 100);
    else if (ch == 'm')
      out += run >= 4   ? kMonths[month - 1]
             : run == 3 ? std::string(kMonths[month - 1], 3)
             : run == 2 ? two(month)
                        : std::to_string(month);
    else if (ch == 'd')
      out += run >= 2 ? two(day) : std::to_string(day);
    else if (ch != '\\' && ch != '@' && ch != 'h' && ch != 's' && ch != 'e')
      out.append(format.substr(i, run));
    i += run;
  }
  return out;
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
  m.plotFill = ReadFill(Child(plot, "spPr"), palette);
  m.plotLine = ReadLine(Child(plot, "spPr"), palette);
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
    group.hiLowLines = static_cast<bool>(Child(g, "hiLowLines"));
    if (const pugi::xml_node bars = Child(g, "upDownBars")) {
      group.upDownBars = true;
      group.upFill = ReadFill(Child(Child(bars, "upBars"), "spPr"), palette);
      group.downFill = ReadFill(Child(Child(bars, "downBars"), "spPr"), palette);
    }
    if (const std::string_view style = ChildVal(g, "radarStyle"); !style.empty())
      group.radarStyle = style;
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
  if (IsDateFormat(format)) return FormatDate(value, format);
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
    // halves away from zero, as Office rounds
    const double scale = std::pow(10.0, std::min(decimals, 10));
    if (std::abs(value) * scale < 1e15) value = std::round(value * scale) / scale;
    out = FormatFixedC(value, std::min(decimals, 10));
  }
  if (format.find(',') != std::string_view::npos &&
      (point == std::string_view::npos || format.find(',') < point)) {
    const std::size_t start = out.find_first_of("0123456789");
    std::size_t end = out.find('.');
    if (end == std::string::npos) end = out.size();
    for (std::size_t i = end; i > start + 3; i -= 3) out.insert(i - 3, ",");
  }
  // a negative number that rounds to zero shows as zero
  if (!out.empty() && out.front() == '-' && out.find_first_of("123456789") == std::string::npos)
    out.erase(0, 1);
  if (percent) out += '%';
  return out;
}

}  // namespace qp::draw
