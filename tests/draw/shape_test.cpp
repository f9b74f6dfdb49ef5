// Shapes drawn from DrawingML and VML: placement under rotation, flips and
// group scaling, colours through the theme, text, and hostile drawings.
#include <gtest/gtest.h>

#include <cmath>

#include "draw/raster.h"
#include "draw/shape.h"
#include "draw/shape_geometry.h"
#include "svg_check.h"

namespace qp::draw {
namespace {

using testing::All;
using testing::Num;
using testing::ParseSvg;
using testing::PathNumbers;
using testing::Texts;
using testing::ToPicture;

constexpr const char* kNs =
    " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\""
    " xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\""
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";

// A shape of w x h px at (x, y) in EMU, with extra spPr and body.
std::string Wsp(double x, double y, double w, double h, const std::string& geometry,
                const std::string& spPr, const std::string& body = "<wps:bodyPr/>",
                const std::string& xfrmAttrs = "", const char* ns = "") {
  // A hostile extent that no integer holds is written as the text it is.
  auto emu = [](double px) {
    return std::isfinite(px) ? std::to_string(static_cast<long long>(px * 9525)) : "nan";
  };
  return std::string("<wps:wsp") + ns + "><wps:spPr><a:xfrm" + xfrmAttrs + "><a:off x=\"" + emu(x) +
         "\" y=\"" + emu(y) + "\"/><a:ext cx=\"" + emu(w) + "\" cy=\"" + emu(h) + "\"/></a:xfrm>" +
         geometry + spPr + "</wps:spPr>" + body + "</wps:wsp>";
}

std::string Preset(const std::string& name) {
  return "<a:prstGeom prst=\"" + name + "\"><a:avLst/></a:prstGeom>";
}

TEST(Shape, ARotatedMirroredArrowPointsWhereWordShowsIt) {
  // a right arrow mirrored (points left), then turned 90 degrees clockwise: up
  const Drawing d = ShapeSvg(
      Wsp(0, 0, 200, 100, Preset("rightArrow"),
          "<a:solidFill><a:schemeClr val=\"accent1\"><a:lumMod "
          "val=\"75000\"/></a:schemeClr></a:solidFill>"
          "<a:ln w=\"19050\"><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill></a:ln>",
          "<wps:bodyPr/>", " rot=\"5400000\" flipH=\"1\"", kNs),
      {}, 200, 100);
  EXPECT_EQ(d.unknownGeometries, 0);
  pugi::xml_document doc;
  const auto paths = All(ParseSvg(doc, d.svg), "path");
  ASSERT_EQ(paths.size(), 1u);
  // accent1 darkened by a quarter, as Office's "darker 25%"
  EXPECT_STREQ(paths[0].attribute("fill").value(), "#2F5597");
  EXPECT_STREQ(paths[0].attribute("stroke").value(), "#FF0000");
  EXPECT_DOUBLE_EQ(Num(paths[0], "stroke-width"), 2);
  const std::vector<double> pts = PathNumbers(paths[0].attribute("d").value());
  ASSERT_EQ(pts.size(), 14u);
  // the tip is the point farthest along the arrow: after the turn, the topmost
  double tipX = 0, tipY = 1e9;
  for (std::size_t i = 0; i < pts.size(); i += 2) {
    const auto [x, y] = ToPicture(paths[0]).Apply(pts[i], pts[i + 1]);
    if (y < tipY) tipX = x, tipY = y;
  }
  EXPECT_NEAR(tipX, 100, 0.05);
  EXPECT_NEAR(tipY, -50, 0.05);
}

TEST(Shape, AGroupMapsItsChildSpaceButTextKeepsItsSize) {
  // the child space is twice the group's size: children appear at half scale
  const std::string text =
      "<wps:txbx><w:txbxContent><w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:rPr><w:sz "
      "w:val=\"24\"/>"
      "<w:color w:val=\"00FF00\"/></w:rPr><w:t>Hi &amp; "
      "bye</w:t></w:r></w:p></w:txbxContent></wps:txbx>"
      "<wps:bodyPr anchor=\"ctr\"/>";
  const std::string group =
      std::string("<wpg:wgp") + kNs +
      "><wpg:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"1905000\" cy=\"952500\"/>"
      "<a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"3810000\" cy=\"1905000\"/></a:xfrm></wpg:grpSpPr>" +
      Wsp(200, 100, 200, 100, Preset("rect"),
          "<a:solidFill><a:srgbClr val=\"FFFF00\"/></a:solidFill>", text) +
      Wsp(0, 0, 50, 50, Preset("ellipse"), "<a:noFill/>") + "</wpg:wgp>";
  const Drawing d = ShapeSvg(group, {}, 200, 100);
  pugi::xml_document doc;
  const pugi::xml_node svg = ParseSvg(doc, d.svg);
  const auto paths = All(svg, "path");
  ASSERT_EQ(paths.size(), 2u);
  const std::vector<double> rect = PathNumbers(paths[0].attribute("d").value());
  const auto [x0, y0] = ToPicture(paths[0]).Apply(rect[0], rect[1]);
  const auto [x1, y1] = ToPicture(paths[0]).Apply(rect[4], rect[5]);
  EXPECT_NEAR(x0, 100, 0.05);
  EXPECT_NEAR(y0, 50, 0.05);
  EXPECT_NEAR(x1, 200, 0.05);
  EXPECT_NEAR(y1, 100, 0.05);
  // no fill said and no style: the ellipse is outline only and invisible
  EXPECT_STREQ(paths[1].attribute("fill").value(), "none");

  const auto texts = All(svg, "text");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_STREQ(texts[0].child_value(), "Hi & bye");
  EXPECT_STREQ(texts[0].attribute("fill").value(), "#00FF00");
  EXPECT_STREQ(texts[0].attribute("text-anchor").value(), "middle");
  // 12 pt is 16 px in the picture, whatever the group's scale
  const testing::Affine m = ToPicture(texts[0]);
  EXPECT_NEAR(Num(texts[0], "font-size") * m.a, 16, 0.01);
  const auto [tx, ty] = m.Apply(Num(texts[0], "x"), Num(texts[0], "y"));
  EXPECT_NEAR(tx, 150, 0.05);  // centred in the child's box
  EXPECT_GT(ty, 50);
  EXPECT_LT(ty, 100);
}

TEST(Shape, CustomPathsArcAndUnknownPresetsAreCounted) {
  const std::string custom =
      "<a:custGeom><a:pathLst><a:path w=\"100\" h=\"100\"><a:moveTo><a:pt x=\"0\" "
      "y=\"50\"/></a:moveTo>"
      "<a:arcTo wR=\"50\" hR=\"50\" stAng=\"10800000\" "
      "swAng=\"10800000\"/><a:close/></a:path></a:pathLst></a:custGeom>";
  const std::string group =
      std::string("<wpg:wgp") + kNs + "><wpg:grpSpPr/>" +
      Wsp(0, 0, 100, 100, custom, "<a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill>") +
      Wsp(0, 0, 100, 100, Preset("ribbon2"), "") + Wsp(0, 0, 100, 100, Preset("star5"), "") +
      "</wpg:wgp>";
  const Drawing d = ShapeSvg(group, {}, 100, 100);
  EXPECT_EQ(d.unknownGeometries, 1);
  pugi::xml_document doc;
  const auto paths = All(ParseSvg(doc, d.svg), "path");
  ASSERT_EQ(paths.size(), 3u);
  // half a turn from nine o'clock over the top ends at three o'clock
  const std::vector<double> arc = PathNumbers(paths[0].attribute("d").value());
  ASSERT_GE(arc.size(), 9u);
  EXPECT_NEAR(arc[7], 100, 0.01);
  EXPECT_NEAR(arc[8], 50, 0.01);
  EXPECT_EQ(PathNumbers(paths[2].attribute("d").value()).size(), 20u);  // five points, five notches
}

// Flowchart symbols once drawn as a plain circle or a plus sign, each with
// the marks its definition gives it, in a box twice as wide as high.
TEST(Shape, FlowchartJunctionsTapeAndOfflineStorageCarryTheirMarks) {
  const double w = 200, h = 100;
  // each subpath of a preset's outline as its numbers
  auto subpaths = [&](const char* prst) {
    const std::string d = PresetOutline(prst, w, h, {})->path;
    std::vector<std::vector<double>> out;
    for (std::size_t at = d.find('M'); at != std::string::npos;) {
      const std::size_t next = d.find('M', at + 1);
      out.push_back(PathNumbers(d.substr(at, next - at)));
      at = next;
    }
    return out;
  };
  auto onCircle = [&](double x, double y) {
    return std::hypot((x - w / 2) / (w / 2), (y - h / 2) / (h / 2));
  };

  // or: a plus from edge to edge of the circle
  const auto orMarks = subpaths("flowChartOr");
  ASSERT_EQ(orMarks.size(), 3u);
  EXPECT_EQ(orMarks[1], (std::vector<double>{100, 0, 100, 100}));
  EXPECT_EQ(orMarks[2], (std::vector<double>{0, 50, 200, 50}));

  // summing junction: an X whose ends lie on the circle, 45 degrees round it
  const auto sum = subpaths("flowChartSummingJunction");
  ASSERT_EQ(sum.size(), 3u);
  for (std::size_t k = 1; k < 3; ++k) {
    ASSERT_EQ(sum[k].size(), 4u);
    for (std::size_t i = 0; i < 4; i += 2) {
      EXPECT_NEAR(onCircle(sum[k][i], sum[k][i + 1]), 1, 1e-3);
      EXPECT_NEAR(std::abs(sum[k][i] - 100) / 100, std::abs(sum[k][i + 1] - 50) / 50, 1e-3);
    }
    EXPECT_NEAR(sum[k][0] + sum[k][2], w, 1e-3);  // through the centre
    EXPECT_NEAR(sum[k][1] + sum[k][3], h, 1e-3);
  }

  // magnetic tape: from the bottom round the circle to below its right-hand
  // side, then along the bottom to the box's corner
  const auto tape = subpaths("flowChartMagneticTape");
  ASSERT_EQ(tape.size(), 1u);
  ASSERT_EQ(tape[0].size(), 13u);  // M, A, L, L
  EXPECT_EQ(tape[0][0], 100);
  EXPECT_EQ(tape[0][1], 100);
  EXPECT_NEAR(onCircle(tape[0][7], tape[0][8]), 1, 1e-3);
  EXPECT_GT(tape[0][7], 150);
  EXPECT_GT(tape[0][8], 75);
  EXPECT_EQ(tape[0][10], tape[0][8]);
  EXPECT_EQ((std::vector<double>(tape[0].begin() + 11, tape[0].end())),
            (std::vector<double>{200, 100}));

  // offline storage: a triangle on its point, a bar across it near the point
  // whose ends lie on its sides
  const auto storage = subpaths("flowChartOfflineStorage");
  ASSERT_EQ(storage.size(), 2u);
  EXPECT_EQ(storage[0], (std::vector<double>{0, 0, 200, 0, 100, 100}));
  ASSERT_EQ(storage[1].size(), 4u);
  const double y = storage[1][1];
  EXPECT_EQ(storage[1][3], y);
  EXPECT_GT(y, h / 2);
  EXPECT_NEAR(storage[1][0], y * (w / 2) / h, 1e-3);
  EXPECT_NEAR(storage[1][2], w - y * (w / 2) / h, 1e-3);
}

TEST(Shape, ArrowheadsSitAtTheLinesEnds) {
  // a connector mirrored vertically runs from the bottom left to the top right
  const std::string line =
      Wsp(10, 20, 100, 50, Preset("straightConnector1"),
          "<a:ln w=\"12700\"><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill>"
          "<a:headEnd type=\"oval\"/><a:tailEnd type=\"triangle\"/></a:ln>",
          "<wps:bodyPr/>", " flipV=\"1\"");
  const std::string vml =
      "<v:line from=\"0,0\" to=\"50,0\" strokecolor=\"red\"><v:stroke "
      "endarrow=\"block\"/></v:line>";
  const std::string canvas =
      std::string("<wpc:wpc xmlns:wpc=\"c\" xmlns:v=\"urn:schemas-microsoft-com:vml\"") + kNs +
      ">" + line +
      "<v:group style=\"left:0;top:0;width:200pt;height:150pt\" coordsize=\"200,150\">" + vml +
      "</v:group></wpc:wpc>";
  pugi::xml_document doc;
  const pugi::xml_node svg = ParseSvg(doc, ShapeSvg(canvas, {}, 200, 150).svg);
  const auto ovals = All(svg, "ellipse");
  ASSERT_EQ(ovals.size(), 1u);
  const auto [ox, oy] = ToPicture(ovals[0]).Apply(Num(ovals[0], "cx"), Num(ovals[0], "cy"));
  EXPECT_NEAR(ox, 10, 0.05);
  EXPECT_NEAR(oy, 70, 0.05);
  std::vector<std::pair<double, double>> tips;
  for (pugi::xml_node p : All(svg, "path")) {
    const std::vector<double> pts = PathNumbers(p.attribute("d").value());
    if (std::string_view(p.attribute("fill").value()) == "none" || pts.size() != 6) continue;
    tips.push_back(ToPicture(p).Apply(pts[2], pts[3]));  // the wings' middle point is the tip
  }
  ASSERT_EQ(tips.size(), 2u);
  EXPECT_NEAR(tips[0].first, 110, 0.05);
  EXPECT_NEAR(tips[0].second, 20, 0.05);
  EXPECT_NEAR(tips[1].first, 50 * 4.0 / 3, 0.05);  // 50 pt
  EXPECT_NEAR(tips[1].second, 0, 0.05);
}

TEST(Shape, VmlTextBoxShowsItsJapaneseTextInAFontThatHasIt) {
  const std::string vml =
      "<v:shape xmlns:v=\"urn:schemas-microsoft-com:vml\" "
      "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
      " type=\"#_x0000_t202\" "
      "style=\"position:absolute;margin-left:20pt;width:150pt;height:75pt;v-text-anchor:middle\""
      " fillcolor=\"yellow\" strokecolor=\"#00f\" "
      "strokeweight=\"1.5pt\"><v:textbox><w:txbxContent><w:p><w:r>"
      "<w:t>日本語のテキスト</w:t></w:r></w:p></w:txbxContent></v:textbox></v:shape>";
  pugi::xml_document doc;
  const pugi::xml_node svg = ParseSvg(doc, ShapeSvg(vml, {}, 200, 100).svg);
  const auto paths = All(svg, "path");
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_STREQ(paths[0].attribute("fill").value(), "#FFFF00");
  EXPECT_STREQ(paths[0].attribute("stroke").value(), "#0000FF");
  // the shape fills the picture: its far corner is the picture's
  const std::vector<double> pts = PathNumbers(paths[0].attribute("d").value());
  const auto [x, y] = ToPicture(paths[0]).Apply(pts[4], pts[5]);
  EXPECT_NEAR(x, 200, 0.05);
  EXPECT_NEAR(y, 100, 0.05);
  const auto texts = All(svg, "text");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_STREQ(texts[0].child_value(), "日本語のテキスト");
  EXPECT_NE(std::string(texts[0].attribute("font-family").value()).find("IPAPGothic"),
            std::string::npos);
}

TEST(Shape, CircularArrowsPointAlongTheirBandWhateverTheAdjusts) {
  auto draw = [](const std::string& avLst) {
    const Drawing d = ShapeSvg(
        Wsp(0, 0, 100, 100,
            "<a:prstGeom prst=\"circularArrow\"><a:avLst>" + avLst + "</a:avLst></a:prstGeom>", "",
            "<wps:bodyPr/>", "", kNs),
        {}, 100, 100);
    EXPECT_EQ(d.unknownGeometries, 0);
    pugi::xml_document doc;
    const auto paths = All(ParseSvg(doc, d.svg), "path");
    return paths.empty() ? std::vector<double>{} : PathNumbers(paths[0].attribute("d").value());
  };
  // by default the band runs over the top from nine o'clock and its head
  // points down at three o'clock, on the band's middle line
  const std::vector<double> d = draw("");
  ASSERT_GE(d.size(), 13u);
  EXPECT_NEAR(d[11], 87.5, 0.01);
  EXPECT_NEAR(d[12], 50, 0.01);
  for (const char* adjusts :
       {"<a:gd name=\"adj1\" fmla=\"val 0\"/><a:gd name=\"adj5\" fmla=\"val 0\"/>",
        "<a:gd name=\"adj2\" fmla=\"val 99999999\"/><a:gd name=\"adj3\" fmla=\"val -5\"/>"
        "<a:gd name=\"adj4\" fmla=\"val 21599999\"/><a:gd name=\"adj5\" fmla=\"val 90000\"/>"})
    for (double v : draw(adjusts)) {
      EXPECT_TRUE(std::isfinite(v));
      EXPECT_LT(std::abs(v), 200);
    }
}

// The drawing as pixels: channel `shift` (16 red, 8 green, 0 blue, -8
// alpha) of the pixel at (x, y).
struct Pixels {
  testing::Decoded d;
  int operator()(std::uint32_t x, std::uint32_t y, int shift) const {
    return static_cast<int>((d.At(x, y) >> (shift + 8)) & 0xFF);
  }
};
constexpr int kRed = 16, kGreen = 8, kBlue = 0, kAlpha = -8;

Pixels Drawn(const std::string& xml, int w, int h, const Palette& palette = {}) {
  return {testing::Decode(SvgToPng(ShapeSvg(xml, palette, w, h).svg, {w, h}))};
}

std::string Gradient(const std::string& stops, const std::string& how) {
  return "<a:gradFill><a:gsLst>" + stops + "</a:gsLst>" + how + "</a:gradFill>";
}

std::string Stop(int pos, const char* rgb) {
  return "<a:gs pos=\"" + std::to_string(pos) + "\"><a:srgbClr val=\"" + rgb + "\"/></a:gs>";
}

TEST(Shape, GradientsRunTheirStopsAlongTheirAngleOrOutFromTheirCentre) {
  const std::string redBlue = Stop(100000, "0000FF") + Stop(0, "FF0000");  // any order
  auto drawml = [&](const std::string& fill) {
    return Drawn(Wsp(0, 0, 100, 50, Preset("rect"), fill, "<wps:bodyPr/>", "", kNs), 100, 50);
  };
  Pixels across = drawml(Gradient(redBlue, "<a:lin ang=\"0\" scaled=\"1\"/>"));
  ASSERT_EQ(across.d.width, 100u);
  EXPECT_GT(across(1, 25, kRed), 240);
  EXPECT_GT(across(98, 25, kBlue), 240);
  EXPECT_NEAR(across(50, 25, kRed), 128, 12);
  EXPECT_NEAR(across(50, 2, kRed), across(50, 47, kRed), 2);  // no change downwards
  Pixels down = drawml(Gradient(redBlue, "<a:lin ang=\"5400000\" scaled=\"1\"/>"));
  EXPECT_GT(down(50, 1, kRed), 235);
  EXPECT_GT(down(50, 48, kBlue), 235);
  Pixels three = drawml(Gradient(redBlue + Stop(50000, "00FF00"), "<a:lin ang=\"0\"/>"));
  EXPECT_GT(three(50, 25, kGreen), 235);
  Pixels radial = drawml(Gradient(Stop(0, "FFFFFF") + Stop(100000, "0000FF"),
                                  "<a:path path=\"circle\"><a:fillToRect l=\"50000\" t=\"50000\" "
                                  "r=\"50000\" b=\"50000\"/></a:path>"));
  EXPECT_GT(radial(50, 25, kRed), 240);
  EXPECT_LT(radial(0, 0, kRed), 30);
  EXPECT_GT(radial(0, 0, kBlue), 240);

  // VML: the fill colour to color2, at its angle; focus 50% mirrors the run.
  auto vml = [](const std::string& fill) {
    return Drawn(
        "<v:rect xmlns:v=\"urn:schemas-microsoft-com:vml\" "
        "style=\"width:75pt;height:37.5pt\" fillcolor=\"red\" stroked=\"f\">" +
            fill + "</v:rect>",
        100, 50);
  };
  Pixels leftRight = vml("<v:fill type=\"gradient\" color2=\"blue\" angle=\"-90\"/>");
  EXPECT_GT(leftRight(1, 25, kRed), 240);
  EXPECT_GT(leftRight(98, 25, kBlue), 240);
  Pixels upwards = vml("<v:fill type=\"gradient\" color2=\"blue\"/>");
  EXPECT_GT(upwards(50, 48, kRed), 235);
  EXPECT_GT(upwards(50, 1, kBlue), 235);
  Pixels mirrored = vml("<v:fill type=\"gradient\" color2=\"#ffffff\" focus=\"50%\"/>");
  EXPECT_LT(mirrored(50, 1, kGreen), 20);
  EXPECT_LT(mirrored(50, 48, kGreen), 20);
  EXPECT_GT(mirrored(50, 25, kGreen), 235);
  Pixels darker = vml("<v:fill type=\"gradient\" color2=\"fill darken(128)\"/>");
  EXPECT_NEAR(darker(50, 1, kRed), 128, 4);
  // Fewer than two stops, or a colour that cannot be read: the flat colour.
  Pixels flat = drawml(Gradient(Stop(0, "00FF00"), ""));
  EXPECT_GT(flat(98, 48, kGreen), 250);
  Pixels unread = vml("<v:fill type=\"gradient\" color2=\"fill sideways(3)\"/>");
  EXPECT_GT(unread(98, 48, kRed), 250);
}

TEST(Shape, OuterShadowsFallWhereTheyPointTranslucentAndBlurred) {
  // A 100 x 50 shape at (20, 20) in a group of the picture's size: its
  // shadow falls inside the picture.
  auto group = [](const std::string& shadow, const std::string& body = "<wps:bodyPr/>",
                  const Palette& palette = {}) {
    const std::string fill = "<a:solidFill><a:srgbClr val=\"FFC000\"/></a:solidFill>";
    const std::string effects =
        shadow == "theme" ? "" : "<a:effectLst>" + shadow + "</a:effectLst>";
    return Drawn(std::string("<wpg:wgp") + kNs +
                     "><wpg:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"1905000\" "
                     "cy=\"952500\"/><a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"1905000\" "
                     "cy=\"952500\"/></a:xfrm></wpg:grpSpPr>" +
                     Wsp(20, 20, 100, 50, Preset("rect"), fill + effects, body) + "</wpg:wgp>",
                 200, 100, palette);
  };
  // 10 px down and right (45 degrees), black at half alpha, sharp.
  Pixels hard = group(
      "<a:outerShdw dist=\"134700\" dir=\"2700000\"><a:srgbClr val=\"000000\"><a:alpha "
      "val=\"50000\"/></a:srgbClr></a:outerShdw>");
  EXPECT_NEAR(hard(124, 75, kAlpha), 128, 6);
  EXPECT_LT(hard(124, 75, kRed), 10);
  EXPECT_EQ(hard(134, 84, kAlpha), 0);  // past the shadow's edge
  EXPECT_EQ(hard(10, 10, kAlpha), 0);   // none up and left
  EXPECT_EQ(hard(50, 40, kRed), 255);   // the shape stays its colour
  EXPECT_EQ(hard(50, 40, kGreen), 0xC0);
  // A blur spreads it past the sharp edge, fainter.
  Pixels soft = group(
      "<a:outerShdw blurRad=\"95250\" dist=\"134700\" dir=\"2700000\"><a:srgbClr "
      "val=\"000000\"/></a:outerShdw>");
  EXPECT_GT(soft(133, 83, kAlpha), 0);
  EXPECT_LT(soft(133, 83, kAlpha), soft(124, 75, kAlpha));
  // A style's effectRef takes the theme's effect style (counted from 1), in
  // the reference's colour where that says phClr; an effect list of the
  // shape's own, even an empty one, replaces it.
  Palette theme;
  theme.effectStyles = std::string("<a:effectStyleLst") + kNs +
                       "><a:effectStyle><a:effectLst/></a:effectStyle><a:effectStyle><a:effectLst>"
                       "<a:outerShdw dist=\"134700\" dir=\"2700000\"><a:schemeClr val=\"phClr\">"
                       "<a:alpha val=\"50000\"/></a:schemeClr></a:outerShdw></a:effectLst>"
                       "</a:effectStyle></a:effectStyleLst>";
  auto styled = [&](int index, const std::string& own) {
    return group(own,
                 "<wps:style><a:effectRef idx=\"" + std::to_string(index) +
                     "\"><a:srgbClr val=\"0000FF\"/></a:effectRef></wps:style><wps:bodyPr/>",
                 theme);
  };
  Pixels themed = styled(2, "theme");
  EXPECT_NEAR(themed(124, 75, kAlpha), 128, 6);
  EXPECT_GT(themed(124, 75, kBlue), 240);
  EXPECT_EQ(styled(1, "theme")(124, 75, kAlpha), 0);
  EXPECT_EQ(styled(0, "theme")(124, 75, kAlpha), 0);
  EXPECT_EQ(styled(2, "")(124, 75, kAlpha), 0);

  // VML: a hard shadow at its offset, in its colour and opacity.
  Pixels vml = Drawn(
      "<v:group xmlns:v=\"urn:schemas-microsoft-com:vml\" style=\"width:150pt;height:75pt\" "
      "coordsize=\"200,100\"><v:rect style=\"left:20;top:20;width:100;height:50\" "
      "fillcolor=\"#ffc000\" stroked=\"f\"><v:shadow on=\"t\" color=\"black\" opacity=\".5\" "
      "offset=\"6pt,6pt\"/></v:rect></v:group>",
      200, 100);
  EXPECT_NEAR(vml(124, 73, kAlpha), 128, 6);
  EXPECT_EQ(vml(132, 82, kAlpha), 0);
  Pixels off = Drawn(
      "<v:rect xmlns:v=\"urn:schemas-microsoft-com:vml\" style=\"width:75pt;height:37.5pt\">"
      "<v:shadow on=\"f\"/></v:rect>",
      100, 50);
  EXPECT_EQ(off(50, 25, kAlpha), 255);
}

TEST(Shape, HostileDrawingsStayBoundedAndWellFormed) {
  // nesting far deeper than any document, and more shapes than are drawn
  std::string deep = std::string("<wpg:wgp") + kNs + ">";
  for (int i = 0; i < 20000; ++i) deep += "<wpg:grpSp><wpg:grpSpPr/>";
  deep += Wsp(0, 0, 10, 10, Preset("rect"), "");
  for (int i = 0; i < 20000; ++i) deep += "</wpg:grpSp>";
  deep += "</wpg:wgp>";
  std::string many = std::string("<wpg:wgp") + kNs + ">";
  for (int i = 0; i < 4000; ++i)
    many += Wsp(i, i, 1e9, NAN, Preset("star32"), "", "<wps:bodyPr/>", " rot=\"1e300\"");
  many += "</wpg:wgp>";
  for (const std::string& xml : {deep, many,
                                 std::string("<v:group xmlns:v=\"urn:schemas-microsoft-com:vml\""
                                             " coordsize=\"0,0\" style=\"width:-5pt\"><v:shape "
                                             "path=\"m,l,,c1e308,x\"/></v:group>"),
                                 // shape types no int holds (the sanitizer build checks)
                                 std::string("<v:shape xmlns:v=\"urn:schemas-microsoft-com:vml\""
                                             " xmlns:o=\"urn:schemas-microsoft-com:office:office\""
                                             " o:spt=\"4e63\" style=\"width:20pt;height:10pt\"/>"),
                                 std::string("<v:shape xmlns:v=\"urn:schemas-microsoft-com:vml\""
                                             " type=\"#_x0000_t1e300\" style=\"width:20pt\"/>")}) {
    const Drawing d = ShapeSvg(xml, {}, 300, 200);
    EXPECT_LT(d.svg.size(), 8u << 20);
    pugi::xml_document doc;
    ParseSvg(doc, d.svg);
  }
  EXPECT_FALSE(ShapeSvg(many, {}, 300, 200).note.empty());
  const Drawing broken = ShapeSvg("<wps:wsp><unclosed>", {}, 300, 200);
  EXPECT_TRUE(broken.svg.empty());
  EXPECT_FALSE(broken.note.empty());
}

}  // namespace
}  // namespace qp::draw
