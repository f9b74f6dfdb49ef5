// Charts drawn from their cached values: bar geometry, stacking, pie angles,
// legends and titles, placeholders, and hostile parts.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "draw/chart.h"
#include "draw/chart_model.h"
#include "draw/raster.h"
#include "generate/word/zip_archive.h"
#include "pixels.h"
#include "svg_check.h"
#include "tests/corpus.h"

namespace qp::draw {
namespace {

using testing::All;
using testing::Filled;
using testing::Num;
using testing::ParseSvg;
using testing::PathNumbers;
using testing::Texts;

std::string Cache(const char* kind, const std::vector<std::string>& values) {
  std::string out =
      std::string("<c:") + kind + "><c:ptCount val=\"" + std::to_string(values.size()) + "\"/>";
  for (std::size_t i = 0; i < values.size(); ++i)
    out += "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>" + values[i] + "</c:v></c:pt>";
  return out + "</c:" + kind + ">";
}

std::string Series(const std::string& name, const std::vector<std::string>& cats,
                   const std::vector<std::string>& values, const std::string& extra = "") {
  return "<c:ser><c:tx><c:strRef><c:f>S!$B$1</c:f>" + Cache("strCache", {name}) +
         "</c:strRef></c:tx>" + extra + "<c:cat><c:strRef><c:f>S!$A$2</c:f>" +
         Cache("strCache", cats) + "</c:strRef></c:cat>" + "<c:val><c:numRef><c:f>S!$B$2</c:f>" +
         Cache("numCache", values) + "</c:numRef></c:val></c:ser>";
}

std::string Chart(const std::string& plot, const std::string& title = "") {
  const bool axes = plot.find("<c:valAx>") == std::string::npos;
  return "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
         "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><c:chart>" +
         (title.empty() ? std::string()
                        : "<c:title><c:tx><c:rich><a:p><a:r><a:t>" + title +
                              "</a:t></a:r></a:p></c:rich></c:tx></c:title>") +
         "<c:plotArea>" + plot +
         (axes ? "<c:catAx><c:axId val=\"1\"/></c:catAx><c:valAx><c:axId "
                 "val=\"2\"/><c:majorGridlines/></c:valAx>"
               : "") +
         "</c:plotArea><c:legend><c:legendPos val=\"b\"/></c:legend></c:chart></c:chartSpace>";
}

std::string Bars(const std::string& grouping, const std::string& series) {
  return "<c:barChart><c:barDir val=\"col\"/><c:grouping val=\"" + grouping + "\"/>" + series +
         "<c:gapWidth val=\"150\"/>" + (grouping == "clustered" ? "" : "<c:overlap val=\"100\"/>") +
         "</c:barChart>";
}

const std::vector<std::string> kCats = {"North", "South", "West"};

// The bars of one colour, without the legend's key drawn before them.
std::vector<pugi::xml_node> BarsOf(pugi::xml_node svg, const char* fill) {
  std::vector<pugi::xml_node> bars = Filled(svg, "rect", fill);
  EXPECT_EQ(bars.size(), 4u) << fill;
  if (!bars.empty()) bars.erase(bars.begin());
  return bars;
}

TEST(Chart, ClusteredColumnsStandSideBySideWithTheirLegend) {
  const Drawing d = ChartSvg(Chart(Bars("clustered", Series("Sales", kCats, {"4", "2", "3"}) +
                                                         Series("Costs", kCats, {"1", "2", "6"})),
                                   "Q1 &amp; Q2"),
                             {}, 480, 300);
  EXPECT_EQ(d.title, "Q1 & Q2");
  EXPECT_TRUE(d.note.empty());
  pugi::xml_document doc;
  const pugi::xml_node svg = ParseSvg(doc, d.svg);
  EXPECT_EQ(std::string(svg.attribute("width").value()), "480px");
  // Office's accent1 and accent2 when the theme gives none; one legend key each
  const auto sales = BarsOf(svg, "#4472C4"), costs = BarsOf(svg, "#ED7D31");
  ASSERT_EQ(sales.size(), 3u);
  ASSERT_EQ(costs.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    // the second series stands right of the first, sharing the baseline
    EXPECT_LT(Num(sales[i], "x") + Num(sales[i], "width"), Num(costs[i], "x") + 0.01);
    EXPECT_NEAR(Num(sales[i], "y") + Num(sales[i], "height"),
                Num(costs[i], "y") + Num(costs[i], "height"), 0.02);
  }
  EXPECT_NEAR(Num(sales[0], "height") / Num(costs[0], "height"), 4.0, 0.02);
  EXPECT_NEAR(Num(costs[2], "height") / Num(sales[1], "height"), 3.0, 0.02);
  const std::string texts = Texts(svg);
  for (const char* t : {"Q1 & Q2", "Sales", "Costs", "North", "West", "|0|", "|6|"})
    EXPECT_NE(texts.find(t), std::string::npos) << t << " in " << texts;
}

TEST(Chart, GradientFillsRunAlongTheirAxisInBarsPlotAreaAndBackground) {
  auto gradient = [](const std::string& from, const std::string& to, const char* angle) {
    return "<c:spPr><a:gradFill><a:gsLst><a:gs pos=\"0\"><a:srgbClr val=\"" + from +
           "\"/></a:gs><a:gs pos=\"100000\"><a:srgbClr val=\"" + to +
           "\"/></a:gs></a:gsLst><a:lin ang=\"" + angle + "\"/></a:gradFill></c:spPr>";
  };
  // bars red at the top to blue at the foot, the plot area green to white
  // across, the chart's background yellow to white downwards; no gridlines
  std::string part =
      Chart(Bars("clustered",
                 Series("Sales", kCats, {"4", "3", "4"}, gradient("FF0000", "0000FF", "5400000"))) +
            "<c:catAx><c:axId val=\"1\"/></c:catAx><c:valAx><c:axId val=\"2\"/></c:valAx>" +
            gradient("00FF00", "FFFFFF", "0"));
  part.replace(part.find("</c:chart>"), 10, "</c:chart>" + gradient("FFFF00", "FFFFFF", "5400000"));
  const Drawing d = ChartSvg(part, {}, 400, 300);
  pugi::xml_document doc;
  const pugi::xml_node svg = ParseSvg(doc, d.svg);
  std::vector<pugi::xml_node> painted;
  for (pugi::xml_node r : All(svg, "rect"))
    if (std::string_view(r.attribute("fill").value()).starts_with("url(#")) painted.push_back(r);
  // the background, the legend's key painted as the bars are, the plot area, three bars
  ASSERT_EQ(painted.size(), 6u);
  EXPECT_STREQ(painted[1].attribute("fill").value(), painted[3].attribute("fill").value());
  const Decoded px = Decode(SvgToPng(d.svg, {400, 300}));
  ASSERT_EQ(px.width, 400u);
  auto at = [&](double x, double y) { return px.At(std::uint32_t(x), std::uint32_t(y)) >> 8; };
  auto box = [](pugi::xml_node r) {
    return std::array{Num(r, "x"), Num(r, "y"), Num(r, "width"), Num(r, "height")};
  };
  EXPECT_EQ(at(3, 3) & 0xFFFF00, 0xFFFF00u);
  EXPECT_LT(at(3, 3) & 0xFF, 0x20u);
  EXPECT_GT(at(3, 296) & 0xFF, 0xE0u);
  const auto plot = box(painted[2]);
  EXPECT_GT(at(plot[0] + 2, plot[1] + 2) >> 8 & 0xFF, 0xF0u);
  EXPECT_LT(at(plot[0] + 2, plot[1] + 2) >> 16, 0x20u);
  EXPECT_GT(at(plot[0] + plot[2] - 2, plot[1] + 2) >> 16, 0xE0u);
  for (std::size_t i = 3; i < painted.size(); ++i) {
    const auto bar = box(painted[i]);
    EXPECT_LT(bar[2], 100);
    EXPECT_GT(at(bar[0] + bar[2] / 2, bar[1] + 2) >> 16, 0xF0u) << i;
    EXPECT_LT(at(bar[0] + bar[2] / 2, bar[1] + 2) & 0xFF, 0x10u) << i;
    EXPECT_GT(at(bar[0] + bar[2] / 2, bar[1] + bar[3] - 2) & 0xFF, 0xF0u) << i;
    EXPECT_LT(at(bar[0] + bar[2] / 2, bar[1] + bar[3] - 2) >> 16, 0x10u) << i;
  }
}

TEST(Chart, StackedBarsRestOnEachOtherAndPercentBarsFillTheAxis) {
  const std::string series =
      Series("A", kCats, {"1", "3", "2"}) + Series("B", kCats, {"3", "1", "6"});
  {
    pugi::xml_document doc;
    const pugi::xml_node svg =
        ParseSvg(doc, ChartSvg(Chart(Bars("stacked", series)), {}, 400, 300).svg);
    const auto a = BarsOf(svg, "#4472C4"), b = BarsOf(svg, "#ED7D31");
    ASSERT_EQ(a.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(Num(a[i], "x"), Num(b[i], "x"), 0.01);
      EXPECT_NEAR(Num(b[i], "y") + Num(b[i], "height"), Num(a[i], "y"), 0.02);
    }
    // 4, 4 and 8 high: the third column is twice the others
    EXPECT_NEAR(
        (Num(a[2], "height") + Num(b[2], "height")) / (Num(a[0], "height") + Num(b[0], "height")),
        2, 0.02);
  }
  {
    pugi::xml_document doc;
    const pugi::xml_node svg =
        ParseSvg(doc, ChartSvg(Chart(Bars("percentStacked", series)), {}, 400, 300).svg);
    const auto a = BarsOf(svg, "#4472C4"), b = BarsOf(svg, "#ED7D31");
    ASSERT_EQ(a.size(), 3u);
    const double full = Num(a[0], "height") + Num(b[0], "height");
    for (int i = 1; i < 3; ++i) EXPECT_NEAR(Num(a[i], "height") + Num(b[i], "height"), full, 0.03);
    EXPECT_NE(Texts(svg).find("100%"), std::string::npos);
  }
}

TEST(Chart, ALineOnTheSecondaryAxisIsScaledToIt) {
  const std::string plot = "<c:barChart><c:barDir val=\"col\"/>" +
                           Series("Units", kCats, {"1", "2", "3"}) +
                           "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:barChart><c:lineChart>" +
                           Series("Revenue", kCats, {"100", "200", "300"},
                                  "<c:marker><c:symbol val=\"none\"/></c:marker>") +
                           "<c:axId val=\"3\"/><c:axId val=\"4\"/></c:lineChart>"
                           "<c:catAx><c:axId val=\"1\"/></c:catAx><c:valAx><c:axId "
                           "val=\"2\"/><c:axPos val=\"l\"/></c:valAx>"
                           "<c:catAx><c:axId val=\"3\"/><c:delete val=\"1\"/></c:catAx>"
                           "<c:valAx><c:axId val=\"4\"/><c:axPos val=\"r\"/></c:valAx>";
  pugi::xml_document doc;
  const pugi::xml_node svg = ParseSvg(doc, ChartSvg(Chart(plot), {}, 480, 300).svg);
  const auto bars = BarsOf(svg, "#4472C4");
  ASSERT_EQ(bars.size(), 3u);
  std::vector<double> line;
  for (pugi::xml_node p : All(svg, "path"))
    if (std::string_view(p.attribute("stroke").value()) == "#ED7D31")
      line = PathNumbers(p.attribute("d").value());
  ASSERT_EQ(line.size(), 6u);
  // 300 of 400 on the right stands as high as 3 of 4 on the left
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(line[2 * i + 1], Num(bars[i], "y"), 0.05);
  EXPECT_NE(Texts(svg).find("|400|"), std::string::npos);
}

TEST(Chart, PieSectorsSweepTheirShareClockwiseFromTwelve) {
  const std::string plot = "<c:pieChart><c:varyColors val=\"1\"/>" +
                           Series("Share", {"a", "b", "c"}, {"1", "1", "2"},
                                  "<c:dLbls><c:showPercent val=\"1\"/></c:dLbls>") +
                           "<c:firstSliceAng val=\"0\"/></c:pieChart>";
  pugi::xml_document doc;
  const pugi::xml_node svg = ParseSvg(doc, ChartSvg(Chart(plot), {}, 400, 400).svg);
  std::vector<std::vector<double>> sectors;
  for (pugi::xml_node p : All(svg, "path"))
    sectors.push_back(PathNumbers(p.attribute("d").value()));
  ASSERT_EQ(sectors.size(), 3u);
  // M x0,y0 A r,r 0 large 1 x1,y1 L cx,cy: the angle each sector sweeps
  auto angle = [](const std::vector<double>& s, double x, double y) {
    const double cx = s[9], cy = s[10];
    return std::fmod(std::atan2(x - cx, cy - y) * 180 / std::numbers::pi + 360, 360);
  };
  EXPECT_NEAR(angle(sectors[0], sectors[0][0], sectors[0][1]), 0, 0.5);
  EXPECT_NEAR(angle(sectors[0], sectors[0][7], sectors[0][8]), 90, 0.5);
  EXPECT_NEAR(angle(sectors[1], sectors[1][7], sectors[1][8]), 180, 0.5);
  const double back = angle(sectors[2], sectors[2][7], sectors[2][8]);
  EXPECT_TRUE(back < 0.5 || back > 359.5) << back;
  const std::string texts = Texts(svg);
  EXPECT_NE(texts.find("25%"), std::string::npos);
  EXPECT_NE(texts.find("50%"), std::string::npos);
  // the legend names the points
  EXPECT_NE(texts.find("|a|"), std::string::npos);
}

TEST(Chart, KindsNotDrawnGiveAPlaceholderWithTheTitle) {
  const Drawing radar =
      ChartSvg(Chart("<c:ofPieChart>" + Series("S", kCats, {"1", "2", "3"}) + "</c:ofPieChart>",
                     "Skills &lt;2024&gt;"),
               {}, 300, 200);
  EXPECT_EQ(radar.title, "Skills <2024>");
  EXPECT_NE(radar.note.find("ofPieChart"), std::string::npos);
  pugi::xml_document doc;
  EXPECT_NE(Texts(ParseSvg(doc, radar.svg)).find("Skills <2024>"), std::string::npos);

  for (const char* broken : {"", "<c:chartSpace", "<x/>", "\xff\xfe<"}) {
    const Drawing d = ChartSvg(broken, {}, 300, 200);
    EXPECT_FALSE(d.note.empty()) << broken;
    pugi::xml_document again;
    ParseSvg(again, d.svg);
  }
}

// Lines whose ends share an x (stock's high-low lines) or a y (its close
// ticks), longer than a pixel.
std::vector<pugi::xml_node> Lines(pugi::xml_node svg, bool vertical) {
  std::vector<pugi::xml_node> out;
  for (pugi::xml_node l : All(svg, "line")) {
    const double dx = Num(l, "x2") - Num(l, "x1"), dy = Num(l, "y2") - Num(l, "y1");
    if (vertical ? dx == 0 && std::abs(dy) > 1 : dy == 0 && std::abs(dx) > 1) out.push_back(l);
  }
  return out;
}

TEST(Chart, StockChartsJoinHighAndLowAndBarOpenToClose) {
  const std::string noLine = "<c:spPr><a:ln><a:noFill/></a:ln></c:spPr>";
  const std::string hlc = "<c:stockChart>" + Series("High", kCats, {"10", "14", "12"}, noLine) +
                          Series("Low", kCats, {"6", "8", "4"}, noLine) +
                          Series("Close", kCats, {"9", "13", "5"}, noLine) +
                          "<c:hiLowLines/><c:axId val=\"1\"/><c:axId val=\"2\"/></c:stockChart>";
  Drawing d = ChartSvg(Chart(hlc), {}, 480, 300);
  EXPECT_TRUE(d.note.empty()) << d.note;
  pugi::xml_document doc;
  pugi::xml_node svg = ParseSvg(doc, d.svg);
  std::vector<pugi::xml_node> spans = Lines(svg, true);
  ASSERT_EQ(spans.size(), 3u);
  // South's span (8..14) reaches higher than North's (6..10), and is shorter than West's (4..12)
  auto top = [](pugi::xml_node l) { return std::min(Num(l, "y1"), Num(l, "y2")); };
  auto length = [](pugi::xml_node l) { return std::abs(Num(l, "y2") - Num(l, "y1")); };
  EXPECT_LT(top(spans[1]), top(spans[0]));
  EXPECT_LT(length(spans[1]), length(spans[2]));
  EXPECT_GE(Lines(svg, false).size(), 3u);    // the close ticks
  EXPECT_TRUE(All(svg, "path").size() <= 1);  // no series lines; at most the axis

  // Open-high-low-close with up and down bars, in their own colours.
  const std::string bars =
      "<c:upDownBars><c:gapWidth val=\"150\"/><c:upBars><c:spPr><a:solidFill><a:srgbClr "
      "val=\"00B050\"/></a:solidFill></c:spPr></c:upBars><c:downBars><c:spPr><a:solidFill>"
      "<a:srgbClr val=\"C00000\"/></a:solidFill></c:spPr></c:downBars></c:upDownBars>";
  const std::string ohlc = "<c:stockChart>" + Series("Open", kCats, {"7", "12", "11"}, noLine) +
                           Series("High", kCats, {"10", "14", "12"}, noLine) +
                           Series("Low", kCats, {"6", "8", "4"}, noLine) +
                           Series("Close", kCats, {"9", "13", "5"}, noLine) + "<c:hiLowLines/>" +
                           bars + "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:stockChart>";
  d = ChartSvg(Chart(ohlc), {}, 480, 300);
  pugi::xml_document doc2;
  svg = ParseSvg(doc2, d.svg);
  EXPECT_EQ(Filled(svg, "rect", "#00B050").size(), 2u);  // North and South close up
  EXPECT_EQ(Filled(svg, "rect", "#C00000").size(), 1u);

  // Volume as columns on the first axis, the stock on a second: both drawn.
  const std::string combined =
      Bars("clustered", Series("Volume", kCats, {"300", "500", "200"})).substr(0) +
      ohlc.substr(0, ohlc.find("<c:axId")) +
      "<c:axId val=\"3\"/><c:axId val=\"4\"/></c:stockChart>";
  const std::string plot = combined +
                           "<c:catAx><c:axId val=\"1\"/></c:catAx><c:valAx><c:axId val=\"2\"/>"
                           "<c:axPos val=\"l\"/></c:valAx><c:catAx><c:axId val=\"3\"/><c:delete "
                           "val=\"1\"/></c:catAx><c:valAx><c:axId val=\"4\"/><c:axPos "
                           "val=\"r\"/></c:valAx>";
  std::string withIds = plot;
  withIds.insert(withIds.find("</c:barChart>"), "<c:axId val=\"1\"/><c:axId val=\"2\"/>");
  d = ChartSvg(Chart(withIds), {}, 480, 300);
  EXPECT_TRUE(d.note.empty()) << d.note;
  pugi::xml_document doc3;
  svg = ParseSvg(doc3, d.svg);
  EXPECT_EQ(Lines(svg, true).size(), 3u);
  EXPECT_EQ(Filled(svg, "rect", "#00B050").size(), 2u);
  EXPECT_EQ(Filled(svg, "rect", "#4472C4").size(), 4u);  // the volumes and their legend key
}

TEST(Chart, RadarAndSurfaceChartsAreDrawnFromTheirValues) {
  const std::vector<std::string> skills = {"Speed", "Power", "Reach", "Grip", "Calm"};
  const Drawing radar = ChartSvg(Chart("<c:radarChart><c:radarStyle val=\"marker\"/>" +
                                       Series("Ann", skills, {"5", "1", "3", "3", "3"}) +
                                       "<c:axId val=\"1\"/><c:axId "
                                       "val=\"2\"/></c:radarChart>"),
                                 {}, 400, 400);
  EXPECT_TRUE(radar.note.empty()) << radar.note;
  pugi::xml_document doc;
  pugi::xml_node svg = ParseSvg(doc, radar.svg);
  for (const std::string& skill : skills)
    EXPECT_NE(Texts(svg).find("|" + skill + "|"), std::string::npos) << skill;
  // The series' polygon: Speed (5) at the top, farther out than Power (1).
  std::vector<pugi::xml_node> polygons;
  for (pugi::xml_node p : All(svg, "path"))
    if (std::string_view(p.attribute("stroke").value()) == "#4472C4") polygons.push_back(p);
  ASSERT_EQ(polygons.size(), 1u);
  const std::vector<double> pts = PathNumbers(polygons[0].attribute("d").value());
  ASSERT_EQ(pts.size(), 10u);
  const std::vector<pugi::xml_node> rings = Filled(svg, "path", "none");
  ASSERT_GE(rings.size(), 3u);
  const std::vector<double> outer = PathNumbers(rings[rings.size() - 2].attribute("d").value());
  const double cx = outer[0];  // the outer ring's first corner is straight above the centre
  EXPECT_NEAR(pts[0], cx, 0.01);
  EXPECT_LT(pts[1], pts[3]);  // Speed reaches higher than Power's point

  const Drawing surface =
      ChartSvg(Chart("<c:surfaceChart>" + Series("Cold", kCats, {"1", "5", "9"}) +
                     Series("Warm", kCats, {"3", "7", "11"}) +
                     "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:surfaceChart>"),
               {}, 480, 300);
  EXPECT_TRUE(surface.note.empty()) << surface.note;
  pugi::xml_document doc2;
  svg = ParseSvg(doc2, surface.svg);
  // Six cells coloured by band: the lowest and highest differ; the legend
  // names the bands.
  std::vector<std::string> fills;
  for (pugi::xml_node r : All(svg, "rect"))
    if (Num(r, "width") > 20 && Num(r, "height") > 20 && Num(r, "width") < 400)
      fills.emplace_back(r.attribute("fill").value());
  ASSERT_EQ(fills.size(), 6u);
  EXPECT_NE(fills.front(), fills.back());
  const std::string texts = Texts(svg);
  EXPECT_NE(texts.find("|0-5|5-10|10-15|"), std::string::npos) << texts;
}

// A chartEx part: one data set (category levels, leaves first, and
// values) and one series of `layout`.
std::string ChartEx(const std::string& layout, const std::vector<std::vector<std::string>>& levels,
                    const std::vector<std::string>& values, const std::string& layoutPr = "",
                    const std::string& more = "") {
  auto lvl = [](const std::vector<std::string>& pts) {
    std::string out = "<cx:lvl ptCount=\"" + std::to_string(pts.size()) + "\">";
    for (std::size_t i = 0; i < pts.size(); ++i)
      if (!pts[i].empty()) out += "<cx:pt idx=\"" + std::to_string(i) + "\">" + pts[i] + "</cx:pt>";
    return out + "</cx:lvl>";
  };
  std::string cats;
  for (const auto& l : levels) cats += lvl(l);
  return "<cx:chartSpace xmlns:cx=\"http://schemas.microsoft.com/office/drawing/2014/chartex\" "
         "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><cx:chartData>"
         "<cx:data id=\"0\">" +
         (levels.empty() ? "" : "<cx:strDim type=\"cat\">" + cats + "</cx:strDim>") +
         "<cx:numDim type=\"val\">" + lvl(values) +
         "</cx:numDim></cx:data></cx:chartData><cx:chart><cx:title><cx:tx><cx:txData><cx:v>" +
         layout +
         " chart</cx:v></cx:txData></cx:tx></cx:title><cx:plotArea><cx:plotAreaRegion>"
         "<cx:series layoutId=\"" +
         layout +
         "\"><cx:tx><cx:txData><cx:v>S</cx:v></cx:txData>"
         "</cx:tx><cx:dataId val=\"0\"/><cx:layoutPr>" +
         layoutPr + "</cx:layoutPr></cx:series>" + more +
         "</cx:plotAreaRegion></cx:plotArea></cx:chart></cx:chartSpace>";
}

// Rects of a fill colour, their heights.
std::vector<double> Heights(pugi::xml_node svg, const char* fill) {
  std::vector<double> out;
  for (pugi::xml_node r : Filled(svg, "rect", fill)) out.push_back(Num(r, "height"));
  return out;
}

TEST(Chart, Office2016KindsAreDrawnFromTheirCachedData) {
  // Waterfall: a start, a rise, a fall and a total drawn from zero.
  Drawing d =
      ChartSvg(ChartEx("waterfall", {{"Start", "Up", "Down", "End"}}, {"100", "50", "-30", "120"},
                       "<cx:subtotals><cx:idx val=\"0\"/><cx:idx val=\"3\"/></cx:subtotals>"),
               {}, 480, 300);
  EXPECT_TRUE(d.note.empty()) << d.note;
  EXPECT_EQ(d.title, "waterfall chart");
  pugi::xml_document doc;
  pugi::xml_node svg = ParseSvg(doc, d.svg);
  const std::vector<double> up = Heights(svg, "#4472C4"), down = Heights(svg, "#ED7D31"),
                            total = Heights(svg, "#A5A5A5");
  ASSERT_EQ(up.size(), 1u);
  ASSERT_EQ(down.size(), 1u);
  ASSERT_EQ(total.size(), 2u);
  EXPECT_NEAR(total[1] / total[0], 1.2, 0.01);  // the total stands from zero
  EXPECT_NEAR(up[0] / down[0], 50.0 / 30, 0.01);

  // Histogram: eight values in bins of 5 from 1: [1,6] (6,11] (11,16].
  d = ChartSvg(ChartEx("clusteredColumn", {}, {"1", "2", "3", "7", "8", "9", "10", "12"},
                       "<cx:binning intervalClosed=\"r\"><cx:binSize val=\"5\"/></cx:binning>"),
               {}, 480, 300);
  pugi::xml_document doc2;
  svg = ParseSvg(doc2, d.svg);
  const std::vector<double> bins = Heights(svg, "#4472C4");
  ASSERT_EQ(bins.size(), 3u);
  EXPECT_NEAR(bins[0] / bins[2], 3.0, 0.01);
  EXPECT_NEAR(bins[1] / bins[2], 4.0, 0.01);
  EXPECT_NE(Texts(svg).find("|[1, 6]|(6, 11]|(11, 16]|"), std::string::npos) << Texts(svg);

  // Pareto: the categories sorted, the running share rising to 100%.
  d = ChartSvg(ChartEx("clusteredColumn", {{"a", "b", "c"}}, {"1", "6", "3"}, "<cx:aggregation/>",
                       "<cx:series layoutId=\"paretoLine\" ownerIdx=\"0\"><cx:axisId val=\"2\"/>"
                       "</cx:series>"),
               {}, 480, 300);
  pugi::xml_document doc3;
  svg = ParseSvg(doc3, d.svg);
  const std::vector<double> sorted = Heights(svg, "#4472C4");
  ASSERT_EQ(sorted.size(), 3u);
  EXPECT_GT(sorted[0], sorted[1]);
  EXPECT_GT(sorted[1], sorted[2]);
  EXPECT_NE(Texts(svg).find("|b|c|a|"), std::string::npos);
  EXPECT_EQ(Filled(svg, "path", "none").size(), 1u);

  // Funnel: bar widths in proportion; box and whisker: a box per category.
  d = ChartSvg(ChartEx("funnel", {{"Leads", "Calls", "Deals"}}, {"400", "200", "100"}), {}, 480,
               300);
  pugi::xml_document doc4;
  svg = ParseSvg(doc4, d.svg);
  std::vector<double> widths;
  for (pugi::xml_node r : Filled(svg, "rect", "#4472C4")) widths.push_back(Num(r, "width"));
  ASSERT_EQ(widths.size(), 3u);
  EXPECT_NEAR(widths[0] / widths[2], 4, 0.01);
  // the series' gradient paints every bar, written once
  std::string graded = ChartEx("funnel", {{"Leads", "Calls", "Deals"}}, {"400", "200", "100"});
  graded.insert(graded.find("<cx:dataId"),
                "<cx:spPr><a:gradFill><a:gsLst><a:gs pos=\"0\"><a:srgbClr val=\"FF0000\"/></a:gs>"
                "<a:gs pos=\"100000\"><a:srgbClr val=\"0000FF\"/></a:gs></a:gsLst></a:gradFill>"
                "</cx:spPr>");
  pugi::xml_document doc4b;
  svg = ParseSvg(doc4b, ChartSvg(graded, {}, 480, 300).svg);
  EXPECT_EQ(Filled(svg, "rect", "url(#grad1)").size(), 3u);
  EXPECT_EQ(All(svg, "linearGradient").size(), 1u);
  d = ChartSvg(ChartEx("boxWhisker", {{"A", "A", "A", "A", "A", "A", "A", "B", "B", "B"}},
                       {"1", "2", "3", "4", "5", "6", "40", "5", "6", "7"}),
               {}, 480, 300);
  EXPECT_TRUE(d.note.empty()) << d.note;
  pugi::xml_document doc5;
  svg = ParseSvg(doc5, d.svg);
  EXPECT_EQ(Filled(svg, "rect", "#4472C4").size(), 2u);
  EXPECT_EQ(All(svg, "circle").size(), 1u);  // 40 lies past A's whisker

  // Treemap: leaf areas in proportion to their values, under two branches;
  // sunburst: a ring per level.
  const std::vector<std::vector<std::string>> tree = {{"x", "y", "z"}, {"P", "", "Q"}};
  d = ChartSvg(ChartEx("treemap", tree, {"6", "2", "4"}), {}, 400, 300);
  pugi::xml_document doc6;
  svg = ParseSvg(doc6, d.svg);
  double branchP = 0, branchQ = 0;
  for (pugi::xml_node r : All(svg, "rect"))
    if (std::string_view(r.attribute("stroke").value()) == "#FFFFFF") {
      const double area = Num(r, "width") * Num(r, "height");
      (std::string_view(r.attribute("fill").value()) == "#4472C4" ? branchP : branchQ) += area;
    }
  EXPECT_NEAR(branchP / branchQ, 2.0, 0.01);  // P holds x and y (8), Q holds z (4)
  d = ChartSvg(ChartEx("sunburst", tree, {"6", "2", "4"}), {}, 400, 300);
  pugi::xml_document doc7;
  svg = ParseSvg(doc7, d.svg);
  EXPECT_EQ(All(svg, "path").size(), 5u);  // P, Q, then x, y, z

  // A region map stays a placeholder with its title.
  d = ChartSvg(ChartEx("regionMap", {{"France"}}, {"3"}), {}, 300, 200);
  EXPECT_NE(d.note.find("regionMap"), std::string::npos);
  pugi::xml_document doc8;
  EXPECT_NE(Texts(ParseSvg(doc8, d.svg)).find("regionMap chart"), std::string::npos);
}

TEST(Chart, HostilePartsGiveABoundedWellFormedDrawing) {
  // NaN, infinities, huge counts and indexes, thousands of series
  std::string series;
  for (int i = 0; i < 3000; ++i)
    series +=
        Series("s\x01&lt;" + std::to_string(i), {"x"}, {i % 3 ? "NaN" : "1e308", "inf", "-1e308"});
  std::string plot = Bars("stacked", series);
  plot.insert(plot.find("<c:ser>"),
              "<c:ser><c:val><c:numCache><c:ptCount val=\"1e12\"/><c:pt "
              "idx=\"4294967296\"><c:v>1</c:v></c:pt>"
              "<c:pt idx=\"-5\"><c:v>1</c:v></c:pt></c:numCache></c:val></c:ser>");
  const Drawing d = ChartSvg(
      Chart(plot + "<c:pieChart>" + series.substr(0, 20000) + "</c:pieChart>"), {}, 1e9, NAN);
  EXPECT_LT(d.svg.size(), 4u << 20);
  pugi::xml_document doc;
  const pugi::xml_node svg = ParseSvg(doc, d.svg);
  EXPECT_EQ(std::string(svg.attribute("width").value()), "4096px");
  EXPECT_EQ(std::string(svg.attribute("height").value()), "1px");

  // Office 2016 kinds: extreme values, a vanishing bin size, deep trees.
  const std::vector<std::string> extreme = {"1e308", "-1e308", "NaN", "1e-300", "inf", "5"};
  const std::vector<std::string> names = {"a", "b", "c", "d", "e", "f"};
  for (const char* layout :
       {"waterfall", "clusteredColumn", "boxWhisker", "funnel", "treemap", "sunburst"}) {
    const std::string part =
        ChartEx(layout, {names, names, names, names, names, names, names, names, names}, extreme,
                "<cx:binning><cx:binSize val=\"1e-300\"/></cx:binning><cx:subtotals><cx:idx "
                "val=\"99999999999\"/></cx:subtotals>");
    const Drawing ex = ChartSvg(part, {}, 400, 300);
    pugi::xml_document exDoc;
    ParseSvg(exDoc, ex.svg);
    EXPECT_EQ(ex.svg.find("nan"), std::string::npos) << layout;
    EXPECT_EQ(ex.svg.find("inf"), std::string::npos) << layout;
  }
}

TEST(Chart, ValuesShowInTheirFormatCodes) {
  EXPECT_EQ(FormatValue(4.4000000000000004, "General"), "4.4");
  EXPECT_EQ(FormatValue(-0.0001, "0.0"), "0.0");
  EXPECT_EQ(FormatValue(1234567.5, "#,##0.00"), "1,234,567.50");
  EXPECT_EQ(FormatValue(0.125, "0%"), "13%");
  EXPECT_EQ(FormatValue(-1234, "#,##0;[Red]-#,##0"), "-1,234");
  // serial days of the 1900 date system
  EXPECT_EQ(FormatValue(45292, "m/d/yyyy"), "1/1/2024");
  EXPECT_EQ(FormatValue(45351.75, "mmm-yy"), "Feb-24");
  EXPECT_EQ(FormatValue(45292, "yyyy\"年\"m\"月\"d\"日\""), "2024年1月1日");
  EXPECT_EQ(FormatValue(59, "dd/mm/yyyy"), "28/02/1900");
}

// A sample of the corpus's charts: every one is drawn, none is a placeholder.
TEST(Chart, CorpusChartsAreDrawn) {
  int charts = 0;
  for (const char* name : {"docx4j_chart.docx", "aspose_Combo_chart.docx",
                           "aspose_Reporting_engine_template_-_Pie_chart.docx",
                           "aspose_Reporting_engine_template_-_Scatter_chart.docx"}) {
    QP_NEED_CORPUS(std::string("docx/") + name);
    std::ifstream in(std::string(QP_CORPUS_DIR) + "/docx/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    word::ZipArchive zip(bytes.str());
    for (const std::string& part : zip.Names()) {
      if (part.rfind("word/charts/chart", 0) != 0 || part.find("/_rels") != std::string::npos)
        continue;
      const Drawing d = ChartSvg(zip.Read(part), {}, 480, 288);
      EXPECT_TRUE(d.note.empty()) << name << ": " << d.note;
      pugi::xml_document doc;
      EXPECT_GT(All(ParseSvg(doc, d.svg), "text").size(), 3u) << name;
      ++charts;
    }
  }
  EXPECT_EQ(charts, 4);
}

}  // namespace
}  // namespace qp::draw
