// What crosses the socket between the Drawer and the drawing helper: one
// request (what to draw, at what size, with which theme) and one packed
// Picture back. Both sides decode what the other sent as untrusted bytes.
#pragma once

#include <string>
#include <string_view>

#include "draw/drawing.h"

namespace qp::draw {

struct Request {
  char kind = 0;       // 'M' metafile, 'C' chart, 'S' shape, 'P' placeholder alone
  std::string source;  // the metafile's bytes, the part's XML, or the placeholder's caption
  Palette palette;
  double width = 0, height = 0;
};

std::string PackRequest(char kind, std::string_view source, const Palette* palette, double width,
                        double height);
// False when `in` is not one whole request.
bool UnpackRequest(std::string_view in, Request& r);

std::string PackPicture(const Picture& p);
bool UnpackPicture(std::string_view in, Picture& p);

// The placeholder's caption for an object of `kind` made from `source`.
std::string Caption(char kind, std::string_view source);

}  // namespace qp::draw
