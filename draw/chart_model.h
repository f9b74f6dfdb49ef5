// What a chart part says, read into plain values: the chart groups with
// their series and cached numbers, the axes, title and legend.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/paint.h"

namespace qp::draw {

// Hostile parts cannot make the drawing unbounded: counts are cut here.
inline constexpr std::size_t kMaxSeries = 64;
inline constexpr std::size_t kMaxPoints = 4096;

struct DataLabels {
  bool value = false, percent = false, category = false, series = false;
  std::string position;  // c:dLblPos: outEnd, inEnd, ctr, bestFit, t, b, ...
  bool Any() const { return value || percent || category || series; }
};

struct ChartSeries {
  std::string name;
  std::vector<std::string> categories;
  std::vector<double> values;   // NaN where the cache has no point
  std::vector<double> xValues;  // scatter and bubble
  std::vector<double> sizes;    // bubble
  std::string format;           // the value cache's format code
  Fill fill;
  Line line;
  std::vector<std::pair<std::size_t, Fill>> pointFills;  // c:dPt by index
  DataLabels labels;
  bool markers = true;
  bool explicitMarker = false;  // c:marker names a symbol other than none
};

enum class ChartKind {
  kBar,
  kLine,
  kPie,
  kDoughnut,
  kArea,
  kScatter,
  kBubble,
  kStock,
  kRadar,
  kSurface
};

struct ChartGroup {
  ChartKind kind = ChartKind::kBar;
  bool horizontal = false;            // bar rather than column
  std::string grouping = "standard";  // clustered, stacked, percentStacked, standard
  bool varyColors = false;
  double gapWidth = 150, overlap = 0;  // percent of a bar's width
  double holeSize = 50;                // doughnut, percent of the radius
  double firstSliceAngle = 0;          // degrees clockwise from twelve o'clock
  bool scatterLines = true;            // scatterStyle other than marker
  bool secondary = false;              // plotted on the secondary value axis
  bool hiLowLines = false;             // stock: a line from each category's low to its high
  bool upDownBars = false;             // stock: a bar from the first series to the last
  Fill upFill, downFill;               // stock: the up and down bars' fills
  std::string radarStyle = "marker";   // radar: standard, marker or filled
  std::vector<std::string> axisIds;
  std::vector<ChartSeries> series;

  bool Stacked() const { return grouping == "stacked" || grouping == "percentStacked"; }
  bool Percent() const { return grouping == "percentStacked"; }
};

struct ChartAxis {
  bool present = false, deleted = false, gridlines = false;
  std::optional<double> min, max, majorUnit;
  std::string format;  // numFmt formatCode; empty when the source's is used
  std::string title;
  bool reversed = false;          // orientation maxMin
  bool betweenCategories = true;  // crossBetween between, not midCat
};

struct ChartModel {
  bool parsed = false;
  std::optional<std::string> title;  // shown title; unset when none is shown
  std::vector<ChartGroup> groups;
  std::vector<std::string> undrawn;  // element names of kinds not drawn
  ChartAxis categoryAxis, valueAxis, secondaryAxis;
  std::string legendPosition;  // r, l, t, b, tr; empty when no legend
  double fontPx = 13.33;       // the chart's base text size
  Fill areaFill;
  Line areaLine;
  Fill plotFill;  // the plot area's, behind the gridlines
  Line plotLine;
};

ChartModel ReadChart(std::string_view chartXml, const Palette& palette);

// A value as the format code shows it: General, 0, 0.0, #,##0, 0%, ...
std::string FormatValue(double value, std::string_view formatCode);

}  // namespace qp::draw
