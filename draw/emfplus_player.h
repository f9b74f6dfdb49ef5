// The EMF+ player's state and its drawing, shared by the files that write
// each kind of record: emfplus.cpp (records, state, transforms),
// emfplus_paint.cpp (brushes, pens, clips, shapes), emfplus_text.cpp,
// emfplus_image.cpp.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/drawing.h"
#include "draw/emfplus_model.h"

namespace qp::draw::emfplus {

inline constexpr std::size_t kMaxRecords = 1u << 20;    // EMF+ records played
inline constexpr std::size_t kMaxSvgBytes = 48u << 20;  // drawing stops past this
inline constexpr std::size_t kMaxStack = 256;           // saved states and containers
inline constexpr std::size_t kMaxObjectBytes = 32u << 20;
inline constexpr std::uint32_t kObjectSlots = 64;
inline constexpr std::size_t kMaxTextLines = 200;
inline constexpr std::size_t kMaxGlyphs = 20000;
inline constexpr int kMaxDepth = 2;            // metafile images inside metafile images
inline constexpr std::size_t kMaxPlayed = 16;  // metafile images played, each at a size

// True when the bytes start with an EMF header this player can read.
bool IsEmf(std::string_view bytes);
// The whole player; `depth` counts metafiles inside metafiles.
std::optional<std::string> PlayEmf(std::string_view emf, int widthPx, int heightPx,
                                   const GdiPlayer& gdi, int depth);

// Flags of drawing records.
inline constexpr std::uint16_t kColorBrush = 0x8000;  // the brush id is an ARGB colour
inline constexpr std::uint16_t kCompressed = 0x4000;  // 16-bit integer coordinates
inline constexpr std::uint16_t kClosedOrAppend = 0x2000;
inline constexpr std::uint16_t kRelative = 0x0800;

inline std::string MatrixText(const Matrix& m) {
  return "matrix(" + Number(m.a) + " " + Number(m.b) + " " + Number(m.c) + " " + Number(m.d) + " " +
         Number(m.e) + " " + Number(m.f) + ")";
}

// Device pixels per unit (GDI+ UnitType), at the recording's dots per inch.
inline double UnitScale(std::uint32_t unit, double dpi) {
  switch (unit) {
    case 3:
      return dpi / 72;
    case 4:
      return dpi;
    case 5:
      return dpi / 300;
    case 6:
      return dpi / 25.4;
    default:  // world, display and pixel
      return 1;
  }
}

// A clip is an intersection of unions of shapes, in device pixels; shared,
// since every saved state holds one. Empty: no clip.
using ClipShapes = std::vector<RegionShape>;
using Clip = std::vector<std::shared_ptr<const ClipShapes>>;
inline constexpr std::size_t kMaxClips = 16;             // intersections kept
inline constexpr std::size_t kMaxClipPoints = 1u << 22;  // points of all clips made

struct State {
  std::uint32_t index = 0;
  bool container = false;
  Matrix world, base, page;
  Clip clip, baseClip;
};

class Player {
 public:
  Player(double dpiX, double dpiY, Matrix device, double width, double height, const GdiPlayer& gdi,
         int depth)
      : dpiX_(dpiX),
        dpiY_(dpiY),
        device_(device),
        width_(width),
        height_(height),
        gdi_(gdi),
        depth_(depth) {}

  void Play(std::uint16_t type, std::uint16_t flags, std::string_view data);
  void PlayDrawing(std::uint16_t type, std::uint16_t flags, std::string_view data, Reader& r);
  void PlayState(std::uint16_t type, std::uint16_t flags, Reader& r);
  void PlayClip(std::uint16_t type, std::uint16_t flags, Reader& r);
  bool Drew() const { return drew_; }
  bool Full() const { return out_.size() > kMaxSvgBytes; }
  std::string Finish();

 private:
  Matrix Current() const { return Then(Then(world_, base_), page_); }
  const Object* Slot(std::uint32_t id, std::uint32_t type) const;
  void Define(std::uint16_t flags, std::string_view data);

  // Paint of a brush (or of an ARGB colour when `colorBrush`) as the value
  // of a fill or stroke attribute with its opacity attribute.
  std::string PaintOf(const Brush& brush, std::string_view attribute);
  std::string BrushPaint(bool colorBrush, std::uint32_t id, std::string_view attribute);
  std::string PenPaint(std::uint32_t id);

  void OpenClip();
  void SetClip(std::uint32_t mode, ClipShapes shapes);
  void OffsetClip(double dx, double dy);
  void ClipTo(std::uint32_t mode, const Path& path);
  ClipShapes InDevice(const Region& region) const;

  void Shape(const Path& path, const std::string& attrs);
  void Fill(std::uint16_t flags, std::uint32_t brush, const Path& path, bool evenOdd = true);
  void Stroke(std::uint32_t pen, const Path& path);
  void Text(std::uint16_t flags, Reader& r);
  void DriverText(std::uint16_t flags, Reader& r);
  void Picture(std::uint16_t flags, Reader& r, bool points);
  void Save(std::uint32_t index, bool container);
  void Restore(std::uint32_t index);
  void Transform(std::uint16_t flags, const Matrix& m);

  double dpiX_, dpiY_;
  Matrix device_;  // device pixels to the picture's px
  double width_, height_;
  const GdiPlayer& gdi_;
  int depth_;  // metafiles inside metafiles
  // Metafile images played so far: the image (kept alive, so that its
  // address names it), the size, the data URI ("" when it drew nothing).
  struct Played {
    std::shared_ptr<const Image> image;
    int width = 0, height = 0;
    std::string uri;
  };
  std::vector<Played> played_;
  Matrix world_, base_, page_;
  Clip clip_, baseClip_;
  std::size_t clipPoints_ = 0;
  bool clipDirty_ = false;
  int openGroups_ = 0;
  std::vector<State> stack_;
  std::array<Object, kObjectSlots> objects_{};
  // An object arriving in pieces: its slot, type, announced size, bytes so far.
  struct Pending {
    std::uint32_t id = 0, type = 0;
    std::size_t total = 0;
    std::string bytes;
  } pending_;
  std::string out_;
  int ids_ = 0;
  bool drew_ = false;
};

}  // namespace qp::draw::emfplus
