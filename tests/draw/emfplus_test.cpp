// The EMF+ player on the examples of tests/draw/data/make_emfplus.py, one
// per record family, checked on the pixels librsvg draws from its SVG (and
// on the SVG where pixels cannot tell); then on hostile records.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "draw/emfplus.h"
#include "draw/raster.h"
#include "pixels.h"
#include "svg_check.h"

namespace qp::draw {
namespace {

using testing::All;
using testing::ParseSvg;

std::string Example(const std::string& name) {
  std::ifstream in(std::string(QP_TEST_DATA_DIR) + "/emfplus/" + name + ".emf", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_GT(s.str().size(), 100u) << name;
  return s.str();
}

// The example drawn at its own size, 200 x 200 px.
Decoded Drawn(const std::string& name, std::string* svgOut = nullptr) {
  std::optional<std::string> svg = EmfPlusToSvg(Example(name), 200, 200);
  EXPECT_TRUE(svg) << name;
  if (!svg) return {};
  if (svgOut) *svgOut = *svg;
  Decoded d = Decode(SvgToPng(*svg, {200, 200}));
  EXPECT_EQ(d.width, 200u) << name;
  return d;
}

// 0xRRGGBB of an opaque pixel; 0x1000000 plus the alpha when not opaque.
std::uint32_t Rgb(const Decoded& d, std::uint32_t x, std::uint32_t y) {
  if (d.width == 0) return 0xFFFFFFFF;
  std::uint32_t p = d.At(x, y);
  return (p & 0xFF) == 0xFF ? p >> 8 : 0x1000000 | (p & 0xFF);
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 24) {
  for (int shift : {0, 8, 16}) {
    int x = static_cast<int>(a >> shift & 0xFF), y = static_cast<int>(b >> shift & 0xFF);
    if (std::abs(x - y) > tolerance) return false;
  }
  return a >> 24 == b >> 24;
}

TEST(EmfPlus, ObjectsBrushesPensAndContinuedObjects) {
  std::string svg;
  Decoded d = Drawn("objects", &svg);
  EXPECT_EQ(Rgb(d, 50, 30), 0x00B050u);  // solid
  // the cross hatch shows both its colours
  int yellow = 0, black = 0;
  for (std::uint32_t x = 112; x < 188; ++x) {
    yellow += Rgb(d, x, 80) == 0xFFFF00;
    black += (d.At(x, 80) >> 24) < 0x80;  // the 1 px lines of the hatch, antialiased
  }
  EXPECT_GT(yellow, 30);
  EXPECT_GT(black, 3);
  // linear gradient through red, green, blue from left to right
  EXPECT_TRUE(Near(Rgb(d, 12, 130), 0xFF0000, 40)) << std::hex << Rgb(d, 12, 130);
  EXPECT_TRUE(Near(Rgb(d, 50, 130), 0x00FF00, 40)) << std::hex << Rgb(d, 50, 130);
  EXPECT_TRUE(Near(Rgb(d, 88, 130), 0x0000FF, 40)) << std::hex << Rgb(d, 88, 130);
  // path gradient: white centre, navy edge
  EXPECT_TRUE(Near(Rgb(d, 150, 150), 0xFFFFFF, 40)) << std::hex << Rgb(d, 150, 150);
  EXPECT_TRUE(Near(Rgb(d, 112, 150), 0x000080, 40)) << std::hex << Rgb(d, 112, 150);
  // dashed pen of 4 px: on its top edge some pixels red, some not
  int red = 0;
  for (std::uint32_t x = 12; x < 88; ++x) red += Rgb(d, x, 60) == 0xC00000;
  EXPECT_GT(red, 20);
  EXPECT_LT(red, 70);
  EXPECT_EQ(Rgb(d, 150, 30), 0xFF0000u);  // the texture's red
  // the path object that came in two records
  EXPECT_EQ(Rgb(d, 100, 35), 0x7030A0u);
}

TEST(EmfPlus, PathsInEveryStoredForm) {
  std::string svg;
  Decoded d = Drawn("paths", &svg);
  EXPECT_EQ(Rgb(d, 50, 50), 0xFFC000u);    // first figure of a two-figure path
  EXPECT_EQ(Rgb(d, 155, 30), 0xFFC000u);   // its second figure
  EXPECT_EQ(Rgb(d, 140, 160), 0x00B050u);  // relative points, run-length types
  EXPECT_EQ(Rgb(d, 140, 130) >> 24, 1u);   // outside the square: clear
  // the 16-bit Bezier is stroked as a curve, not as its control polygon
  pugi::xml_document doc;
  pugi::xml_node root = ParseSvg(doc, svg);
  bool curve = false;
  for (pugi::xml_node p : All(root, "path"))
    curve |= std::string(p.attribute("d").value()).find('C') != std::string::npos;
  EXPECT_TRUE(curve);
}

TEST(EmfPlus, ShapeRecords) {
  Decoded d = Drawn("shapes");
  EXPECT_EQ(Rgb(d, 30, 25), 0xFF0000u);  // fill rects, two of them
  EXPECT_EQ(Rgb(d, 80, 25), 0xFF0000u);
  EXPECT_LT(d.At(110, 25) >> 24, 0x20u);  // draw rects (16-bit): its left edge dark
  EXPECT_EQ(Rgb(d, 130, 25) >> 24, 1u);   // and clear inside
  EXPECT_EQ(Rgb(d, 40, 70), 0x00FF00u);   // fill ellipse
  EXPECT_EQ(Rgb(d, 12, 52) >> 24, 1u);    // outside the ellipse's curve, inside its box
  EXPECT_EQ(Rgb(d, 50, 140), 0x0000FFu);  // fill polygon
  // fill pie from 0 to 90 degrees: the lower right quarter only
  EXPECT_EQ(Rgb(d, 180, 80), 0xFF00FFu);
  EXPECT_NE(Rgb(d, 180, 60), 0xFF00FFu);
  EXPECT_NE(Rgb(d, 160, 80), 0xFF00FFu);
}

TEST(EmfPlus, TextIsEscapedAlignedAndStyled) {
  std::string svg;
  Drawn("text", &svg);
  pugi::xml_document doc;
  pugi::xml_node root = ParseSvg(doc, svg);
  std::vector<pugi::xml_node> texts = All(root, "text");
  ASSERT_EQ(texts.size(), 2u);
  // markup characters come back as the text they were
  EXPECT_STREQ(texts[0].child("tspan").child_value(), "A<b>&\"c\"");
  EXPECT_STREQ(texts[0].attribute("text-anchor").value(), "middle");
  EXPECT_STREQ(texts[0].attribute("font-weight").value(), "bold");
  EXPECT_NE(std::string(texts[0].attribute("font-family").value()).find("Liberation Sans"),
            std::string::npos);
  EXPECT_NEAR(texts[0].child("tspan").attribute("x").as_double(), 100, 0.01);  // centre of 0..200
  EXPECT_GT(texts[0].child("tspan").attribute("y").as_double(), 40);           // centred on 0..100
  EXPECT_LT(texts[0].child("tspan").attribute("y").as_double(), 65);
  // the driver string: characters at their given position
  EXPECT_STREQ(texts[1].child("tspan").child_value(), "Hi");
  EXPECT_NEAR(texts[1].child("tspan").attribute("x").as_double(), 20, 0.01);
  EXPECT_STREQ(texts[1].attribute("fill").value(), "#C00000");
}

TEST(EmfPlus, ImagesCompressedAndInPixels) {
  Decoded d = Drawn("image");
  EXPECT_EQ(Rgb(d, 50, 50), 0xFF0000u);    // PNG through DrawImage
  EXPECT_EQ(Rgb(d, 150, 50), 0x00FF00u);   // 24-bit pixels
  EXPECT_EQ(Rgb(d, 50, 150), 0x0000FFu);   // 8-bit indexed through DrawImagePoints
  EXPECT_EQ(Rgb(d, 150, 150), 0xFF8000u);  // an EMF+ picture inside
}

TEST(EmfPlus, TransformsStatesContainersClipsAndGdiHandOver) {
  const std::string emf = Example("transform");
  std::string handed;
  auto gdi = [&](std::string_view sub) {
    handed.assign(sub);
    return std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"200\"/>");
  };
  std::optional<std::string> svg = EmfPlusToSvg(emf, 200, 200, gdi);
  ASSERT_TRUE(svg);
  // the handed EMF: the header, the rectangle after GetDC (past a transform
  // record, which does not end the hand-over), an end record
  ASSERT_GE(handed.size(), 108u + 24 + 20);
  EXPECT_EQ(handed[0], 1);
  EXPECT_EQ(handed[108], 43);
  EXPECT_EQ(handed.size(), 108u + 24 + 20);
  EXPECT_NE(svg->find("data:image/svg+xml;base64,"), std::string::npos);

  Decoded d = Decode(SvgToPng(*svg, {200, 200}));
  EXPECT_EQ(Rgb(d, 56, 56), 0xFF0000u);  // translated by 10 mm, 10 mm wide
  EXPECT_EQ(Rgb(d, 30, 30) >> 24, 1u);
  EXPECT_EQ(Rgb(d, 9, 9), 0x0000FFu);     // restored: at the origin again
  EXPECT_EQ(Rgb(d, 120, 20), 0x00FF00u);  // the container's 10 x 10 as 40 x 40 px
  EXPECT_EQ(Rgb(d, 90, 20) >> 24, 1u);
  EXPECT_EQ(Rgb(d, 25, 120), 0xFF00FFu);   // inside the clip
  EXPECT_EQ(Rgb(d, 75, 120) >> 24, 1u);    // outside it
  EXPECT_EQ(Rgb(d, 160, 130), 0xFFFF00u);  // scaled, after a translation put before it
}

std::string Le32(std::uint32_t v) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(v >> (8 * i));
  return b;
}

std::string Record(std::uint16_t type, std::uint16_t flags, const std::string& data) {
  std::string r = Le32(type | std::uint32_t{flags} << 16) +
                  Le32(12 + static_cast<std::uint32_t>(data.size())) +
                  Le32(static_cast<std::uint32_t>(data.size())) + data;
  return r;
}

// An EMF of the examples' header, with an EMF+ header and `records` in
// one comment record.
std::string Emf(const std::string& records) {
  const std::string example = Example("text");
  std::string payload =
      "EMF+" + Record(0x4001, 0, Le32(0xDBC01002) + Le32(0) + Le32(96) + Le32(96)) + records;
  std::string comment = Le32(70) + Le32(12 + static_cast<std::uint32_t>(payload.size())) +
                        Le32(static_cast<std::uint32_t>(payload.size())) + payload;
  return example.substr(0, 108) + comment + example.substr(example.size() - 20);
}

TEST(EmfPlus, HostileRecordsAreCappedAndTruncationIsSafe) {
  // every prefix of every example: no crash, and any SVG is well-formed
  for (const char* name : {"objects", "paths", "shapes", "text", "image", "transform"}) {
    const std::string emf = Example(name);
    for (std::size_t n = 0; n <= emf.size(); n += 3) {
      std::optional<std::string> svg = EmfPlusToSvg(emf.substr(0, n), 50, 50);
      if (svg) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(svg->c_str())) << name << " cut at " << n;
      }
    }
  }
  const std::string fill =
      Record(0x400A, 0x8000, Le32(0xFF00FF00) + Le32(1) + std::string(16, '\0'));
  // a hundred thousand saves, a rectangle inside: the stack stays bounded
  std::string saves;
  for (int i = 0; i < 100000; ++i) saves += Record(0x4025, 0, Le32(static_cast<std::uint32_t>(i)));
  std::optional<std::string> deep = EmfPlusToSvg(Emf(saves + fill), 50, 50);
  ASSERT_TRUE(deep);
  EXPECT_LT(deep->size(), 100000u);
  // a thousand intersected clips: a bounded number of them nest
  std::string clips;
  for (int i = 0; i < 1000; ++i) clips += Record(0x4032, 0x0100, std::string(16, '\0')) + fill;
  std::optional<std::string> clipped = EmfPlusToSvg(Emf(clips), 50, 50);
  ASSERT_TRUE(clipped);
  int depth = 0, deepest = 0;
  for (std::size_t at = 0; at < clipped->size(); ++at) {
    if (clipped->compare(at, 3, "<g ") == 0) deepest = std::max(deepest, ++depth);
    if (clipped->compare(at, 4, "</g>") == 0) --depth;
  }
  EXPECT_LE(deepest, 20);
  // an object id past the table, a continued object announcing 4 GB, a
  // transform of NaN, counts past the record: ignored
  std::string nan(4, '\xFF');
  std::string hostile =
      Record(0x4008, 0x0100 | 200, Le32(0xDBC01002) + Le32(0) + Le32(0xFF0000FF)) +
      Record(0x4008, 0x8100 | 3, Le32(0xFFFFFFFF) + std::string(64, 'x')) +
      Record(0x402A, 0, nan + nan + nan + nan + nan + nan) +
      Record(0x400C, 0x8000, Le32(0xFF000000) + Le32(0x7FFFFFFF) + std::string(8, '\0')) +
      Record(0x4014, 200, Le32(0)) + fill;
  std::optional<std::string> svg = EmfPlusToSvg(Emf(hostile), 50, 50);
  ASSERT_TRUE(svg);
  pugi::xml_document doc;
  pugi::xml_node root = ParseSvg(doc, *svg);
  std::vector<pugi::xml_node> paths = All(root, "path");
  ASSERT_FALSE(paths.empty());
  EXPECT_STREQ(paths.back().attribute("transform").value(), "matrix(1 0 0 1 0 0)");
  // a metafile image that is no EMF is not handed to the GDI player
  std::string floats;
  for (float v : {0.f, 0.f, 1.f, 1.f, 0.f, 0.f, 10.f, 10.f})
    floats += Le32(std::bit_cast<std::uint32_t>(v));
  const std::string garbage =
      Record(0x4008, 0x0501, Le32(0xDBC01002) + Le32(2) + Le32(3) + Le32(8) + "garbage!") +
      Record(0x401A, 1, Le32(0) + Le32(2) + floats);
  int handedOther = 0;
  auto gdi = [&](std::string_view emf) {
    handedOther += emf.empty() || emf[0] != 1;
    return std::string();
  };
  EXPECT_TRUE(EmfPlusToSvg(Emf(garbage + fill), 50, 50, gdi));
  EXPECT_EQ(handedOther, 0);
  // a frame and bounds at the ends of their range
  std::string far = Emf(fill);
  for (std::size_t at : {8u, 24u}) far.replace(at, 8, Le32(0x80000000) + Le32(0x80000000));
  EXPECT_TRUE(EmfPlusToSvg(far, 50, 50));
  // a file without EMF+ drawing is left to the GDI player
  EXPECT_FALSE(EmfPlusToSvg(Emf(Record(0x4004, 0, "")), 50, 50));
  EXPECT_TRUE(EmfPlusToSvg(Emf(fill), 50, 50));
}

}  // namespace
}  // namespace qp::draw
