#include "draw/shape_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/svg_text.h"

namespace qp::draw {

namespace {

constexpr double kPi = std::numbers::pi;

}  // namespace

std::string Polygon(const std::vector<Pt>& pts, bool close) {
  std::string d;
  for (std::size_t i = 0; i < pts.size(); ++i)
    d += (i ? " L" : "M") + Num(pts[i].x) + "," + Num(pts[i].y);
  return close ? d + " Z" : d;
}

std::string Ellipse(double cx, double cy, double rx, double ry) {
  return "M" + Num(cx - rx) + "," + Num(cy) + " A" + Num(rx) + "," + Num(ry) + " 0 1 0 " +
         Num(cx + rx) + "," + Num(cy) + " A" + Num(rx) + "," + Num(ry) + " 0 1 0 " + Num(cx - rx) +
         "," + Num(cy) + " Z";
}

std::vector<Pt> Radial(int points, double w, double h, double innerRatio) {
  std::vector<Pt> out;
  const bool star = innerRatio > 0;
  const int n = star ? points * 2 : points;
  for (int i = 0; i < n; ++i) {
    const double a = -kPi / 2 + 2 * kPi * i / n;
    const double r = star && i % 2 ? innerRatio : 1;
    out.push_back({w / 2 + w / 2 * r * std::cos(a), h / 2 + h / 2 * r * std::sin(a)});
  }
  return out;
}

std::string CornerRect(double w, double h, const int kind[4], const double size[4]) {
  const Pt corner[4] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
  // unit steps from each corner towards its two neighbours (previous, next)
  const Pt prevDir[4] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};
  const Pt nextDir[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
  std::string d;
  for (int i = 0; i < 4; ++i) {
    const double r = kind[i] ? std::clamp(size[i], 0.0, std::min(w, h) / 2) : 0;
    const Pt a{corner[i].x + prevDir[i].x * r, corner[i].y + prevDir[i].y * r};
    const Pt b{corner[i].x + nextDir[i].x * r, corner[i].y + nextDir[i].y * r};
    d += (i ? " L" : "M") + Num(a.x) + "," + Num(a.y);
    if (r > 0)
      d += kind[i] == 1 ? " A" + Num(r) + "," + Num(r) + " 0 0 1 " + Num(b.x) + "," + Num(b.y)
                        : " L" + Num(b.x) + "," + Num(b.y);
  }
  return d + " Z";
}

std::vector<Pt> Arrow(double len, double thick, double shaft, double head, bool both) {
  const double y1 = thick / 2 - thick * shaft / 2, y2 = thick / 2 + thick * shaft / 2;
  const double xh = std::max(len - head, both ? len / 2 : 0.0);
  if (!both) return {{0, y1}, {xh, y1}, {xh, 0}, {len, thick / 2}, {xh, thick}, {xh, y2}, {0, y2}};
  const double xl = len - xh;
  return {{0, thick / 2},   {xl, 0},     {xl, y1}, {xh, y1}, {xh, 0},
          {len, thick / 2}, {xh, thick}, {xh, y2}, {xl, y2}, {xl, thick}};
}

std::string Callout(double w, double h, double tx, double ty) {
  const bool below = ty > h, above = ty<0, right = tx> w, left = tx < 0;
  if (!(below || above || right || left)) return Polygon({{0, 0}, {w, 0}, {w, h}, {0, h}});
  const double bx = w / 6, by = h / 6;
  const double cx = std::clamp(tx, bx, w - 2 * bx), cy = std::clamp(ty, by, h - 2 * by);
  if (below) return Polygon({{0, 0}, {w, 0}, {w, h}, {cx + bx, h}, {tx, ty}, {cx, h}, {0, h}});
  if (above) return Polygon({{0, 0}, {cx, 0}, {tx, ty}, {cx + bx, 0}, {w, 0}, {w, h}, {0, h}});
  if (right) return Polygon({{0, 0}, {w, 0}, {w, cy}, {tx, ty}, {w, cy + by}, {w, h}, {0, h}});
  return Polygon({{0, 0}, {w, 0}, {w, h}, {0, h}, {0, cy + by}, {tx, ty}, {0, cy}});
}

std::string Wave(double w, double h, double amp, bool topToo) {
  const double y0 = topToo ? amp : 0, y1 = h - amp;
  std::string d = "M0," + Num(y0);
  if (topToo)
    d += " C" + Num(w / 3) + "," + Num(y0 - 2 * amp) + " " + Num(2 * w / 3) + "," +
         Num(y0 + 2 * amp) + " " + Num(w) + "," + Num(y0);
  else
    d += " L" + Num(w) + ",0";
  d += " L" + Num(w) + "," + Num(y1) + " C" + Num(2 * w / 3) + "," + Num(y1 - 2 * amp) + " " +
       Num(w / 3) + "," + Num(y1 + 2 * amp) + " 0," + Num(y1) + " Z";
  return d;
}

std::string CircularArrow(double w, double h, double band, double headAngle, double endAngle,
                          double startAngle, double headHalf) {
  const double ss = std::min(w, h), cx = w / 2, cy = h / 2;
  auto rad = [](double v) { return v * 100000 / 60000 * kPi / 180; };
  const double a5 = std::clamp(headHalf, 0.0, 0.25), th = ss * std::clamp(band, 0.0, 2 * a5);
  const double thh = ss * a5;
  const double en = rad(std::clamp(endAngle, 1e-5, 215.99999));
  const double st = rad(std::clamp(startAngle, 0.0, 215.99999));
  const double rw1 = std::max(w / 2 + th / 2 - thh, 1e-6),
               rh1 = std::max(h / 2 + th / 2 - thh, 1e-6);
  const double rw2 = std::max(rw1 - th, 1e-6), rh2 = std::max(rh1 - th, 1e-6);
  const double rw3 = (rw1 + rw2) / 2, rh3 = (rh1 + rh2) / 2;
  // the point of an ellipse seen from the centre at angle a
  auto on = [&](double rx, double ry, double a) {
    const double t = std::atan2(rx * std::sin(a), ry * std::cos(a));
    return Pt{cx + rx * std::cos(t), cy + ry * std::sin(t)};
  };
  // where the line from p to q crosses an ellipse, the crossing nearer to
  // p + s (q - p)
  auto cross = [&](Pt p, Pt q, double rx, double ry, double s) {
    const double px = (p.x - cx) / rx, py = (p.y - cy) / ry;
    const double dx = (q.x - p.x) / rx, dy = (q.y - p.y) / ry;
    const double a = dx * dx + dy * dy, b = 2 * (px * dx + py * dy), c = px * px + py * py - 1;
    const double disc = b * b - 4 * a * c;
    if (a <= 0 || disc < 0) return Pt{p.x + (q.x - p.x) * s, p.y + (q.y - p.y) * s};
    const double s1 = (-b - std::sqrt(disc)) / (2 * a), s2 = (-b + std::sqrt(disc)) / (2 * a);
    const double k = std::abs(s1 - s) < std::abs(s2 - s) ? s1 : s2;
    return Pt{p.x + (q.x - p.x) * k, p.y + (q.y - p.y) * k};
  };
  auto sweep = [&](Pt p) {
    double a = std::atan2(p.y - cy, p.x - cx) - st;
    while (a < 0) a += 2 * kPi;
    return a;
  };
  const double tip = en + std::clamp(rad(headAngle), 0.0, kPi / 2);
  const Pt mid = on(rw3, rh3, en), a = on(rw3, rh3, tip);
  const Pt g{mid.x + thh * std::cos(tip), mid.y + thh * std::sin(tip)};
  const Pt b{mid.x - thh * std::cos(tip), mid.y - thh * std::sin(tip)};
  const Pt f = cross(b, g, rw1, rh1, 1), c = cross(b, g, rw2, rh2, 0);
  // a head narrower than the band ends the band's edges at the head's base
  const bool narrow = std::hypot(f.x - c.x, f.y - c.y) / 2 > thh;
  const Pt gp = narrow ? f : g, bp = narrow ? c : b;
  const Pt e = on(rw1, rh1, st), i = on(rw2, rh2, st);
  auto pt = [](Pt p) { return Num(p.x) + "," + Num(p.y); };
  return "M" + pt(e) + " A" + Num(rw1) + "," + Num(rh1) + " 0 " + (sweep(f) > kPi ? "1" : "0") +
         " 1 " + pt(f) + " L" + pt(gp) + " L" + pt(a) + " L" + pt(bp) + " L" + pt(c) + " A" +
         Num(rw2) + "," + Num(rh2) + " 0 " + (sweep(c) > kPi ? "1" : "0") + " 0 " + pt(i) + " Z";
}

std::vector<Pt> Scaled(std::initializer_list<Pt> grid, double w, double h) {
  std::vector<Pt> out;
  for (Pt p : grid) out.push_back({p.x * w / 21600, p.y * h / 21600});
  return out;
}

}  // namespace qp::draw
