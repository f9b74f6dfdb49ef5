#include "draw/request.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "draw/metafile_kind.h"

namespace qp::draw {

namespace {

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

}  // namespace

std::string PackPicture(const Picture& p) {
  std::string out;
  PutField(out, p.png);
  PutField(out, p.title);
  PutField(out, p.note);
  PutField(out, p.emptyDrawing ? "1" : "0");
  PutField(out, std::to_string(p.unknownGeometries));
  return out;
}

bool UnpackPicture(std::string_view in, Picture& p) {
  std::string empty, unknown;
  if (!TakeField(in, p.png) || !TakeField(in, p.title) || !TakeField(in, p.note) ||
      !TakeField(in, empty) || !TakeField(in, unknown) || !in.empty()) {
    return false;
  }
  p.emptyDrawing = empty == "1";
  p.unknownGeometries = std::atoi(unknown.c_str());
  return true;
}

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
  PutField(out, p.effectStyles);
  PutNumber(out, width);
  PutNumber(out, height);
  return out;
}

bool UnpackRequest(std::string_view in, Request& r) {
  if (in.empty()) return false;
  r.kind = in[0];
  in.remove_prefix(1);
  double count = 0;
  // Negated comparisons, so that NaN fails them too: a number out of its
  // type's range is never converted.
  if (!TakeField(in, r.source) || !TakeNumber(in, count) || !(count >= 0 && count <= 64)) {
    return false;
  }
  auto colour = [&](std::uint32_t& c) {
    double v = 0;
    if (!TakeNumber(in, v) || !(v >= 0 && v <= 0xFFFFFFFF)) return false;
    c = static_cast<std::uint32_t>(v);
    return true;
  };
  r.palette.accents.resize(static_cast<std::size_t>(count));
  for (std::uint32_t& c : r.palette.accents) {
    if (!colour(c)) return false;
  }
  return colour(r.palette.dark1) && colour(r.palette.light1) && colour(r.palette.dark2) &&
         colour(r.palette.light2) && TakeField(in, r.palette.latinFont) &&
         TakeField(in, r.palette.eastAsianFont) && TakeField(in, r.palette.effectStyles) &&
         TakeNumber(in, r.width) && TakeNumber(in, r.height) && in.empty();
}

std::string Caption(char kind, std::string_view source) {
  if (kind == 'C') return "Chart";
  if (kind == 'S') return "Drawing";
  return SniffMetafile(source) == MetafileKind::Wmf ? "WMF picture" : "EMF picture";
}

}  // namespace qp::draw
