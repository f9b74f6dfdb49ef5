#include "draw/picture.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

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

void PutNumber(std::string& out, double v) {
  char bytes[sizeof v];
  std::memcpy(bytes, &v, sizeof v);
  PutField(out, std::string_view(bytes, sizeof v));
}

bool TakeNumber(std::string_view& in, double& v) {
  std::string field;
  if (!TakeField(in, field) || field.size() != sizeof v) return false;
  std::memcpy(&v, field.data(), sizeof v);
  return true;
}

// What the worker is asked to draw.
struct Request {
  char kind = 0;       // 'M' metafile, 'C' chart, 'S' shape, 'P' placeholder alone
  std::string source;  // the metafile's bytes, the part's XML, or the placeholder's caption
  Palette palette;
  double width = 0, height = 0;
};

std::string PackRequest(char kind, std::string_view source, const Palette* palette, double width,
                        double height) {
  std::string out(1, kind);
  PutField(out, source);
  Palette none;
  const Palette& p = palette ? *palette : none;
  PutNumber(out, static_cast<double>(p.accents.size()));
  for (std::uint32_t c : p.accents) PutNumber(out, c);
  for (std::uint32_t c : {p.dark1, p.light1, p.dark2, p.light2}) PutNumber(out, c);
  PutField(out, p.latinFont);
  PutField(out, p.eastAsianFont);
  PutNumber(out, width);
  PutNumber(out, height);
  return out;
}

bool UnpackRequest(std::string_view in, Request& r) {
  if (in.empty()) return false;
  r.kind = in[0];
  in.remove_prefix(1);
  double count = 0;
  if (!TakeField(in, r.source) || !TakeNumber(in, count) || count < 0 || count > 64) return false;
  auto colour = [&](std::uint32_t& c) {
    double v = 0;
    if (!TakeNumber(in, v)) return false;
    c = static_cast<std::uint32_t>(v);
    return true;
  };
  r.palette.accents.resize(static_cast<std::size_t>(count));
  for (std::uint32_t& c : r.palette.accents) {
    if (!colour(c)) return false;
  }
  return colour(r.palette.dark1) && colour(r.palette.light1) && colour(r.palette.dark2) &&
         colour(r.palette.light2) && TakeField(in, r.palette.latinFont) &&
         TakeField(in, r.palette.eastAsianFont) && TakeNumber(in, r.width) &&
         TakeNumber(in, r.height) && in.empty();
}

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
}

std::string Caption(char kind, std::string_view source) {
  if (kind == 'C') return "Chart";
  if (kind == 'S') return "Drawing";
  return SniffMetafile(source) == MetafileKind::Wmf ? "WMF picture" : "EMF picture";
}

// The worker's side: one request in, one packed picture out. Anything that
// did not come out as a picture gets the placeholder here, where librsvg is
// loaded already.
std::string Serve(std::string_view packed) {
  Request r;
  if (!UnpackRequest(packed, r)) throw std::runtime_error("malformed request");
  PixelSize size = CapSize(r.width, r.height);
  Picture p;
  if (r.kind == 'P') {
    p.png = PlaceholderPng(size, r.source);
    return Pack(p);
  }
  if (r.kind == 'M') {
    p = PlayMetafile(r.source, size);
  } else {
    auto* render = r.kind == 'C' ? ChartSvg : ShapeSvg;
    p = FromDrawing(render(r.source, r.palette, size.width, size.height), size);
  }
  if (p.emptyDrawing) p.png.clear();
  if (p.png.empty()) {
    std::string text = Caption(r.kind, r.source);
    if (!p.title.empty()) text += ": " + p.title;
    p.png = PlaceholderPng(size, text);
    if (p.note.empty()) p.note = "nothing was drawn";
  }
  return Pack(p);
}

}  // namespace

Drawer::Drawer() : worker_(std::make_unique<IsolatedWorker>(Serve, kDrawCap, kMaxPngBytes)) {}

Drawer::~Drawer() = default;

Picture Drawer::Draw(char kind, std::string_view source, const Palette* palette, double widthPx,
                     double heightPx) {
  Isolated run = worker_->Run(PackRequest(kind, source, palette, widthPx, heightPx));
  Picture p;
  if (run.ok && Unpack(run.bytes, p) && !p.png.empty()) return p;
  // The worker crashed, hung or answered nonsense: a placeholder from a
  // fresh worker, or a bare frame when even that fails.
  p = Picture();
  p.note = "the drawing " + (run.ok ? std::string("failed") : run.why);
  std::string caption = Caption(kind, source);
  Isolated placeholder = worker_->Run(PackRequest('P', caption, nullptr, widthPx, heightPx));
  Picture drawn;
  if (placeholder.ok && Unpack(placeholder.bytes, drawn) && !drawn.png.empty()) {
    p.png = std::move(drawn.png);
  } else {
    p.png = FramePng(CapSize(widthPx, heightPx));
  }
  return p;
}

Picture Drawer::Metafile(std::string_view bytes, double widthPx, double heightPx) {
  if (bytes.size() <= kMaxMetafileBytes) return Draw('M', bytes, nullptr, widthPx, heightPx);
  Picture p = Draw('P', Caption('M', bytes), nullptr, widthPx, heightPx);
  p.note = "the metafile is larger than " + std::to_string(kMaxMetafileBytes >> 20) + " MB";
  return p;
}

Picture Drawer::Chart(std::string_view chartXml, const Palette& palette, double widthPx,
                      double heightPx) {
  return Draw('C', chartXml, &palette, widthPx, heightPx);
}

Picture Drawer::Shape(std::string_view drawingXml, const Palette& palette, double widthPx,
                      double heightPx) {
  return Draw('S', drawingXml, &palette, widthPx, heightPx);
}

}  // namespace qp::draw
