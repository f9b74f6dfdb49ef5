// The preset geometries of DrawingML: a builder for each, from its box and
// adjust values, and the table from name to builder.
#include "draw/shape_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/shape_figures.h"
#include "draw/svg_text.h"

namespace qp::draw {
namespace {

constexpr double kPi = std::numbers::pi;

// What a preset's builder draws from: its name (for builders that serve a
// family), the box, its shorter side and the shape's adjust values.
struct Box {
  std::string_view prst;
  double w, h, ss;
  const Adjusts& adjusts;

  // adj(1) is "adj" or "adj1"; values are in 100000ths
  double adj(int i, double fallback) const {
    const std::string a = "adj" + std::to_string(i);
    for (const auto& [name, value] : adjusts)
      if (name == a || (i == 1 && name == "adj")) return std::clamp(value, -1e6, 1e6) / 100000;
    return fallback / 100000;
  }
};

Outline Filled(std::string d) {
  Outline o;
  o.path = std::move(d);
  return o;
}

Outline Poly(const std::vector<Pt>& pts) {
  return Filled(Polygon(pts));
}

Outline Open(std::string d) {
  Outline o = Filled(std::move(d));
  o.open = true;
  return o;
}

// A figure drawn along x, turned onto the other axis and mirrored as asked.
Outline Mapped(std::vector<Pt> pts, const Box& b, bool swap, bool mirrorX, bool mirrorY) {
  for (Pt& p : pts) {
    if (swap) std::swap(p.x, p.y);
    if (mirrorX) p.x = b.w - p.x;
    if (mirrorY) p.y = b.h - p.y;
  }
  return Poly(pts);
}

Outline Rect(const Box& b) {
  return Poly({{0, 0}, {b.w, 0}, {b.w, b.h}, {0, b.h}});
}

Outline RoundedCorners(const Box& b) {
  const std::string_view prst = b.prst;
  const double r1 = b.ss * b.adj(1, 16667),
               r2 = b.ss * b.adj(2, prst == "round2DiagRect" ? 0 : 16667);
  int kind[4] = {1, 1, 1, 1};
  double size[4] = {r1, r1, r1, r1};
  if (prst == "round1Rect") kind[0] = kind[2] = kind[3] = 0;
  if (prst == "round2SameRect") kind[2] = kind[3] = 0;
  if (prst == "round2DiagRect") size[1] = size[3] = r2;
  if (prst == "snip1Rect") kind[0] = kind[2] = kind[3] = 0, kind[1] = 2;
  if (prst == "snip2SameRect") kind[0] = kind[1] = 2, kind[2] = kind[3] = 0;
  if (prst == "snip2DiagRect") kind[0] = kind[2] = 2, kind[1] = kind[3] = 0;
  if (prst == "snipRoundRect") kind[0] = 1, kind[1] = 2, kind[2] = kind[3] = 0, size[1] = r2;
  return Filled(CornerRect(b.w, b.h, kind, size));
}

Outline Terminator(const Box& b) {
  const int kind[4] = {1, 1, 1, 1};
  const double size[4] = {b.ss / 2, b.ss / 2, b.ss / 2, b.ss / 2};
  return Filled(CornerRect(b.w, b.h, kind, size));
}

Outline EllipseShape(const Box& b) {
  return Filled(Ellipse(b.w / 2, b.h / 2, b.w / 2, b.h / 2));
}

// The flowchart's junctions: a circle with a cross in it, the cross's lines
// being subpaths of no area that only the stroke shows.
Outline FlowChartOr(const Box& b) {
  const double w = b.w, h = b.h;
  return Filled(Ellipse(w / 2, h / 2, w / 2, h / 2) + " " +
                Polygon({{w / 2, 0}, {w / 2, h}}, false) + " " +
                Polygon({{0, h / 2}, {w, h / 2}}, false));
}

// The X joins the points of the circle at 45 degrees from its centre.
Outline FlowChartSummingJunction(const Box& b) {
  const double w = b.w, h = b.h;
  const double dx = w / 2 * std::cos(kPi / 4), dy = h / 2 * std::sin(kPi / 4);
  const double l = w / 2 - dx, r = w / 2 + dx, t = h / 2 - dy, bottom = h / 2 + dy;
  return Filled(Ellipse(w / 2, h / 2, w / 2, h / 2) + " " + Polygon({{l, t}, {r, bottom}}, false) +
                " " + Polygon({{r, t}, {l, bottom}}, false));
}

// A reel with its tape running off along the bottom to the right: clockwise
// from the bottom round to where the ray towards the bottom-right corner
// meets the circle (45 degrees along it), then out to that corner.
Outline FlowChartMagneticTape(const Box& b) {
  const double w = b.w, h = b.h;
  const double x = w / 2 + w / 2 * std::cos(kPi / 4), y = h / 2 + h / 2 * std::sin(kPi / 4);
  return Filled("M" + Num(w / 2) + "," + Num(h) + " A" + Num(w / 2) + "," + Num(h / 2) + " 0 1 1 " +
                Num(x) + "," + Num(y) + " L" + Num(w) + "," + Num(y) + " L" + Num(w) + "," +
                Num(h) + " Z");
}

// A triangle standing on its point, with a bar across it a fifth of the way
// up from the point.
Outline FlowChartOfflineStorage(const Box& b) {
  const double w = b.w, h = b.h;
  return Filled(Polygon({{0, 0}, {w, 0}, {w / 2, h}}) + " " +
                Polygon({{w * 2 / 5, h * 4 / 5}, {w * 3 / 5, h * 4 / 5}}, false));
}

Outline Triangle(const Box& b) {
  return Poly({{b.w * b.adj(1, 50000), 0}, {b.w, b.h}, {0, b.h}});
}
Outline Merge(const Box& b) {
  return Poly({{0, 0}, {b.w, 0}, {b.w / 2, b.h}});
}
Outline RtTriangle(const Box& b) {
  return Poly({{0, 0}, {b.w, b.h}, {0, b.h}});
}

Outline Diamond(const Box& b) {
  return Poly({{b.w / 2, 0}, {b.w, b.h / 2}, {b.w / 2, b.h}, {0, b.h / 2}});
}

Outline Parallelogram(const Box& b) {
  const double w = b.w, h = b.h;
  const double x = b.prst == "parallelogram" ? std::min(b.ss * b.adj(1, 25000), w) : w / 5;
  return Poly({{x, 0}, {w, 0}, {w - x, h}, {0, h}});
}

Outline Trapezoid(const Box& b) {
  const double w = b.w, h = b.h;
  const bool trapezoid = b.prst == "trapezoid";
  const double x = trapezoid ? std::min(b.ss * b.adj(1, 25000), w / 2) : w / 5;
  return trapezoid ? Poly({{0, h}, {x, 0}, {w - x, 0}, {w, h}})
                   : Poly({{0, 0}, {w, 0}, {w - x, h}, {x, h}});
}

Outline ManualInput(const Box& b) {
  return Poly({{0, b.h / 5}, {b.w, 0}, {b.w, b.h}, {0, b.h}});
}

template <int N>
Outline RegularPolygon(const Box& b) {
  return Poly(Radial(N, b.w, b.h, 0));
}

Outline Hexagon(const Box& b) {
  const double w = b.w, h = b.h;
  const double x = std::min(b.ss * b.adj(1, 25000), w / 2);
  return Poly({{x, 0}, {w - x, 0}, {w, h / 2}, {w - x, h}, {x, h}, {0, h / 2}});
}

Outline Octagon(const Box& b) {
  const double w = b.w, h = b.h;
  const double x = std::min(b.ss * b.adj(1, 29289), b.ss / 2);
  return Poly({{x, 0}, {w - x, 0}, {w, x}, {w, h - x}, {w - x, h}, {x, h}, {0, h - x}, {0, x}});
}

Outline Plus(const Box& b) {
  const double w = b.w, h = b.h;
  const bool plus = b.prst == "plus";
  const double t = plus ? b.ss * b.adj(1, 25000) : b.ss * 0.235 / 2;
  const double x0 = plus ? t : w / 2 - t, x1 = plus ? w - t : w / 2 + t;
  const double y0 = plus ? t : h / 2 - t, y1 = plus ? h - t : h / 2 + t;
  return Poly({{x0, 0},
               {x1, 0},
               {x1, y0},
               {w, y0},
               {w, y1},
               {x1, y1},
               {x1, h},
               {x0, h},
               {x0, y1},
               {0, y1},
               {0, y0},
               {x0, y0}});
}

// A star of N points whose inner radius is adj1 (by default Inner) of the
// half box.
template <int N, int Inner>
Outline Star(const Box& b) {
  return Poly(Radial(N, b.w, b.h, std::clamp(b.adj(1, Inner) * 2, 0.01, 1.0)));
}

Outline HorizontalArrow(const Box& b) {
  const bool both = b.prst == "leftRightArrow";
  return Mapped(
      Arrow(b.w, b.h, std::clamp(b.adj(1, 50000), 0.0, 1.0), b.ss * b.adj(2, 50000), both), b,
      false, b.prst == "leftArrow", false);
}

Outline VerticalArrow(const Box& b) {
  const bool both = b.prst == "upDownArrow";
  return Mapped(
      Arrow(b.h, b.w, std::clamp(b.adj(1, 50000), 0.0, 1.0), b.ss * b.adj(2, 50000), both), b, true,
      false, b.prst == "upArrow");
}

Outline NotchedRightArrow(const Box& b) {
  const double h = b.h, ss = b.ss;
  std::vector<Pt> pts =
      Arrow(b.w, h, std::clamp(b.adj(1, 50000), 0.0, 1.0), ss * b.adj(2, 50000), false);
  const double notch = (h - (pts[6].y - pts[0].y)) / 2 * ss / std::max(h, 1e-9);
  pts.push_back({notch, h / 2});
  return Poly(pts);
}

Outline Chevron(const Box& b) {
  const double w = b.w, h = b.h;
  const double x = std::min(b.ss * b.adj(1, 50000), w);
  return Poly({{0, 0}, {w - x, 0}, {w, h / 2}, {w - x, h}, {0, h}, {x, h / 2}});
}

Outline HomePlate(const Box& b) {
  const double w = b.w, h = b.h;
  const double x = std::min(b.ss * b.adj(1, 50000), w);
  return Poly({{0, 0}, {w - x, 0}, {w, h / 2}, {w - x, h}, {0, h}});
}

Outline OffpageConnector(const Box& b) {
  const double w = b.w, h = b.h;
  return Poly({{0, 0}, {w, 0}, {w, h * 0.8}, {w / 2, h}, {0, h * 0.8}});
}

// Connectors run from the box's top left to its bottom right.
Outline Connector(const Box& b) {
  const std::string_view prst = b.prst;
  const double w = b.w, h = b.h;
  const double x = prst == "bentConnector2" ? w : w * b.adj(1, 50000);
  std::vector<Pt> pts = {{0, 0}, {w, h}};
  if (prst == "bentConnector2") pts = {{0, 0}, {w, 0}, {w, h}};
  if (prst == "bentConnector3" || prst == "curvedConnector3")
    pts = {{0, 0}, {x, 0}, {x, h}, {w, h}};
  Outline o = Open(Polygon(pts, false));
  if (prst == "curvedConnector3")
    o.path = "M0,0 C" + Num(x) + ",0 " + Num(x) + "," + Num(h) + " " + Num(w) + "," + Num(h);
  const std::size_t n = pts.size();
  o.head = Segment{pts[1].x, pts[1].y, 0, 0};
  o.tail = Segment{pts[n - 2].x, pts[n - 2].y, pts[n - 1].x, pts[n - 1].y};
  return o;
}

Outline WedgeCallout(const Box& b) {
  const double w = b.w, h = b.h;
  const double tx = w / 2 + w * b.adj(1, -20833), ty = h / 2 + h * b.adj(2, 62500);
  if (b.prst != "wedgeEllipseCallout") return Filled(Callout(w, h, tx, ty));
  const double a = std::atan2((ty - h / 2) / std::max(h, 1e-9), (tx - w / 2) / std::max(w, 1e-9));
  auto on = [&](double t) { return Pt{w / 2 + w / 2 * std::cos(t), h / 2 + h / 2 * std::sin(t)}; };
  const Pt p0 = on(a + 0.2), p1 = on(a - 0.2);
  return Filled("M" + Num(p0.x) + "," + Num(p0.y) + " A" + Num(w / 2) + "," + Num(h / 2) +
                " 0 1 1 " + Num(p1.x) + "," + Num(p1.y) + " L" + Num(tx) + "," + Num(ty) + " Z");
}

// Bumps round an ellipse; the callout's bubbles lead towards its point.
Outline Cloud(const Box& b) {
  const double w = b.w, h = b.h;
  std::string d;
  const int bumps = 10;
  for (int i = 0; i <= bumps; ++i) {
    const double a = 2 * kPi * i / bumps;
    const Pt p{w / 2 + w * 0.42 * std::cos(a), h / 2 + h * 0.42 * std::sin(a)};
    if (i == 0)
      d = "M" + Num(p.x) + "," + Num(p.y);
    else
      d += " A" + Num(w * 0.14) + "," + Num(h * 0.14) + " 0 0 1 " + Num(p.x) + "," + Num(p.y);
  }
  d += " Z";
  if (b.prst == "cloudCallout") {
    const double tx = w / 2 + w * b.adj(1, -20833), ty = h / 2 + h * b.adj(2, 62500);
    for (int i = 1; i <= 3; ++i) {
      const double t = 0.55 + 0.15 * i;
      d += " " + Ellipse(w / 2 + (tx - w / 2) * t, h / 2 + (ty - h / 2) * t, b.ss * 0.03 * (4 - i),
                         b.ss * 0.03 * (4 - i));
    }
  }
  return Filled(d);
}

Outline Can(const Box& b) {
  const double w = b.w, h = b.h;
  const double ry = std::min(b.ss * b.adj(1, 25000) / 2, h / 2);
  return Filled("M0," + Num(ry) + " A" + Num(w / 2) + "," + Num(ry) + " 0 0 1 " + Num(w) + "," +
                Num(ry) + " L" + Num(w) + "," + Num(h - ry) + " A" + Num(w / 2) + "," + Num(ry) +
                " 0 0 1 0," + Num(h - ry) + " Z M0," + Num(ry) + " A" + Num(w / 2) + "," + Num(ry) +
                " 0 0 0 " + Num(w) + "," + Num(ry));
}

Outline Cube(const Box& b) {
  const double w = b.w, h = b.h;
  const double d = std::min(b.ss * b.adj(1, 25000), b.ss);
  return Filled(Polygon({{0, d}, {d, 0}, {w, 0}, {w, h - d}, {w - d, h}, {0, h}}) + " M0," +
                Num(d) + " L" + Num(w - d) + "," + Num(d) + " L" + Num(w) + ",0 M" + Num(w - d) +
                "," + Num(d) + " L" + Num(w - d) + "," + Num(h));
}

Outline WaveShape(const Box& b) {
  const std::string_view prst = b.prst;
  const bool top = prst == "wave" || prst == "doubleWave" || prst == "flowChartPunchedTape";
  return Filled(Wave(b.w, b.h,
                     b.h * (prst == "doubleWave" ? b.adj(1, 6250)
                            : prst == "wave"     ? b.adj(1, 12500)
                                                 : 0.1),
                     top));
}

// A box with a second line inside along the left (and, for the predefined
// process, the right; for internal storage, the top).
Outline PredefinedProcess(const Box& b) {
  const double w = b.w, h = b.h;
  return Filled(Polygon({{0, 0}, {w, 0}, {w, h}, {0, h}}) + " M" + Num(w / 8) + ",0 L" +
                Num(w / 8) + "," + Num(h) + " M" + Num(w * 7 / 8) + ",0 L" + Num(w * 7 / 8) + "," +
                Num(h));
}

Outline InternalStorage(const Box& b) {
  const double w = b.w, h = b.h;
  return Filled(Polygon({{0, 0}, {w, 0}, {w, h}, {0, h}}) + " M" + Num(w / 8) + ",0 L" +
                Num(w / 8) + "," + Num(h) + " M0," + Num(h / 8) + " L" + Num(w) + "," + Num(h / 8));
}

Outline Delay(const Box& b) {
  const double w = b.w, h = b.h;
  return Filled("M0,0 L" + Num(w / 2) + ",0 A" + Num(w / 2) + "," + Num(h / 2) + " 0 0 1 " +
                Num(w / 2) + "," + Num(h) + " L0," + Num(h) + " Z");
}

Outline OnlineStorage(const Box& b) {
  const double w = b.w, h = b.h;
  return Filled("M" + Num(w / 6) + ",0 L" + Num(w) + ",0 A" + Num(w / 6) + "," + Num(h / 2) +
                " 0 0 0 " + Num(w) + "," + Num(h) + " L" + Num(w / 6) + "," + Num(h) + " A" +
                Num(w / 6) + "," + Num(h / 2) + " 0 0 1 " + Num(w / 6) + ",0 Z");
}

// A figure with a hole of its own shape cut out, t inside its edge.
Outline Donut(const Box& b) {
  const double w = b.w, h = b.h, t = b.ss * b.adj(1, 25000);
  Outline o = Filled(Ellipse(w / 2, h / 2, w / 2, h / 2) + " " +
                     Ellipse(w / 2, h / 2, std::max(w / 2 - t, 0.0), std::max(h / 2 - t, 0.0)));
  o.evenOdd = true;
  return o;
}

Outline Frame(const Box& b) {
  const double w = b.w, h = b.h, t = b.ss * b.adj(1, 12500);
  Outline o = Filled(Polygon({{0, 0}, {w, 0}, {w, h}, {0, h}}) + " " +
                     Polygon({{t, t}, {w - t, t}, {w - t, h - t}, {t, h - t}}));
  o.evenOdd = true;
  return o;
}

Outline Heart(const Box& b) {
  const double w = b.w, h = b.h;
  return Filled("M" + Num(w / 2) + "," + Num(h / 4) + " C" + Num(w * 0.15) + "," + Num(-h / 6) +
                " " + Num(-w / 3) + "," + Num(h / 3) + " " + Num(w / 2) + "," + Num(h) + " C" +
                Num(w * 4 / 3) + "," + Num(h / 3) + " " + Num(w * 0.85) + "," + Num(-h / 6) + " " +
                Num(w / 2) + "," + Num(h / 4) + " Z");
}

Outline Moon(const Box& b) {
  const double w = b.w, h = b.h;
  const double x = w * std::clamp(b.adj(1, 50000), 0.0, 0.875);
  return Filled("M" + Num(w) + ",0 A" + Num(w) + "," + Num(h / 2) + " 0 0 0 " + Num(w) + "," +
                Num(h) + " A" + Num(w - x) + "," + Num(h / 2) + " 0 0 1 " + Num(w) + ",0 Z");
}

// Angles in 60000ths of a degree, clockwise from three o'clock.
Outline ArcShape(const Box& b) {
  const std::string_view prst = b.prst;
  const double w = b.w, h = b.h;
  const double a0 = b.adj(1, prst == "pie" ? 0 : 16200000) * 100000 / 60000 * kPi / 180;
  double a1 = b.adj(2, prst == "pie" ? 16200000 : 0) * 100000 / 60000 * kPi / 180;
  while (a1 <= a0) a1 += 2 * kPi;
  auto on = [&](double a) {
    return Num(w / 2 + w / 2 * std::cos(a)) + "," + Num(h / 2 + h / 2 * std::sin(a));
  };
  const std::string large = a1 - a0 > kPi ? " 1 " : " 0 ";
  Outline o =
      Filled("M" + on(a0) + " A" + Num(w / 2) + "," + Num(h / 2) + " 0" + large + "1 " + on(a1));
  if (prst == "pie") o.path += " L" + Num(w / 2) + "," + Num(h / 2) + " Z";
  if (prst == "chord" || prst == "blockArc") o.path += " Z";
  o.open = prst == "arc";
  return o;
}

Outline LightningBolt(const Box& b) {
  return Poly(Scaled({{8472, 0},
                      {12860, 6080},
                      {11050, 6797},
                      {16577, 12007},
                      {14767, 12877},
                      {21600, 21600},
                      {10012, 14915},
                      {12222, 13987},
                      {5022, 9705},
                      {7602, 8382},
                      {0, 3890}},
                     b.w, b.h));
}

Outline Sun(const Box& b) {
  const double w = b.w, h = b.h;
  std::string d = Ellipse(w / 2, h / 2, w * 0.25, h * 0.25);
  for (int i = 0; i < 8; ++i) {
    const double a = 2 * kPi * i / 8;
    auto at = [&](double r, double da) {
      return Pt{w / 2 + w / 2 * r * std::cos(a + da), h / 2 + h / 2 * r * std::sin(a + da)};
    };
    d += " " + Polygon({at(1, 0), at(0.62, 0.12), at(0.62, -0.12)});
  }
  return Filled(d);
}

Outline SmileyFace(const Box& b) {
  const double w = b.w, h = b.h;
  return Filled(Ellipse(w / 2, h / 2, w / 2, h / 2) + " " +
                Ellipse(w * 0.35, h * 0.38, w * 0.05, h * 0.05) + " " +
                Ellipse(w * 0.65, h * 0.38, w * 0.05, h * 0.05) + " M" + Num(w * 0.28) + "," +
                Num(h * 0.68) + " Q" + Num(w / 2) + "," + Num(h * 0.85) + " " + Num(w * 0.72) +
                "," + Num(h * 0.68));
}

Outline Brackets(const Box& b) {
  const double w = b.w, h = b.h;
  const double r = b.ss * b.adj(1, b.prst == "bracketPair" ? 16667 : 8333);
  auto left = [&](double x0) {
    return "M" + Num(x0 + r) + ",0 A" + Num(r) + "," + Num(r) + " 0 0 0 " + Num(x0) + "," + Num(r) +
           " L" + Num(x0) + "," + Num(h - r) + " A" + Num(r) + "," + Num(r) + " 0 0 0 " +
           Num(x0 + r) + "," + Num(h);
  };
  auto right = [&](double x1) {
    return "M" + Num(x1 - r) + ",0 A" + Num(r) + "," + Num(r) + " 0 0 1 " + Num(x1) + "," + Num(r) +
           " L" + Num(x1) + "," + Num(h - r) + " A" + Num(r) + "," + Num(r) + " 0 0 1 " +
           Num(x1 - r) + "," + Num(h);
  };
  if (b.prst == "leftBracket") return Open(left(0));
  if (b.prst == "rightBracket") return Open(right(w));
  return Open(left(0) + " " + right(w));
}

Outline Braces(const Box& b) {
  const double w = b.w, h = b.h;
  auto brace = [&](double x0, double dir) {
    const double q = w * (b.prst == "bracePair" ? 0.1 : 0.5) * dir;
    return "M" + Num(x0 + 2 * q) + ",0 Q" + Num(x0 + q) + ",0 " + Num(x0 + q) + "," + Num(h / 4) +
           " L" + Num(x0 + q) + "," + Num(h / 2 - h / 8) + " Q" + Num(x0 + q) + "," + Num(h / 2) +
           " " + Num(x0) + "," + Num(h / 2) + " Q" + Num(x0 + q) + "," + Num(h / 2) + " " +
           Num(x0 + q) + "," + Num(h / 2 + h / 8) + " L" + Num(x0 + q) + "," + Num(h * 3 / 4) +
           " Q" + Num(x0 + q) + "," + Num(h) + " " + Num(x0 + 2 * q) + "," + Num(h);
  };
  if (b.prst == "leftBrace") return Open(brace(0, 1));
  if (b.prst == "rightBrace") return Open(brace(w, -1));
  return Open(brace(0, 1) + " " + brace(w, -1));
}

Outline FoldedCorner(const Box& b) {
  const double w = b.w, h = b.h, f = b.ss * b.adj(1, 16667);
  return Filled(Polygon({{0, 0}, {w, 0}, {w, h - f}, {w - f, h}, {0, h}}) + " M" + Num(w - f) +
                "," + Num(h) + " L" + Num(w - f * 0.8) + "," + Num(h - f * 0.8) + " L" + Num(w) +
                "," + Num(h - f));
}

Outline Bevel(const Box& b) {
  const double w = b.w, h = b.h, t = b.ss * b.adj(1, 12500);
  return Filled(Polygon({{0, 0}, {w, 0}, {w, h}, {0, h}}) + " " +
                Polygon({{t, t}, {w - t, t}, {w - t, h - t}, {t, h - t}}));
}

Outline IrregularSeal1(const Box& b) {
  return Poly(
      Scaled({{10800, 5800},  {8352, 2295},   {7312, 6320},   {370, 2295},    {4627, 7617},
              {0, 8615},      {3722, 11775},  {135, 14587},   {5667, 13937},  {4762, 17617},
              {7715, 15627},  {8485, 21600},  {10532, 14935}, {13247, 19737}, {14020, 14457},
              {18145, 18095}, {16837, 12942}, {21600, 13290}, {17607, 10475}, {21097, 8137},
              {16702, 7315},  {18380, 4457},  {14155, 5325},  {14522, 0}},
             b.w, b.h));
}

Outline IrregularSeal2(const Box& b) {
  return Poly(
      Scaled({{11462, 4342},  {9722, 1887},   {8550, 6382},   {4502, 3625},   {5372, 7862},
              {1172, 8270},   {3462, 11095},  {0, 12722},     {2800, 14362},  {0, 17112},
              {4182, 17472},  {4062, 19620},  {6325, 20417},  {8012, 20205},  {9400, 21600},
              {10620, 19570}, {12540, 20130}, {13812, 18487}, {14932, 18312}, {16162, 16272},
              {19005, 17092}, {18082, 13902}, {21600, 12420}, {18075, 9980},  {19770, 6920},
              {17372, 6532},  {18087, 3982},  {14440, 4170},  {14662, 1290}},
             b.w, b.h));
}

// The box and its leader line; the line's far end is where the callout points.
Outline LineCallout(const Box& b) {
  const double w = b.w, h = b.h;
  const double y1 = h * b.adj(1, 18750), x1 = w * b.adj(2, -8333), y2 = h * b.adj(3, 112500),
               x2 = w * b.adj(4, -38333);
  return Filled(Polygon({{0, 0}, {w, 0}, {w, h}, {0, h}}) + " M" + Num(x1) + "," + Num(y1) + " L" +
                Num(x2) + "," + Num(y2));
}

Outline QuadArrow(const Box& b) {
  const double w = b.w, h = b.h, ss = b.ss;
  const double t = ss * b.adj(1, 22500) / 2, hw = std::max(ss * b.adj(2, 22500) / 2, t),
               hl = std::min(ss * b.adj(3, 22500), ss / 2), cx = w / 2, cy = h / 2;
  return Poly({{cx, 0},          {cx + hw, hl},     {cx + t, hl},     {cx + t, cy - t},
               {w - hl, cy - t}, {w - hl, cy - hw}, {w, cy},          {w - hl, cy + hw},
               {w - hl, cy + t}, {cx + t, cy + t},  {cx + t, h - hl}, {cx + hw, h - hl},
               {cx, h},          {cx - hw, h - hl}, {cx - t, h - hl}, {cx - t, cy + t},
               {hl, cy + t},     {hl, cy + hw},     {0, cy},          {hl, cy - hw},
               {hl, cy - t},     {cx - t, cy - t},  {cx - t, hl},     {cx - hw, hl}});
}

Outline Corner(const Box& b) {
  const double w = b.w, h = b.h;
  const double dy = std::min(b.ss * b.adj(1, 50000), h), dx = std::min(b.ss * b.adj(2, 50000), w);
  return Poly({{0, 0}, {dx, 0}, {dx, h - dy}, {w, h - dy}, {w, h}, {0, h}});
}

Outline PunchedCard(const Box& b) {
  return Poly({{b.w / 5, 0}, {b.w, 0}, {b.w, b.h}, {0, b.h}, {0, b.h / 5}});
}

Outline Collate(const Box& b) {
  return Poly({{0, 0}, {b.w, 0}, {0, b.h}, {b.w, b.h}});
}

Outline StripedRightArrow(const Box& b) {
  const double ss = b.ss;
  std::vector<Pt> pts =
      Arrow(b.w, b.h, std::clamp(b.adj(1, 50000), 0.0, 1.0), ss * b.adj(2, 50000), false);
  const double start = ss * 5 / 32, y1 = pts[0].y, y2 = pts[6].y;
  pts[0].x = pts[6].x = start;
  return Filled(Polygon(pts) + " " + Polygon({{0, y1}, {ss / 32, y1}, {ss / 32, y2}, {0, y2}}) +
                " " + Polygon({{ss / 16, y1}, {ss / 8, y1}, {ss / 8, y2}, {ss / 16, y2}}));
}

Outline Teardrop(const Box& b) {
  const double w = b.w, h = b.h;
  return Filled("M0," + Num(h / 2) + " A" + Num(w / 2) + "," + Num(h / 2) + " 0 1 0 " + Num(w / 2) +
                ",0 L" + Num(w) + ",0 L" + Num(w) + "," + Num(h / 2) + " A" + Num(w / 2) + "," +
                Num(h / 2) + " 0 0 1 0," + Num(h / 2) + " Z");
}

// Corners cut by quarter circles centred on the box's corners.
Outline Plaque(const Box& b) {
  const double w = b.w, h = b.h;
  const double r = b.ss * std::clamp(b.adj(1, 16667), 0.0, 0.5);
  const std::string arc = " A" + Num(r) + "," + Num(r) + " 0 0 0 ";
  return Filled("M0," + Num(r) + arc + Num(r) + ",0 L" + Num(w - r) + ",0" + arc + Num(w) + "," +
                Num(r) + " L" + Num(w) + "," + Num(h - r) + arc + Num(w - r) + "," + Num(h) + " L" +
                Num(r) + "," + Num(h) + arc + "0," + Num(h - r) + " Z");
}

// Three sheets, each showing above and to the right of the one in front.
Outline Multidocument(const Box& b) {
  auto at = [&](double x, double y) { return Num(x * b.w / 21600) + "," + Num(y * b.h / 21600); };
  return Filled("M" + at(0, 20782) + " C" + at(9298, 23542) + " " + at(9298, 18022) + " " +
                at(18595, 18022) + " L" + at(18595, 3675) + " L" + at(0, 3675) + " Z M" +
                at(1532, 3675) + " L" + at(1532, 1815) + " L" + at(20000, 1815) + " L" +
                at(20000, 16252) + " C" + at(19298, 16252) + " " + at(18595, 16352) + " " +
                at(18595, 16352) + " L" + at(18595, 3675) + " Z M" + at(2972, 1815) + " L" +
                at(2972, 0) + " L" + at(21600, 0) + " L" + at(21600, 14392) + " C" +
                at(20800, 14392) + " " + at(20000, 14467) + " " + at(20000, 14467) + " L" +
                at(20000, 1815) + " Z");
}

// A box in the middle with an arrow out of each side; each side runs from
// the box's edge out to the tip and back, ending on the box's next corner.
// adj2 is the head's half width, adj1 the shaft's whole width (at most the
// head's), adj3 the head's length.
Outline QuadArrowCallout(const Box& b) {
  const double w = b.w, h = b.h, ss = b.ss;
  const double a2 = std::clamp(b.adj(2, 18515), 0.0, 0.5);
  const double hw = ss * a2;
  const double t = ss * std::clamp(b.adj(1, 18515), 0.0, 2 * a2) / 2;
  const double hl = ss * std::clamp(b.adj(3, 18515), 0.0, 0.5 - a2);
  const double a4 = std::clamp(b.adj(4, 48123), 0.0, 1.0);
  const double bx = std::max(std::min(w * a4 / 2, w / 2 - hl), hw);
  const double by = std::max(std::min(h * a4 / 2, h / 2 - hl), hw);
  std::vector<Pt> pts;
  const Pt dirs[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
  for (const Pt d : dirs) {
    const Pt p{-d.y, d.x};  // the clockwise side of d
    const double reach = d.x != 0 ? w / 2 : h / 2, box = d.x != 0 ? bx : by,
                 across = d.x != 0 ? by : bx;
    auto at = [&](double along, double side) {
      return Pt{w / 2 + d.x * along + p.x * side, h / 2 + d.y * along + p.y * side};
    };
    for (const Pt q : {at(box, -t), at(reach - hl, -t), at(reach - hl, -hw), at(reach, 0),
                       at(reach - hl, hw), at(reach - hl, t), at(box, t), at(box, across)})
      pts.push_back(q);
  }
  return Poly(pts);
}

Outline CircularArrowShape(const Box& b) {
  return Filled(CircularArrow(b.w, b.h, b.adj(1, 12500), b.adj(2, 1142319), b.adj(3, 20457681),
                              b.adj(4, 10800000), b.adj(5, 12500)));
}

// How faithfully a builder draws a preset beside its published definition.
enum class Fidelity : bool { kExact, kApproximate };
constexpr Fidelity kExact = Fidelity::kExact, kApprox = Fidelity::kApproximate;

struct Preset {
  std::string_view name;
  Outline (*build)(const Box&);
  Fidelity fidelity;
};

// Every preset drawn here, sorted by name for the lookup. An approximation
// is a simpler figure in the preset's place: the right size and kind, but
// not its definition's outline (its adjust values ignored, a curve where
// the definition has arcs, a detail left out).
constexpr Preset kPresets[] = {
    {"accentBorderCallout1", LineCallout, kApprox},  // no accent bar
    {"accentCallout1", LineCallout, kApprox},        // no accent bar; the box is stroked
    {"arc", ArcShape, kApprox},  // angles round a circle, not as seen on the ellipse
    {"bentConnector2", Connector, kExact},
    {"bentConnector3", Connector, kExact},
    {"bevel", Bevel, kApprox},        // no lines from the corners
    {"blockArc", ArcShape, kApprox},  // a chord, without the band's inner edge
    {"borderCallout1", LineCallout, kExact},
    {"borderCallout2", LineCallout, kApprox},  // one leader segment of two
    {"bracePair", Braces, kApprox},
    {"bracketPair", Brackets, kExact},
    {"callout1", LineCallout, kApprox},  // the box is stroked
    {"callout2", LineCallout, kApprox},  // one leader segment of two; the box is stroked
    {"can", Can, kExact},
    {"chevron", Chevron, kExact},
    {"chord", ArcShape, kApprox},  // other default angles
    {"circularArrow", CircularArrowShape, kExact},
    {"cloud", Cloud, kApprox},
    {"cloudCallout", Cloud, kApprox},
    {"corner", Corner, kExact},
    {"cube", Cube, kExact},
    {"curvedConnector3", Connector, kApprox},  // one curve of two
    {"decagon", RegularPolygon<10>, kApprox},  // not stretched to the box
    {"diamond", Diamond, kExact},
    {"dodecagon", RegularPolygon<12>, kApprox},  // turned: a corner at the top
    {"donut", Donut, kExact},
    {"doubleWave", WaveShape, kApprox},
    {"downArrow", VerticalArrow, kExact},
    {"ellipse", EllipseShape, kExact},
    {"flowChartAlternateProcess", RoundedCorners, kExact},
    {"flowChartCollate", Collate, kExact},
    {"flowChartConnector", EllipseShape, kExact},
    {"flowChartDecision", Diamond, kExact},
    {"flowChartDelay", Delay, kExact},
    {"flowChartDocument", WaveShape, kApprox},
    {"flowChartExtract", Triangle, kExact},
    {"flowChartInputOutput", Parallelogram, kExact},
    {"flowChartInternalStorage", InternalStorage, kExact},
    {"flowChartMagneticDisk", Can, kApprox},  // the ends' height
    {"flowChartMagneticTape", FlowChartMagneticTape, kExact},
    {"flowChartManualInput", ManualInput, kExact},
    {"flowChartManualOperation", Trapezoid, kExact},
    {"flowChartMerge", Merge, kExact},
    {"flowChartMultidocument", Multidocument, kExact},
    {"flowChartOfflineStorage", FlowChartOfflineStorage, kExact},
    {"flowChartOffpageConnector", OffpageConnector, kExact},
    {"flowChartOnlineStorage", OnlineStorage, kExact},
    {"flowChartOr", FlowChartOr, kExact},
    {"flowChartPredefinedProcess", PredefinedProcess, kExact},
    {"flowChartPreparation", Hexagon, kApprox},  // the points' depth
    {"flowChartProcess", Rect, kExact},
    {"flowChartPunchedCard", PunchedCard, kExact},
    {"flowChartPunchedTape", WaveShape, kApprox},
    {"flowChartSort", Diamond, kApprox},  // no line across
    {"flowChartSummingJunction", FlowChartSummingJunction, kExact},
    {"flowChartTerminator", Terminator, kApprox},  // round ends, not elliptic ones
    {"foldedCorner", FoldedCorner, kExact},
    {"frame", Frame, kExact},
    {"heart", Heart, kApprox},
    {"heptagon", RegularPolygon<7>, kApprox},  // not stretched to the box
    {"hexagon", Hexagon, kExact},
    {"homePlate", HomePlate, kExact},
    {"irregularSeal1", IrregularSeal1, kExact},
    {"irregularSeal2", IrregularSeal2, kExact},
    {"leftArrow", HorizontalArrow, kExact},
    {"leftBrace", Braces, kApprox},
    {"leftBracket", Brackets, kApprox},  // round, not elliptic, ends
    {"leftRightArrow", HorizontalArrow, kExact},
    {"lightningBolt", LightningBolt, kExact},
    {"line", Connector, kExact},
    {"mathPlus", Plus, kApprox},  // arms to the box's edges
    {"moon", Moon, kApprox},
    {"notchedRightArrow", NotchedRightArrow, kApprox},  // the notch's depth
    {"octagon", Octagon, kExact},
    {"parallelogram", Parallelogram, kExact},
    {"pentagon", RegularPolygon<5>, kApprox},  // not stretched to the box
    {"pie", ArcShape, kApprox},                // angles round a circle, not as seen on the ellipse
    {"plaque", Plaque, kExact},
    {"plus", Plus, kExact},
    {"quadArrow", QuadArrow, kExact},
    {"quadArrowCallout", QuadArrowCallout, kExact},
    {"rect", Rect, kExact},
    {"rightArrow", HorizontalArrow, kExact},
    {"rightBrace", Braces, kApprox},
    {"rightBracket", Brackets, kApprox},  // round, not elliptic, ends
    {"round1Rect", RoundedCorners, kExact},
    {"round2DiagRect", RoundedCorners, kExact},
    {"round2SameRect", RoundedCorners, kApprox},  // square bottom corners whatever adj2 says
    {"roundRect", RoundedCorners, kExact},
    {"rtTriangle", RtTriangle, kExact},
    {"smileyFace", SmileyFace, kApprox},
    {"snip1Rect", RoundedCorners, kExact},
    {"snip2DiagRect", RoundedCorners, kApprox},  // square corners whatever adj2 says
    {"snip2SameRect", RoundedCorners, kApprox},  // square bottom corners whatever adj2 says
    {"snipRoundRect", RoundedCorners, kExact},
    {"star10", Star<10, 42533>, kApprox},  // not stretched to the box
    {"star12", Star<12, 37500>, kExact},
    {"star16", Star<16, 37500>, kExact},
    {"star24", Star<24, 37500>, kExact},
    {"star32", Star<32, 37500>, kExact},
    {"star4", Star<4, 12500>, kExact},
    {"star5", Star<5, 19098>, kApprox},  // not stretched to the box
    {"star6", Star<6, 28868>, kApprox},  // not stretched to the box
    {"star7", Star<7, 34601>, kApprox},  // not stretched to the box
    {"star8", Star<8, 37500>, kExact},
    {"straightConnector1", Connector, kExact},
    {"stripedRightArrow", StripedRightArrow, kExact},
    {"sun", Sun, kApprox},
    {"teardrop", Teardrop, kApprox},  // a square tip whatever adj says
    {"textBox", Rect, kExact},
    {"trapezoid", Trapezoid, kExact},
    {"triangle", Triangle, kExact},
    {"upArrow", VerticalArrow, kExact},
    {"upDownArrow", VerticalArrow, kExact},
    {"wave", WaveShape, kApprox},
    {"wedgeEllipseCallout", WedgeCallout, kApprox},    // the tail's width
    {"wedgeRectCallout", WedgeCallout, kApprox},       // the tail's width
    {"wedgeRoundRectCallout", WedgeCallout, kApprox},  // square corners
};
static_assert(std::ranges::is_sorted(kPresets, {}, &Preset::name));

const Preset* FindPreset(std::string_view prst) {
  const auto* it = std::ranges::lower_bound(kPresets, prst, {}, &Preset::name);
  return it != std::end(kPresets) && it->name == prst ? it : nullptr;
}

}  // namespace

std::optional<Outline> PresetOutline(std::string_view prst, double w, double h,
                                     const Adjusts& adjusts) {
  const Preset* preset = FindPreset(prst);
  if (!preset) return std::nullopt;
  w = std::max(w, 0.0);
  h = std::max(h, 0.0);
  return preset->build(Box{prst, w, h, std::min(w, h), adjusts});
}

bool PresetIsApproximate(std::string_view prst) {
  const Preset* preset = FindPreset(prst);
  return preset && preset->fidelity == Fidelity::kApproximate;
}

}  // namespace qp::draw
