// The EMF+ player's pieces: a bounds-checked little-endian reader, affine
// matrices, and the graphics objects a metafile defines (brushes, pens,
// paths, regions, images, fonts, string formats), each read from its
// serialised form by a function that refuses what it cannot read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qp::draw::emfplus {

// Caps on what a hostile file can ask for.
inline constexpr std::size_t kMaxPathPoints = 1u << 18;
inline constexpr std::size_t kMaxColors = 1024;             // gradient stops, surround colours
inline constexpr std::uint64_t kMaxImagePixels = 1u << 24;  // 4096 x 4096
inline constexpr int kMaxRegionDepth = 32;
inline constexpr double kMaxCoefficient = 1e9;  // matrix entries beyond are refused

// Reads little-endian fields; a read past the end sets `failed` and gives 0.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : b_(bytes) {}
  std::size_t Left() const { return failed ? 0 : b_.size() - at_; }
  std::size_t Offset() const { return at_; }
  bool failed = false;

  std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Take(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Take(4)); }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  float F32() {
    std::uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  std::string_view Bytes(std::size_t n) {
    if (failed || n > b_.size() - at_) {
      failed = true;
      return {};
    }
    std::string_view out = b_.substr(at_, n);
    at_ += n;
    return out;
  }
  void Skip(std::size_t n) { Bytes(n); }
  std::string_view Rest() { return Bytes(Left()); }

 private:
  std::uint64_t Take(std::size_t n) {
    std::string_view s = Bytes(n);
    std::uint64_t v = 0;
    for (std::size_t i = s.size(); i-- > 0;) v = v << 8 | static_cast<std::uint8_t>(s[i]);
    return v;
  }
  std::string_view b_;
  std::size_t at_ = 0;
};

struct Point {
  double x = 0, y = 0;
};

struct Rect {
  double x = 0, y = 0, w = 0, h = 0;
};

// x' = a x + c y + e, y' = b x + d y + f (the SVG order, and the order the
// file stores M11 M12 M21 M22 Dx Dy in).
struct Matrix {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Point Apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  // How much the matrix scales a length, on average.
  double Scale() const;
  bool Finite() const;
};
// `outer` after `inner`.
Matrix Then(const Matrix& inner, const Matrix& outer);
Matrix Translation(double dx, double dy);
Matrix Scaling(double sx, double sy);
// A matrix from the file; nothing when an entry is not finite or too large.
std::optional<Matrix> ReadMatrix(Reader& r);

// 0xAARRGGBB as the file stores it.
struct Argb {
  std::uint32_t value = 0xFF000000;
  std::uint32_t Rgb() const { return value & 0xFFFFFF; }
  double Alpha() const { return static_cast<double>(value >> 24) / 255.0; }
};

// A path: points with GDI+ point types (low nibble 0 start, 1 line, 3
// Bezier; 0x80 closes the figure).
struct Path {
  std::vector<Point> points;
  std::vector<std::uint8_t> types;
};

enum class BrushKind { Solid, Hatch, Texture, PathGradient, LinearGradient };

struct Stop {
  double offset = 0;
  Argb color;
};

struct Brush {
  BrushKind kind = BrushKind::Solid;
  Argb color;  // solid; the hatch's foreground; the gradient's first colour
  Argb back;   // the hatch's background
  std::uint32_t hatch = 0;
  int wrap = 0;             // 0 tile, 1..3 flipped tiles, 4 clamp
  Rect rect;                // linear gradient: its rectangle
  Point center;             // path gradient: its centre
  Rect bounds;              // path gradient: its boundary's bounding box
  std::vector<Stop> stops;  // gradients, offsets 0..1 from start (from centre for paths)
  std::optional<Matrix> transform;
  std::shared_ptr<const struct Image> texture;  // a texture's image, one pixel a unit
};

inline Brush SolidBrush(Argb color) {
  Brush b;
  b.color = color;
  return b;
}

struct Pen {
  double width = 1;
  std::uint32_t unit = 0;  // 0 world; otherwise a unit of the device
  int startCap = 0, endCap = 0;
  std::uint32_t join = 0;
  double miterLimit = 10;
  int style = 0;               // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 custom
  std::vector<double> dashes;  // custom dash lengths, in widths
  Brush brush;
};

// A region as a union of shapes to clip with; `infinite` when it clips
// nothing, an empty list when it clips everything.
struct RegionShape {
  Path path;
  bool evenOdd = false;
};
struct Region {
  bool infinite = false;
  std::vector<RegionShape> shapes;
};

struct Image {
  std::string dataUri;   // empty: pixels that cannot be read, or a metafile; drawn blank
  std::string metafile;  // an EMF inside the metafile, played where it is drawn
  double width = 0, height = 0;
};

struct Font {
  double emSize = 12;
  std::uint32_t unit = 3;
  std::uint32_t style = 0;  // 1 bold, 2 italic, 4 underline, 8 strikeout
  std::string family;       // UTF-8
};

struct StringFormat {
  std::uint32_t flags = 0;                 // 0x1 right to left, 0x1000 no wrap
  std::uint32_t align = 0, lineAlign = 0;  // 0 near, 1 centre, 2 far
};

// One slot of the object table.
struct Object {
  std::uint32_t type = 0;  // 1 brush .. 7 string format; 0 empty
  std::shared_ptr<const Brush> brush;
  std::shared_ptr<const Pen> pen;
  std::shared_ptr<const Path> path;
  std::shared_ptr<const Region> region;
  std::shared_ptr<const Image> image;
  std::shared_ptr<const Font> font;
  std::shared_ptr<const StringFormat> format;
};

// Object readers; each takes the object's whole serialised data.
std::optional<Brush> ReadBrush(std::string_view data);
std::optional<Pen> ReadPen(std::string_view data);
std::optional<Path> ReadPath(std::string_view data);
std::optional<Region> ReadRegion(std::string_view data);
std::optional<Image> ReadImage(std::string_view data);
std::optional<Font> ReadFont(std::string_view data);
std::optional<StringFormat> ReadStringFormat(std::string_view data);
Object ReadObject(std::uint32_t type, std::string_view data);

// Points in the three stored forms: 16-bit integers (`compressed`),
// relative 7- or 15-bit steps (`relative`), or floats.
std::vector<Point> ReadPoints(Reader& r, std::size_t count, bool compressed, bool relative);
Rect ReadRect(Reader& r, bool compressed);

// Uncompressed GDI+ pixels as a PNG; "" for a format not read here.
std::string PixelsToPng(std::uint32_t width, std::uint32_t height, std::uint32_t stride,
                        std::uint32_t format, std::string_view data);
std::string Base64(std::string_view bytes);

// Geometry as paths, in the coordinates given.
Path RectPath(const Rect& rc);
// An elliptic arc in `rc` from `start` through `sweep` degrees (clockwise,
// measured as GDI+ measures them on the ellipse); a pie closes through the
// centre. A sweep of a full turn or more is the whole ellipse.
Path ArcPath(const Rect& rc, double start, double sweep, bool pie);
Path EllipsePath(const Rect& rc);
// Points joined by lines, or by Beziers (1 + 3n points).
Path PolyPath(const std::vector<Point>& points, bool closed, bool bezier = false);
// A cardinal spline through the points with GDI+'s tension (0.5 is the default).
Path CurvePath(const std::vector<Point>& points, double tension, bool closed);
// A number for the SVG with eight significant digits (coordinates reach
// millions of units under transforms of a millionth); 0 when not finite.
std::string Number(double value);
// SVG path data of `path`, its points through `m` when given.
std::string PathData(const Path& path, const Matrix* m = nullptr);

}  // namespace qp::draw::emfplus
