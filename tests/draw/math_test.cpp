// Equations laid out as pictures: where fractions, scripts, radicals and
// growing delimiters put their parts, the size the engine is told, and
// hostile nesting.
#include <gtest/gtest.h>

#include <string>

#include "draw/math_layout.h"
#include "svg_check.h"

namespace qp::draw {
namespace {

using testing::All;
using testing::Num;
using testing::ParseSvg;
using testing::ToPicture;

std::string Math(const std::string& inner) {
  return "<m:oMath xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\">" +
         inner + "</m:oMath>";
}
std::string R(const std::string& text) {
  return "<m:r><m:t>" + text + "</m:t></m:r>";
}

// The picture y of the text element holding `text`.
double TextY(pugi::xml_node svg, const std::string& text) {
  for (pugi::xml_node t : All(svg, "text"))
    if (text == t.child_value()) return ToPicture(t).Apply(Num(t, "x"), Num(t, "y")).second;
  ADD_FAILURE() << "no text " << text;
  return 0;
}

TEST(Math, PartsSitWhereTheyBelong) {
  const MathSize plain = MeasureMath(Math(R("x")));
  ASSERT_TRUE(plain.ok);

  // a fraction: numerator over the bar over the denominator, taller than a line
  const std::string fraction =
      Math("<m:f><m:num>" + R("a") + "</m:num><m:den>" + R("b") + "</m:den></m:f>");
  const MathSize fs = MeasureMath(fraction);
  EXPECT_GT(fs.height, plain.height * 1.5);
  pugi::xml_document doc;
  pugi::xml_node svg = ParseSvg(doc, MathSvg(fraction, fs.width, fs.height));
  const auto lines = All(svg, "line");
  ASSERT_EQ(lines.size(), 1u);
  const double bar = ToPicture(lines[0]).Apply(0, Num(lines[0], "y1")).second;
  EXPECT_LT(TextY(svg, "a"), bar);
  EXPECT_GT(TextY(svg, "b"), bar);

  // scripts: raised and lowered, smaller
  const std::string scripts = Math("<m:sSubSup><m:e>" + R("x") + "</m:e><m:sub>" + R("i") +
                                   "</m:sub><m:sup>" + R("2") + "</m:sup></m:sSubSup>");
  const MathSize ss = MeasureMath(scripts);
  pugi::xml_document doc2;
  svg = ParseSvg(doc2, MathSvg(scripts, ss.width, ss.height));
  EXPECT_LT(TextY(svg, "2"), TextY(svg, "x"));
  EXPECT_GT(TextY(svg, "i"), TextY(svg, "x"));
  for (pugi::xml_node t : All(svg, "text")) {
    if (std::string(t.child_value()) != "x") {
      EXPECT_LT(Num(t, "font-size"), Num(All(svg, "text")[0], "font-size"));
    }
  }

  // a radical draws its sign; delimiters grow round a fraction, not round a letter
  const MathSize root = MeasureMath(
      Math("<m:rad><m:radPr><m:degHide/></m:radPr><m:deg/><m:e>" + R("x") + "</m:e></m:rad>"));
  EXPECT_GT(root.width, plain.width);
  const std::string tall =
      Math("<m:d><m:e>" +
           fraction.substr(fraction.find("<m:f>"),
                           fraction.find("</m:oMath>") - fraction.find("<m:f>")) +
           "</m:e></m:d>");
  EXPECT_NE(MathSvg(tall, 100, 50).find("scale(1,"), std::string::npos);
  EXPECT_EQ(MathSvg(Math("<m:d><m:e>" + R("x") + "</m:e></m:d>"), 30, 20).find("scale(1,"),
            std::string::npos);
  // the sum's limits stand over and under its sign
  const std::string sum =
      Math("<m:nary><m:naryPr><m:chr m:val=\"∑\"/></m:naryPr><m:sub>" + R("k") + "</m:sub><m:sup>" +
           R("n") + "</m:sup><m:e>" + R("a") + "</m:e></m:nary>");
  const MathSize ns = MeasureMath(sum);
  pugi::xml_document doc3;
  svg = ParseSvg(doc3, MathSvg(sum, ns.width, ns.height));
  EXPECT_LT(TextY(svg, "n"), TextY(svg, "∑") - 10);
  EXPECT_GT(TextY(svg, "k"), TextY(svg, "∑"));
}

TEST(Math, OnlyEquationsAndBoundedNesting) {
  EXPECT_FALSE(IsMath("<w:p/>"));
  EXPECT_TRUE(IsMath("<m:oMathPara xmlns:m=\"x\"/>"));
  EXPECT_FALSE(MeasureMath("<m:oMath xmlns:m=\"x\"/>").ok);  // nothing to show
  EXPECT_FALSE(MeasureMath("<m:oMath").ok);
  EXPECT_EQ(MathSvg("<w:p/>", 10, 10), "");
  // thousands of nested fractions and a long run stay bounded and well-formed
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<m:f><m:num>" + R("1") + "</m:num><m:den>";
  deep += R("2");
  for (int i = 0; i < 100000; ++i) deep += "</m:den></m:f>";
  const MathSize size = MeasureMath(Math(deep + R(std::string(100000, 'x'))));
  ASSERT_TRUE(size.ok);
  pugi::xml_document doc;
  ParseSvg(doc, MathSvg(Math(deep), 100, 100));
  // megabytes of runs, or of empty parts between separators, draw a bounded
  // picture: the measuring happens in the page-writing process
  std::string runs, parts;
  for (int i = 0; i < 100000; ++i) runs += R(std::string(40, 'x'));
  for (int i = 0; i < 200000; ++i) parts += "<m:e/>";
  for (const std::string& hostile : {Math(runs), Math("<m:d>" + parts + "</m:d>")}) {
    const MathSize hs = MeasureMath(hostile);
    ASSERT_TRUE(hs.ok);
    EXPECT_LT(MathSvg(hostile, 100, 100).size(), 4u << 20);
  }
}

}  // namespace
}  // namespace qp::draw
