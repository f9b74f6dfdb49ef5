// What the drawing library hands back: an SVG document of a given size, or
// the reason it could not draw one. Knows nothing of pages or runs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qp::draw {

// The document's theme, as far as drawing needs it.
struct Palette {
  // accent1..accent6, dk1, lt1, dk2, lt2 as 0xRRGGBB; empty means Office's defaults.
  std::vector<std::uint32_t> accents;
  std::uint32_t dark1 = 0x000000, light1 = 0xFFFFFF, dark2 = 0x44546A, light2 = 0xE7E6E6;
  std::string latinFont;      // minor Latin font of the theme
  std::string eastAsianFont;  // minor East Asian font of the theme
  // The theme's a:effectStyleLst as a document of its own; empty when none.
  std::string effectStyles;
};

struct Drawing {
  std::string svg;    // a complete SVG document, width and height in px; empty when not drawn
  std::string title;  // a title the object carries (chart title), for alt text
  std::string note;   // why nothing or only a placeholder was drawn, for the user
  int unknownGeometries = 0;  // preset geometries drawn as their bounding rectangle
};

// A drawing as the page gets it, from the drawing helper.
struct Picture {
  std::string png;            // always a PNG of the object's (capped) size
  std::string title;          // a title the object carries (a chart's), for alt text
  std::string note;           // when not empty, why a placeholder stands in
  bool emptyDrawing = false;  // the drawing came out blank (an EMF+ only file)
  int unknownGeometries = 0;
};

// Plays a plain EMF (the header, some GDI records, the end record) to an
// SVG document of the picture's size; "" when it cannot.
using GdiPlayer = std::function<std::string(std::string_view emf)>;

}  // namespace qp::draw
