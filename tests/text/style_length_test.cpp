#include "text/style_length.h"

#include <gtest/gtest.h>

namespace qp {
namespace {

// Offsets keep their sign, a unit may follow a blank, EMU are known, another
// unit leaves the number as it is, and a property is found by its whole name.
TEST(StyleLength, SignsAndUnitsOfVmlStyles) {
  const std::string_view style =
      "position:absolute;mso-width-percent:400;margin-left:-3.5in; "
      "width:12pt;height:2 cm;top:9525emu;rotation:914707fd;left:x";
  EXPECT_DOUBLE_EQ(StyleLengthPx(StyleValue(style, "margin-left"), 0), -336);
  EXPECT_DOUBLE_EQ(StyleLengthPx(StyleValue(style, "width"), 0), 16);
  EXPECT_DOUBLE_EQ(StyleLengthPx(StyleValue(style, "height"), 0), 2 * 96 / 2.54);
  EXPECT_DOUBLE_EQ(StyleLengthPx(StyleValue(style, "top"), 0), 1);
  EXPECT_DOUBLE_EQ(StyleLengthPx(StyleValue(style, "rotation"), 0), 914707);  // no unit of ours
  EXPECT_DOUBLE_EQ(StyleLengthPx(StyleValue(style, "left"), 7), 7);
  EXPECT_DOUBLE_EQ(StyleLengthPx(StyleValue(style, "mso-width"), 7), 7);  // not a property here
  EXPECT_DOUBLE_EQ(StyleLengthPx("-5mm", 0), -5 * 96 / 25.4);
  EXPECT_DOUBLE_EQ(StyleLengthPx("+3pt", 0), 4);
  EXPECT_DOUBLE_EQ(StyleLengthPx("nan", 7), 7);
  EXPECT_DOUBLE_EQ(StyleLengthPx("1e300in", 0), 1e7);
}

}  // namespace
}  // namespace qp
