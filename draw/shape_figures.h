// The figures the preset geometries are drawn from: polygons, ellipses,
// rounded and snipped boxes, block arrows, callouts, waves; SVG path data in
// px of a w x h box.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace qp::draw {

struct Pt {
  double x, y;
};

// The points joined by lines, closed unless asked otherwise.
std::string Polygon(const std::vector<Pt>& pts, bool close = true);

std::string Ellipse(double cx, double cy, double rx, double ry);

// A regular polygon (innerRatio 0) or star inscribed in the box, first point
// at the top; a star's inner points lie at innerRatio of the outer radius.
std::vector<Pt> Radial(int points, double w, double h, double innerRatio);

// Corners from top-left clockwise: 0 square, 1 round, 2 snipped.
std::string CornerRect(double w, double h, const int kind[4], const double size[4]);

// A right-pointing block arrow in a len x thick box; heads at one or both ends.
std::vector<Pt> Arrow(double len, double thick, double shaft, double head, bool both);

// A box with a pointed tail towards (tx, ty), the tail rising from the side
// the tip lies beyond.
std::string Callout(double w, double h, double tx, double ty);

// A box whose bottom (and top, if asked) is a wave of the given amplitude.
std::string Wave(double w, double h, double amp, bool topToo);

// A band along an ellipse, clockwise from the start angle to the end angle,
// where an arrowhead of the given angular length sits on the band's middle
// line. Adjusts as a preset's adjust values give them: the band's thickness
// and the head's half width as fractions of the shorter side, angles in
// 60000ths of a degree / 100000.
std::string CircularArrow(double w, double h, double band, double headAngle, double endAngle,
                          double startAngle, double headHalf);

// Points given in a 21600 x 21600 grid, scaled to the box.
std::vector<Pt> Scaled(std::initializer_list<Pt> grid, double w, double h);

}  // namespace qp::draw
