// The pictures the Word engine asks for: a metafile, a chart or a shape
// drawn as PNG at the object's size. They are drawn by the drawing helper
// (quillpage-draw, a confined program of its own), each with a time cap
// (IsolatedWorker); what cannot be drawn gets a placeholder picture of the
// same size, and a note that says why.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "draw/drawing.h"
#include "draw/isolated.h"
#include "draw/raster.h"

namespace qp::draw {

// The time one object may take to draw.
constexpr std::chrono::milliseconds kDrawCap{5000};

// Draws one document's objects. The helper is started by Prepare, or on
// the first object, and serves the objects after it: a document without
// drawings starts none, and the process that writes the page never loads
// the drawing libraries.
class Drawer {
 public:
  Drawer();
  ~Drawer();
  Drawer(const Drawer&) = delete;
  Drawer& operator=(const Drawer&) = delete;

  // Starts the helper ahead of the first object, for a document that is
  // known to hold drawings while the rest of it is still being read.
  void Prepare() { worker_->Prepare(); }
  // How many helpers this document has started.
  int Started() const { return worker_->Started(); }

  // An EMF or WMF picture (anything else gets a placeholder).
  Picture Metafile(std::string_view bytes, double widthPx, double heightPx);
  // A chart part (word/charts/chartN.xml).
  Picture Chart(std::string_view chartXml, const Palette& palette, double widthPx, double heightPx);
  // One top-level shape, group, canvas, SmartArt drawing or VML shape.
  Picture Shape(std::string_view drawingXml, const Palette& palette, double widthPx,
                double heightPx);

 private:
  Picture Draw(char kind, std::string_view source, const Palette* palette, double widthPx,
               double heightPx);
  Picture DrawAnew(const std::string& request, char kind, std::string_view source,
                   double widthPx, double heightPx);
  std::unique_ptr<IsolatedWorker> worker_;
  // What each request drew (a placeholder too): a document often shows
  // the same shape many times, and the helper draws it once.
  std::unordered_map<std::string, Picture> drawn_;
  std::size_t drawnBytes_ = 0;
};

}  // namespace qp::draw
