// Shared pieces of a chart drawing: the plot box, value scales and the SVG
// buffer the plots write into.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "draw/chart_model.h"

namespace qp::draw {

struct Box {
  double x = 0, y = 0, w = 0, h = 0;
};

// A linear value axis: round ticks from min to max.
struct Scale {
  double min = 0, max = 1, step = 0.2;
  // The position of v along a length, 0 at min; clamped far outside.
  double At(double v, double length) const;
  int Ticks() const;  // number of steps between min and max
};

// Round ticks covering lo..hi, respecting the axis's fixed bounds and unit.
// Zero is included unless the values sit far from it, as Office does.
Scale NiceScale(double lo, double hi, const ChartAxis& axis);

struct ChartCanvas {
  const Palette& palette;
  std::string font;  // font-family attribute value
  double fontPx = 13.33;
  std::string body;
  int gradients = 0;
  // The paint of each gradient fill already written, so that the bars of
  // a series share one gradient element.
  std::map<const Gradient*, std::string> gradientPaints = {};

  // Text at (x, y) with anchor start/middle/end; vertical centre at y.
  void Label(double x, double y, std::string_view text, std::string_view anchor, double px,
             std::uint32_t rgb = 0x595959, double rotate = 0, bool bold = false);
  // The fill attributes of `fill`: its gradient over the box of what it
  // fills, else its colour, else `fallback`.
  std::string Paint(const Fill& fill, const Color& fallback);
};

// One key of a legend: a square of colour, or a short line. A square
// painted as its series is (a gradient) has the series' fill.
struct LegendEntry {
  std::string text;
  Color color;
  bool line = false;
  const Fill* fill = nullptr;
};

// Draws the legend at its side of `area` (r, l, t, b, tr) and returns what
// is left for the plot.
Box PlaceLegend(ChartCanvas& c, const std::vector<LegendEntry>& entries, std::string_view pos,
                Box area);
// A value axis's gridlines and labels along `plot`'s left (or right, or
// bottom when horizontal) side.
void DrawValueAxis(ChartCanvas& c, const ChartAxis& axis, const Scale& s, Box plot, bool horizontal,
                   const std::string& format, bool right = false);
// The category names under (or beside) `plot`, thinned where they crowd.
void DrawCategoryAxis(ChartCanvas& c, const ChartAxis& axis, const std::vector<std::string>& names,
                      std::size_t categories, Box plot, bool horizontal, bool between);
// Room for the axis titles taken from `area`, the titles drawn.
Box PlaceAxisTitles(ChartCanvas& c, Box area, const std::string& left, const std::string& bottom);
// The picture that stands in for a chart not drawn: its title and why.
std::string Placeholder(const std::string& title, std::string_view what, double w, double h,
                        const Palette& palette);

// The colour a series or, when colours vary by point, a point is filled with.
Color SeriesFillColor(const ChartSeries& s, int seriesIndex, const Palette& palette);
Color PointFillColor(const ChartSeries& s, std::size_t point, int seriesIndex, bool vary,
                     const Palette& palette);
// The same as fill attributes, with the gradients of the series and its
// points drawn as such.
std::string PointPaint(ChartCanvas& c, const ChartSeries& s, std::size_t point, int seriesIndex,
                       bool vary);
// The colour and width a line series is stroked with.
Color SeriesLineColor(const ChartSeries& s, int seriesIndex, const Palette& palette);
double SeriesLinePx(const ChartSeries& s, double fallbackPx);

// The plots: each draws its group into `plot` on the shared scales.
// `firstSeries` is the palette index of the group's first series.
void DrawBars(ChartCanvas& c, const ChartGroup& g, Box plot, const Scale& values,
              std::size_t categories, int firstSeries);
void DrawLinesOrAreas(ChartCanvas& c, const ChartGroup& g, Box plot, const Scale& values,
                      std::size_t categories, bool betweenCategories, int firstSeries);
void DrawScatter(ChartCanvas& c, const ChartGroup& g, Box plot, const Scale& x, const Scale& y,
                 int firstSeries);
void DrawPie(ChartCanvas& c, const ChartGroup& g, Box plot, int firstSeries);
// High-low lines, up-down bars and the close ticks of a stock chart.
void DrawStock(ChartCanvas& c, const ChartGroup& g, Box plot, const Scale& values,
               std::size_t categories, bool betweenCategories, int firstSeries);
// A radar (spider) chart of one group in `area`: spokes per category,
// rings at the value ticks, a polygon per series.
void DrawRadar(ChartCanvas& c, const ChartGroup& g, Box area, const ChartAxis& axis,
               const std::string& format, int firstSeries);
// A surface chart seen from above: categories across, series down, each
// cell coloured by the band its value falls in.
Scale SurfaceBands(const ChartGroup& g, const ChartAxis& axis);
Color BandColor(const Palette& palette, int band);
void DrawSurface(ChartCanvas& c, const ChartGroup& g, Box area, const ChartAxis& axis);

}  // namespace qp::draw
