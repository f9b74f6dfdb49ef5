// The drawing path below the engine: SVG to PNG at the object's size, the
// placeholder, the child process that contains crashes and hangs, and the
// metafile players fed what real and broken files hold.
#include <gtest/gtest.h>
#include <png.h>

#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "draw/isolated.h"
#include "draw/metafile.h"
#include "draw/picture.h"
#include "draw/raster.h"
#include "svg_check.h"

namespace qp::draw {
namespace {

using testing::Decode;
using testing::Decoded;

std::string Le32(std::uint32_t v) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(v >> (8 * i));
  return b;
}

// An EMF of a header and the end record only: nothing to draw, as in a
// file whose drawing is all in EMF+ comment records.
std::string EmptyEmf() {
  std::string header = Le32(1) + Le32(108);
  header += Le32(0) + Le32(0) + Le32(100) + Le32(100);          // bounds
  header += Le32(0) + Le32(0) + Le32(2000) + Le32(2000);        // frame, .01 mm
  header += " EMF" + Le32(0x10000) + Le32(108 + 20) + Le32(2);  // size, records
  header += std::string(2, '\0') + std::string(2, '\0') + Le32(0) + Le32(0) + Le32(0);
  header += Le32(1920) + Le32(1080) + Le32(508) + Le32(286);  // device, mm
  header += Le32(0) + Le32(0) + Le32(0) + Le32(508000) + Le32(286000);
  header.resize(108, '\0');
  return header + Le32(14) + Le32(20) + Le32(0) + Le32(0) + Le32(20);
}

TEST(Raster, DrawsSvgAtTheObjectsSizeAndTellsBlankFromDrawn) {
  const std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"30\" height=\"20\">"
      "<rect x=\"0\" y=\"0\" width=\"15\" height=\"20\" fill=\"#ff0000\"/></svg>";
  bool blank = true;
  Decoded d = Decode(SvgToPng(svg, {60, 40}, &blank));
  ASSERT_EQ(d.width, 60u);
  ASSERT_EQ(d.height, 40u);
  EXPECT_FALSE(blank);
  EXPECT_EQ(d.At(10, 20), 0xFF0000FFu);  // scaled to fill: the left half is red
  EXPECT_EQ(d.At(50, 20) & 0xFF, 0u);    // the right half stays clear

  SvgToPng("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"5\" height=\"5\"/>", {5, 5}, &blank);
  EXPECT_TRUE(blank);
  EXPECT_EQ(SvgToPng("<svg", {5, 5}), "");

  Decoded placeholder = Decode(PlaceholderPng({200, 100}, "グラフ: 売上の推移 (2024 年度)"));
  EXPECT_EQ(placeholder.width, 200u);
  EXPECT_EQ(placeholder.height, 100u);
  EXPECT_EQ(placeholder.At(0, 0) & 0xFF, 0xFFu);  // opaque frame

  EXPECT_EQ(CapSize(10000, 5000).width, kMaxSide);
  EXPECT_EQ(CapSize(10000, 5000).height, kMaxSide / 2);
  EXPECT_EQ(CapSize(0, -3).width, 1);
  EXPECT_EQ(CapSize(12.4, 7.6).height, 8);
}

TEST(Isolated, OneChildServesUntilACrashAHangOrAFloodCostsItsRequest) {
  // Each answer carries how many requests this child has served: the count
  // goes on across requests, and starts again in the child that follows a
  // lost one.
  IsolatedWorker worker(
      [served = 0](std::string_view request) mutable -> std::string {
        ++served;
        if (request == "crash") kill(getpid(), SIGKILL);  // as a sanitizer would end it
        if (request == "hang") {
          for (volatile bool forever = true; forever;) {
          }
        }
        if (request == "flood") return std::string(3 << 20, 'x');
        if (request == "throw") throw 1;
        return std::to_string(served) + std::string(request.size(), '.');
      },
      std::chrono::milliseconds(500), 1 << 20);
  std::string big(300000, 'r');  // more than a socket buffer, each way
  EXPECT_EQ(worker.Run("a").bytes, "1.");
  Isolated large = worker.Run(big);
  EXPECT_TRUE(large.ok);
  EXPECT_EQ(large.bytes, "2" + std::string(big.size(), '.'));

  Isolated thrown = worker.Run("throw");
  EXPECT_FALSE(thrown.ok);
  EXPECT_EQ(worker.Run("a").bytes, "4.");  // the same child goes on

  Isolated crash = worker.Run("crash");
  EXPECT_FALSE(crash.ok);
  EXPECT_EQ(crash.why, "crashed");
  EXPECT_EQ(worker.Run("a").bytes, "1.");

  Isolated hang = worker.Run("hang");
  EXPECT_FALSE(hang.ok);
  EXPECT_NE(hang.why.find("longer"), std::string::npos);
  Isolated flood = worker.Run("flood");
  EXPECT_FALSE(flood.ok);
  EXPECT_TRUE(flood.bytes.empty());
  EXPECT_EQ(worker.Run("a").bytes, "1.");
}

TEST(Metafile, EveryMetafileGivesAPictureOfItsSize) {
  EXPECT_EQ(SniffMetafile(EmptyEmf()), MetafileKind::Emf);
  EXPECT_EQ(SniffMetafile(std::string("\xD7\xCD\xC6\x9A", 4) + std::string(40, '\0')),
            MetafileKind::Wmf);
  EXPECT_EQ(SniffMetafile("\x89PNG\r\n\x1a\n"), MetafileKind::None);

  // Nothing drawn: a placeholder, counted as empty.
  Drawer drawer;
  Picture empty = drawer.Metafile(EmptyEmf(), 120, 80);
  EXPECT_TRUE(empty.emptyDrawing);
  EXPECT_FALSE(empty.note.empty());
  EXPECT_EQ(Decode(empty.png).width, 120u);

  // Cut short, or a WMF header followed by nothing sensible: a placeholder.
  for (const std::string& broken :
       {EmptyEmf().substr(0, 90), std::string("\xD7\xCD\xC6\x9A", 4) + std::string(60, '\x7f'),
        std::string("\1\0\x09\0", 4) + std::string(30, '\xff')}) {
    Picture p = drawer.Metafile(broken, 64, 48);
    Decoded d = Decode(p.png);
    EXPECT_EQ(d.width, 64u);
    EXPECT_EQ(d.height, 48u);
    EXPECT_FALSE(p.note.empty());
  }
}

}  // namespace
}  // namespace qp::draw
