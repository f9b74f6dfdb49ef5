// Preset geometries of DrawingML as SVG path data in a w x h box.
#pragma once

#include <pugixml.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qp::draw {

// Adjust values by name (adj, adj1, adj2, ...), as the avLst gives them.
using Adjusts = std::vector<std::pair<std::string, double>>;

// A line segment ending where an arrowhead would sit.
struct Segment {
  double fromX = 0, fromY = 0, toX = 0, toY = 0;
};

struct Outline {
  std::string path;      // SVG path data
  bool open = false;     // a line or bracket: stroked, never filled
  bool evenOdd = false;  // holes (donut, frame) are cut out
  // Lines and connectors: the first segment turned towards the start, and
  // the last one, for arrowheads.
  std::optional<Segment> head, tail;
};

// The outline of a preset geometry; nothing for presets not known here.
std::optional<Outline> PresetOutline(std::string_view prst, double w, double h,
                                     const Adjusts& adjusts);

// Whether PresetOutline draws the preset as a simpler figure than its
// published definition (a sweep counts these beside the unknown ones).
bool PresetIsApproximate(std::string_view prst);

// The paths of an a:custGeom scaled to a w x h box, as SVG path data.
std::string CustomGeometryPath(pugi::xml_node custGeom, double w, double h);

}  // namespace qp::draw
