#include "draw/picture.h"

#include <cstdint>
#include <cstring>
#include <functional>

#include "draw/chart.h"
#include "draw/isolated.h"
#include "draw/metafile.h"
#include "draw/shape.h"

namespace qp::draw {

namespace {

// The largest PNG a child may send back: 4096 x 4096 RGBA, uncompressed.
constexpr std::size_t kMaxPngBytes = 4096u * 4096u * 4u + (1u << 20);

// A Picture crosses the pipe as length-prefixed fields.
void PutField(std::string& out, std::string_view field) {
  auto n = static_cast<std::uint32_t>(field.size());
  char length[4];
  std::memcpy(length, &n, 4);
  out.append(length, 4);
  out.append(field);
}

bool TakeField(std::string_view& in, std::string& field) {
  std::uint32_t n = 0;
  if (in.size() < 4) return false;
  std::memcpy(&n, in.data(), 4);
  if (in.size() - 4 < n) return false;
  field.assign(in.substr(4, n));
  in.remove_prefix(4 + n);
  return true;
}

std::string Pack(const Picture& p) {
  std::string out;
  PutField(out, p.png);
  PutField(out, p.title);
  PutField(out, p.note);
  PutField(out, p.emptyDrawing ? "1" : "0");
  PutField(out, std::to_string(p.unknownGeometries));
  return out;
}

bool Unpack(std::string_view in, Picture& p) {
  std::string empty, unknown;
  if (!TakeField(in, p.png) || !TakeField(in, p.title) || !TakeField(in, p.note) ||
      !TakeField(in, empty) || !TakeField(in, unknown) || !in.empty()) {
    return false;
  }
  p.emptyDrawing = empty == "1";
  p.unknownGeometries = std::atoi(unknown.c_str());
  return true;
}

// From a drawing's SVG to the picture, in the child. A blank shape is a
// clear picture, as the document shows it; a blank metafile is one whose
// drawing this player cannot read (`blankIsEmpty`).
Picture FromDrawing(const Drawing& d, PixelSize size, bool blankIsEmpty = false) {
  Picture p;
  p.title = d.title;
  p.note = d.note;
  p.unknownGeometries = d.unknownGeometries;
  if (!d.svg.empty()) {
    bool blank = false;
    p.png = SvgToPng(d.svg, size, &blank);
    p.emptyDrawing = blank && blankIsEmpty;
    if (p.png.empty() && p.note.empty()) p.note = "the drawing could not be rasterised";
  } else if (p.note.empty()) {
    p.note = "nothing was drawn";
  }
  return p;
}

// Runs `draw` in a child with the time cap; a placeholder with `caption`
// stands in for anything that did not come out as a picture.
Picture Isolate(const std::function<Picture(PixelSize)>& draw, double widthPx, double heightPx,
                std::string_view caption) {
  PixelSize size = CapSize(widthPx, heightPx);
  WarmUpRasteriser();
  Isolated run = RunIsolated([&] { return Pack(draw(size)); }, kDrawCap, kMaxPngBytes);
  Picture p;
  if (!run.ok || !Unpack(run.bytes, p)) {
    p = Picture();
    p.note = "the drawing " + (run.ok ? std::string("failed") : run.why);
  }
  if (p.emptyDrawing) p.png.clear();
  if (p.png.empty()) {
    std::string text(caption);
    if (!p.title.empty()) text += ": " + p.title;
    p.png = PlaceholderPng(size, text);
    if (p.note.empty()) p.note = "nothing was drawn";
  }
  return p;
}

using Renderer = Drawing(std::string_view, const Palette&, double, double);

Picture DrawXml(Renderer* render, std::string_view xml, const Palette& palette, double widthPx,
                double heightPx, std::string_view caption) {
  return Isolate(
      [&](PixelSize size) {
        return FromDrawing(render(xml, palette, size.width, size.height), size);
      },
      widthPx, heightPx, caption);
}

}  // namespace

Picture DrawMetafile(std::string_view bytes, double widthPx, double heightPx) {
  MetafileKind kind = SniffMetafile(bytes);
  LoadMetafilePlayers();
  return Isolate(
      [&](PixelSize size) {
        Picture p;
        if (kind == MetafileKind::Emf) {
          Drawing d;
          d.svg = EmfToSvg(bytes, size);
          if (d.svg.empty()) d.note = "the EMF picture could not be read";
          p = FromDrawing(d, size, true);
          if (p.emptyDrawing) {
            p.note = EmfHasEmfPlus(bytes) ? "an EMF+ picture, whose records are not drawn"
                                          : "the EMF picture draws nothing";
          }
        } else if (kind == MetafileKind::Wmf) {
          p.png = WmfToPng(bytes, size);
          if (p.png.empty()) p.note = "the WMF picture could not be read";
        } else {
          p.note = "not a picture format that can be shown";
        }
        return p;
      },
      widthPx, heightPx, kind == MetafileKind::Wmf ? "WMF picture" : "EMF picture");
}

Picture DrawChart(std::string_view chartXml, const Palette& palette, double widthPx,
                  double heightPx) {
  return DrawXml(ChartSvg, chartXml, palette, widthPx, heightPx, "Chart");
}

Picture DrawShape(std::string_view drawingXml, const Palette& palette, double widthPx,
                  double heightPx) {
  return DrawXml(ShapeSvg, drawingXml, palette, widthPx, heightPx, "Drawing");
}

}  // namespace qp::draw
