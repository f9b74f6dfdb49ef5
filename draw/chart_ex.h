// Office 2016's chart kinds (cx:chartSpace in word/charts/chartExN.xml):
// waterfall, histogram and pareto, box and whisker, funnel, treemap and
// sunburst, drawn from the part's cached data as the other charts are. A
// region map stands in as a placeholder with its title.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "draw/chart_frame.h"
#include "draw/drawing.h"

namespace qp::draw {

// One cx:data set: category levels (the leaves first, then their parents)
// and the numbers, all by point index.
struct ExData {
  std::vector<std::vector<std::string>> levels;
  std::vector<double> values;  // NaN where the cache has no point
  std::string format = "General";
};

struct ExSeries {
  std::string layout;  // layoutId: waterfall, clusteredColumn, paretoLine, ...
  std::string name;
  ExData data;
  std::vector<std::size_t> subtotals;  // waterfall: points that are totals
  bool aggregate = false;              // clusteredColumn: sum by category
  bool binned = false;                 // clusteredColumn: a histogram
  double binSize = 0;                  // 0: automatic
  int binCount = 0;                    // 0: automatic
  bool closedLeft = false;             // bins [a, b) instead of (a, b]
  bool exclusiveQuartiles = true;      // box and whisker
  bool hidden = false;
  Fill fill;  // cx:spPr's; a gradient paints each bar or box
};

// True when the part is a chartEx part (a cx:chartSpace with cx:chartData).
bool IsChartEx(const pugi::xml_node& space);
Drawing ChartExSvg(const pugi::xml_node& space, const Palette& palette, double w, double h);

// The tree charts (chart_ex_tree.cpp): leaves sized by their values,
// grouped under their parents, coloured by their top-level branch.
void DrawTreemap(ChartCanvas& c, const ExSeries& s, Box plot);
void DrawSunburst(ChartCanvas& c, const ExSeries& s, Box plot);

}  // namespace qp::draw
