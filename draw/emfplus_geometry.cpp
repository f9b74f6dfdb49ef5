// EMF+ shapes as paths, and paths as SVG path data.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "draw/emfplus_model.h"
#include "draw/svg_text.h"

namespace qp::draw::emfplus {

namespace {

constexpr double kPi = std::numbers::pi;

// The parameter of the point of the ellipse seen at `degrees` from its centre.
double Parameter(double degrees, double rx, double ry) {
  double a = degrees * kPi / 180;
  return std::atan2(rx * std::sin(a), ry * std::cos(a));
}

void AppendArc(Path& p, double cx, double cy, double rx, double ry, double t0, double t1,
               bool first) {
  auto at = [&](double t) { return Point{cx + rx * std::cos(t), cy + ry * std::sin(t)}; };
  if (first) {
    p.points.push_back(at(t0));
    p.types.push_back(0);
  }
  const int parts = std::clamp(static_cast<int>(std::ceil(std::fabs(t1 - t0) / (kPi / 2))), 1, 4);
  const double step = (t1 - t0) / parts;
  const double k = 4.0 / 3.0 * std::tan(step / 4);
  for (int i = 0; i < parts; ++i) {
    double a = t0 + step * i, b = a + step;
    Point p0 = at(a), p3 = at(b);
    p.points.push_back({p0.x - k * rx * std::sin(a), p0.y + k * ry * std::cos(a)});
    p.points.push_back({p3.x + k * rx * std::sin(b), p3.y - k * ry * std::cos(b)});
    p.points.push_back(p3);
    p.types.insert(p.types.end(), {3, 3, 3});
  }
}

}  // namespace

std::string Number(double value) {
  if (!std::isfinite(value)) return "0";
  value = std::clamp(value, -1e15, 1e15);
  if (std::fabs(value) < 1e-9) return "0";
  char buffer[32];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 8);
  return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

Path RectPath(const Rect& rc) {
  Path p;
  p.points = {{rc.x, rc.y}, {rc.x + rc.w, rc.y}, {rc.x + rc.w, rc.y + rc.h}, {rc.x, rc.y + rc.h}};
  p.types = {0, 1, 1, 0x81};
  return p;
}

Path EllipsePath(const Rect& rc) {
  return ArcPath(rc, 0, 360, false);
}

Path ArcPath(const Rect& rc, double start, double sweep, bool pie) {
  Path p;
  const double rx = rc.w / 2, ry = rc.h / 2, cx = rc.x + rx, cy = rc.y + ry;
  if (!std::isfinite(start) || !std::isfinite(sweep)) return p;
  if (std::fabs(sweep) >= 360) {
    AppendArc(p, cx, cy, rx, ry, 0, kPi, true);
    AppendArc(p, cx, cy, rx, ry, kPi, 2 * kPi, false);
    p.types.back() |= 0x80;
    return p;
  }
  start = std::fmod(start, 360);
  double t0 = Parameter(start, rx, ry), t1 = Parameter(start + sweep, rx, ry);
  // the parameter turns the way the angle does, by less than a full turn
  if (sweep > 0) {
    while (t1 < t0) t1 += 2 * kPi;
  } else {
    while (t1 > t0) t1 -= 2 * kPi;
  }
  if (pie) {
    p.points.push_back({cx, cy});
    p.types.push_back(0);
    p.points.push_back({cx + rx * std::cos(t0), cy + ry * std::sin(t0)});
    p.types.push_back(1);
  }
  AppendArc(p, cx, cy, rx, ry, t0, t1, !pie);
  if (pie) p.types.back() |= 0x80;
  return p;
}

Path PolyPath(const std::vector<Point>& points, bool closed, bool bezier) {
  Path p;
  p.points = points;
  p.types.assign(points.size(), bezier ? 3 : 1);
  if (!p.types.empty()) {
    p.types.front() = 0;
    if (closed) p.types.back() |= 0x80;
  }
  return p;
}

Path CurvePath(const std::vector<Point>& pts, double tension, bool closed) {
  const std::size_t n = pts.size();
  if (n < 2) return PolyPath(pts, closed);
  if (!std::isfinite(tension)) tension = 0.5;
  const double k = std::clamp(tension, 0.0, 10.0) / 3;
  auto at = [&](std::size_t i, int delta) {
    // neighbours wrap on a closed curve and stop at the ends of an open one
    long j = static_cast<long>(i) + delta, m = static_cast<long>(n);
    if (closed) return pts[static_cast<std::size_t>((j % m + m) % m)];
    return pts[static_cast<std::size_t>(std::clamp(j, 0L, m - 1))];
  };
  Path p;
  p.points.push_back(pts[0]);
  p.types.push_back(0);
  const std::size_t segments = closed ? n : n - 1;
  for (std::size_t i = 0; i < segments; ++i) {
    Point a = at(i, 0), b = at(i, 1), before = at(i, -1), after = at(i, 2);
    p.points.push_back({a.x + k * (b.x - before.x), a.y + k * (b.y - before.y)});
    p.points.push_back({b.x - k * (after.x - a.x), b.y - k * (after.y - a.y)});
    p.points.push_back(b);
    p.types.insert(p.types.end(), {3, 3, 3});
  }
  if (closed) p.types.back() |= 0x80;
  return p;
}

std::string PathData(const Path& path, const Matrix* m) {
  std::string d;
  const std::size_t n = std::min(path.points.size(), path.types.size());
  auto put = [&](char command, std::size_t i) {
    Point p = m ? m->Apply(path.points[i]) : path.points[i];
    d += command;
    d += Number(p.x);
    d += ' ';
    d += Number(p.y);
  };
  bool open = false;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t type = path.types[i] & 0x07;
    std::size_t last = i;
    if (type == 0 || !open) {
      put('M', i);
      open = true;
    } else if (type == 3 && i + 2 < n && (path.types[i + 1] & 0x07) == 3 &&
               (path.types[i + 2] & 0x07) == 3) {
      put('C', i);
      put(' ', i + 1);
      put(' ', i + 2);
      last = i + 2;
    } else {
      put('L', i);
    }
    i = last;
    if (path.types[i] & 0x80) {
      d += 'Z';
      open = false;
    }
  }
  return d;
}

}  // namespace qp::draw::emfplus
