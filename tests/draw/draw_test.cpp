// The drawing path below the engine: SVG to PNG at the object's size, the
// placeholder, the helper process that contains crashes and hangs and is
// confined, the requests it takes, and the metafile players fed what real
// and broken files hold.
#include <gtest/gtest.h>
#include <png.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/emf_records.h"
#include "draw/isolated.h"
#include "draw/metafile.h"
#include "draw/picture.h"
#include "draw/raster.h"
#include "draw/request.h"
#include "draw/svg_safety.h"
#include "pixels.h"
#include "svg_check.h"
#include "sys/child_process.h"

// This program draws text in its own process (the Raster test), where
// pango keeps fontconfig's patterns for the process's lifetime; the helper
// program, whose lifetime is one document's, does the same unchecked.
// Nothing of ours is suppressed.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace qp::draw {
namespace {

using testing::Decode;
using testing::Decoded;

std::string Le32(std::uint32_t v) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(v >> (8 * i));
  return b;
}

// An EMF of a header, `records` and the end record.
std::string Emf(const std::string& records, std::uint32_t count) {
  const std::string end = Le32(14) + Le32(20) + Le32(0) + Le32(0) + Le32(20);
  const auto size = static_cast<std::uint32_t>(108 + records.size() + end.size());
  std::string header = Le32(1) + Le32(108);
  header += Le32(0) + Le32(0) + Le32(100) + Le32(100);              // bounds
  header += Le32(0) + Le32(0) + Le32(2000) + Le32(2000);            // frame, .01 mm
  header += " EMF" + Le32(0x10000) + Le32(size) + Le32(count + 2);  // size, records
  header += std::string("\2\0", 2) + std::string(2, '\0') + Le32(0) + Le32(0) + Le32(0);
  header += Le32(1920) + Le32(1080) + Le32(508) + Le32(286);  // device, mm
  header += Le32(0) + Le32(0) + Le32(0) + Le32(508000) + Le32(286000);
  header.resize(108, '\0');
  return header + records + end;
}

// Nothing to draw, as in a file whose drawing is all in EMF+ comment records.
std::string EmptyEmf() {
  return Emf("", 0);
}

// A red brush selected, and a rectangle over the whole picture.
std::string RedSquareEmf() {
  const std::string brush = Le32(39) + Le32(24) + Le32(1) + Le32(0) + Le32(0x000000FF) + Le32(0);
  const std::string select = Le32(37) + Le32(12) + Le32(1);
  const std::string rectangle = Le32(43) + Le32(24) + Le32(0) + Le32(0) + Le32(100) + Le32(100);
  return Emf(brush + select + rectangle, 3);
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

// The stand-in helper, started as the Drawer starts the real one.
sys::ChildSetup Probe(bool confined) {
  sys::ChildSetup setup;
  setup.arguments = {QP_DRAW_HELPER_PROBE};
  if (confined) setup.arguments.push_back("--confined");
  setup.arguments.push_back("--parent=" + std::to_string(getpid()));
  setup.environment = sys::ChildEnvironment();
  return setup;
}

// An EMF that writes `text` (ASCII) with EMR_EXTTEXTOUTW, its header
// counting `records` records and `bytes` bytes.
std::string TextEmf(const std::string& text) {
  std::string utf16;
  for (char c : text) utf16 += std::string{c, '\0'};
  utf16.resize((utf16.size() + 3) / 4 * 4, '\0');
  const auto n = static_cast<std::uint32_t>(text.size());
  std::string body = Le32(0) + Le32(0) + Le32(100) + Le32(100) + Le32(1);  // bounds, mode
  body += Le32(0x3F800000) + Le32(0x3F800000);                             // scales 1.0
  body += Le32(10) + Le32(50) + Le32(n) + Le32(76) + Le32(0);              // at, chars, offset
  body += Le32(0) + Le32(0) + Le32(100) + Le32(100) + Le32(76 + utf16.size());
  body += utf16;
  for (std::uint32_t i = 0; i < n; ++i) body += Le32(8);
  std::string record = Le32(84) + Le32(8 + body.size()) + body;
  std::string emf = EmptyEmf();
  return emf.substr(0, 108) + record + emf.substr(108);
}

TEST(Metafile, EmfTextCannotWriteMarkupIntoTheDrawing) {
  const std::string hostile = TextEmf(
      "]]></text><image xlink:href=\"file:///etc/passwd\" width=\"9\" height=\"9\"/>"
      "<text><![CDATA[");
  // The player writes the text out of its CDATA section, as markup.
  const std::string played = EmfToSvg(SoundEmf(hostile), {100, 100});
  ASSERT_NE(played.find("<image xlink:href=\"file:"), std::string::npos) << played;
  const std::string safe = SafeSvg(played);
  EXPECT_EQ(safe.find("file:"), std::string::npos) << safe;
  EXPECT_NE(safe.find("<text"), std::string::npos) << safe;

  // Whatever else could reach outside the drawing goes; the drawing stays.
  const std::string svg =
      "<?xml-stylesheet href=\"file:///x.css\"?><!DOCTYPE svg [<!ENTITY e SYSTEM "
      "\"file:///etc/passwd\">]><svg xmlns=\"http://www.w3.org/2000/svg\" "
      "xmlns:xlink=\"http://www.w3.org/1999/xlink\" xmlns:xi=\"http://www.w3.org/2001/XInclude\">"
      "<defs><clipPath id=\"c\"><rect width=\"5\" height=\"5\"/></clipPath></defs>"
      "<xi:include href=\"file:///etc/passwd\" parse=\"text\"/>"
      "<include xmlns=\"http://www.w3.org/2001/XInclude\" href=\"/etc/passwd\"/>"
      "<style>@import url(file:///x.css);</style><script>alert(1)</script>"
      "<foreignObject><p xmlns=\"http://www.w3.org/1999/xhtml\">x</p></foreignObject>"
      "<use xlink:href=\"file:///y.svg#a\"/><image href=\" http://example.com/a.png\"/>"
      "<image xlink:href=\"data:image/png;base64,iVBO\"/><image "
      "xlink:href=\"data:image/svg+xml,x\"/>"
      "<path d=\"M0 0h5\" clip-path=\"url(#c)\" filter=\"url(file:///f.svg#b)\" "
      "onload=\"alert(1)\" xml:base=\"file:///\"/><text><![CDATA[a]]>&e;</text></svg>";
  const std::string cleaned = SafeSvg(svg);
  for (const char* gone : {"file:", "XInclude", "xhtml", "http://example", "alert", "@import",
                           "svg+xml", "onload", "xml:base", "ENTITY", "stylesheet"}) {
    EXPECT_EQ(cleaned.find(gone), std::string::npos) << gone << " in " << cleaned;
  }
  for (const char* kept : {"clip-path=\"url(#c)\"", "data:image/png;base64,iVBO", "<![CDATA[a]]>",
                           "xmlns:xlink=", "<clipPath id=\"c\">"}) {
    EXPECT_NE(cleaned.find(kept), std::string::npos) << kept << " not in " << cleaned;
  }
  EXPECT_EQ(SafeSvg("<svg><g></svg>"), "");
  EXPECT_EQ(SafeSvg("<html/>"), "");
}

TEST(Metafile, ThePlayerSeesSoundRecordsEndedByTheirEndRecord) {
  const std::string whole = TextEmf("Ab");
  auto records = [](const std::string& emf) { return static_cast<std::uint8_t>(emf[52]); };
  auto bytes = [](const std::string& emf) {
    std::uint32_t n = 0;
    std::memcpy(&n, emf.data() + 48, 4);
    return n;
  };
  EXPECT_EQ(SoundEmf(whole), whole.substr(0, 48) + Le32(whole.size()) + Le32(3) + whole.substr(56));
  // Cut inside the text record, or without the end record: the records
  // that fit, then an end record, and the header counts what is there.
  for (std::size_t cut : {whole.size() - 20, whole.size() - 24}) {
    const std::string sound = SoundEmf(whole.substr(0, cut));
    EXPECT_EQ(sound.substr(sound.size() - 20, 8), Le32(14) + Le32(20)) << cut;
    EXPECT_EQ(bytes(sound), sound.size()) << cut;
  }
  EXPECT_EQ(records(SoundEmf(whole.substr(0, whole.size() - 20))), 3);
  EXPECT_EQ(records(SoundEmf(whole.substr(0, whole.size() - 24))), 2);
  EXPECT_EQ(records(SoundEmf(whole.substr(0, 130))), 2);
  // A record that claims more than the file holds, or a size that is no
  // multiple of 4, ends the walk there.
  std::string lying = whole;
  lying.replace(112, 4, Le32(0x7FFFFFF0));
  EXPECT_EQ(SoundEmf(lying).size(), 108u + 20u);
  lying.replace(112, 4, Le32(10));
  EXPECT_EQ(SoundEmf(lying).size(), 108u + 20u);
  // A description that lies outside the header is dropped.
  std::string described = whole;
  described.replace(60, 8, Le32(1000) + Le32(100));
  EXPECT_EQ(SoundEmf(described).substr(60, 8), Le32(0) + Le32(0));
  // Not an EMF header: nothing for the player.
  EXPECT_EQ(SoundEmf(whole.substr(0, 60)), "");
  EXPECT_EQ(SoundEmf(Le32(2) + whole.substr(4)), "");
}

TEST(Isolated, OneHelperServesUntilACrashAHangOrAFloodCostsItsRequest) {
  // Each answer carries how many requests this helper has served: the count
  // goes on across requests, and starts again in the helper that follows a
  // lost one.
  IsolatedWorker worker(Probe(false), {}, std::chrono::milliseconds(500), 1 << 20);
  std::string big(300000, 'r');  // more than a socket buffer, each way
  EXPECT_EQ(worker.Run("a").bytes, "1.");
  Isolated large = worker.Run(big);
  EXPECT_TRUE(large.ok);
  EXPECT_EQ(large.bytes, "2" + std::string(big.size(), '.'));

  Isolated thrown = worker.Run("throw");
  EXPECT_FALSE(thrown.ok);
  EXPECT_EQ(worker.Run("a").bytes, "4.");  // the same helper goes on

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
  EXPECT_EQ(worker.Started(), 4);

  IsolatedWorker missing({{"/nonexistent/quillpage-draw"}, {}}, {}, std::chrono::milliseconds(500),
                         1);
  EXPECT_EQ(missing.Run("a").why, "found no drawing helper to run");
}

TEST(Isolated, AConfinedHelperReadsFontsAndNothingElseWritesConnectsStartsOrTouchesNothing) {
  char folder[] = "/tmp/qp-confine-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string dir = folder, secret = dir + "/secret", out = dir + "/out",
                    socketPath = dir + "/socket";
  {
    FILE* f = std::fopen(secret.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("secret", f);
    std::fclose(f);
  }
  int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 4), 0);
  const std::vector<std::string> attempts = {"write:" + out, "read:" + secret,
                                             "connect:" + socketPath, "exec", "kill"};
  // Unconfined, each attempt succeeds: the probes can tell.
  {
    IsolatedWorker free(Probe(false), {}, std::chrono::seconds(5), 1 << 20);
    for (const std::string& a : attempts) EXPECT_EQ(free.Run(a).bytes, "allowed") << a;
  }
  std::remove(out.c_str());
  IsolatedWorker confined(Probe(true), {}, std::chrono::seconds(10), 1 << 20);
  EXPECT_EQ(confined.Run("read:/etc/fonts/fonts.conf").bytes, "allowed");
  std::vector<std::string> refused = attempts;
  refused.insert(refused.end(), {"ptrace", "write:/dev/shm/qp-confine", "read:/etc/passwd"});
  for (const std::string& a : refused) {
    Isolated r = confined.Run(a);
    EXPECT_TRUE(r.ok) << a << ": " << r.why;
    EXPECT_EQ(r.bytes.rfind("refused", 0), 0u) << a << ": " << r.bytes;
  }
  EXPECT_EQ(confined.Started(), 1);  // no attempt killed it
  EXPECT_FALSE(std::filesystem::exists(out));
  close(listener);
  std::filesystem::remove_all(dir);
}

TEST(Request, DecodingTakesWhatThePackerWroteAndRefusesEverythingElse) {
  Palette palette;
  palette.accents = {0x112233, 0x445566};
  palette.latinFont = "Calibri";
  palette.effectStyles = "<a:effectStyleLst/>";
  const std::string packed = PackRequest('C', "<c:chartSpace/>", &palette, 320.5, 200);
  Request r;
  ASSERT_TRUE(UnpackRequest(packed, r));
  EXPECT_EQ(r.kind, 'C');
  EXPECT_EQ(r.source, "<c:chartSpace/>");
  EXPECT_EQ(r.palette.accents, palette.accents);
  EXPECT_EQ(r.palette.latinFont, "Calibri");
  EXPECT_EQ(r.palette.effectStyles, palette.effectStyles);
  EXPECT_EQ(r.width, 320.5);
  for (std::size_t n = 0; n < packed.size(); ++n) {
    EXPECT_FALSE(UnpackRequest(std::string_view(packed).substr(0, n), r)) << n;
  }
  EXPECT_FALSE(UnpackRequest(packed + "x", r));
  // A count or a colour that no packer writes (NaN, negative, past 32
  // bits) is refused before it is converted: the sanitizer build checks.
  const std::size_t countAt = 1 + 4 + 15 + 4, colourAt = countAt + 8 + 4;
  for (double bad : {std::nan(""), -1.0, 1e300}) {
    for (std::size_t at : {countAt, colourAt}) {
      std::string hostile = packed;
      std::memcpy(hostile.data() + at, &bad, sizeof bad);
      EXPECT_FALSE(UnpackRequest(hostile, r)) << at << " " << bad;
    }
  }
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

  // A drawing: drawn at the size it is shown, no note.
  Picture drawn = drawer.Metafile(RedSquareEmf(), 120, 80);
  Decoded square = Decode(drawn.png);
  EXPECT_FALSE(drawn.emptyDrawing);
  EXPECT_EQ(drawn.note, "");
  ASSERT_EQ(square.width, 120u);
  ASSERT_EQ(square.height, 80u);
  EXPECT_EQ(square.At(60, 40), 0xFF0000FFu);

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
