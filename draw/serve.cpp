#include "draw/serve.h"

#include <stdexcept>

#include "draw/chart.h"
#include "draw/emf_records.h"
#include "draw/metafile.h"
#include "draw/request.h"
#include "draw/shape.h"
#include "draw/svg_safety.h"

namespace qp::draw {

namespace {

// From a drawing's SVG to the picture. A blank shape is a clear picture,
// as the document shows it; a blank metafile is one whose drawing this
// player cannot read (`blankIsEmpty`).
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

Picture PlayMetafile(std::string_view bytes, PixelSize size) {
  Picture p;
  MetafileKind kind = SniffMetafile(bytes);
  if (kind == MetafileKind::Emf) {
    // The player sees sound records only, and librsvg only what cannot
    // reach outside the drawing (text can break out of the player's SVG).
    std::string emf = SoundEmf(bytes);
    Drawing d;
    if (!emf.empty()) d.svg = SafeSvg(EmfToSvg(emf, size));
    if (d.svg.empty()) d.note = "the EMF picture could not be read";
    p = FromDrawing(d, size, true);
    if (p.emptyDrawing) {
      p.note = EmfHasEmfPlus(emf) ? "an EMF+ picture, whose records are not drawn"
                                  : "the EMF picture draws nothing";
    }
  } else if (kind == MetafileKind::Wmf) {
    p.png = WmfToPng(bytes, size);
    if (p.png.empty()) p.note = "the WMF picture could not be read";
  } else {
    p.note = "not a picture format that can be shown";
  }
  return p;
}

}  // namespace

std::string ServeRequest(std::string_view packed) {
  Request r;
  if (!UnpackRequest(packed, r)) throw std::runtime_error("malformed request");
  PixelSize size = CapSize(r.width, r.height);
  Picture p;
  if (r.kind == 'P') {
    p.png = PlaceholderPng(size, r.source);
    return PackPicture(p);
  }
  if (r.kind == 'M') {
    p = PlayMetafile(r.source, size);
  } else if (r.kind == 'C' || r.kind == 'S') {
    auto* render = r.kind == 'C' ? ChartSvg : ShapeSvg;
    p = FromDrawing(render(r.source, r.palette, size.width, size.height), size);
  } else {
    throw std::runtime_error("unknown request");
  }
  if (p.emptyDrawing) p.png.clear();
  if (p.png.empty()) {
    std::string text = Caption(r.kind, r.source);
    if (!p.title.empty()) text += ": " + p.title;
    p.png = PlaceholderPng(size, text);
    if (p.note.empty()) p.note = "nothing was drawn";
  }
  return PackPicture(p);
}

}  // namespace qp::draw
