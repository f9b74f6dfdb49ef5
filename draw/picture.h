// The pictures the Word engine asks for: a metafile, a chart or a shape
// drawn as PNG at the object's size. Each is drawn in a child process with
// a time cap (RunIsolated); what cannot be drawn gets a placeholder picture
// of the same size, and a note that says why.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "draw/drawing.h"
#include "draw/raster.h"

namespace qp::draw {

// The time one object may take to draw.
constexpr std::chrono::milliseconds kDrawCap{5000};

struct Picture {
  std::string png;            // always a PNG of the object's (capped) size
  std::string title;          // a title the object carries (a chart's), for alt text
  std::string note;           // when not empty, why a placeholder stands in
  bool emptyDrawing = false;  // the drawing came out blank (an EMF+ only file)
  int unknownGeometries = 0;
};

// An EMF or WMF picture (anything else gets a placeholder).
Picture DrawMetafile(std::string_view bytes, double widthPx, double heightPx);
// A chart part (word/charts/chartN.xml).
Picture DrawChart(std::string_view chartXml, const Palette& palette, double widthPx,
                  double heightPx);
// One top-level shape, group, canvas, SmartArt drawing or VML shape.
Picture DrawShape(std::string_view drawingXml, const Palette& palette, double widthPx,
                  double heightPx);

}  // namespace qp::draw
