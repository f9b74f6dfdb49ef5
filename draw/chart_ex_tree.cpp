// Treemap and sunburst: the leaves of a category hierarchy sized by their
// values, each top-level branch in a colour of its own.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/chart_ex.h"
#include "draw/svg_text.h"

namespace qp::draw {
namespace {

constexpr int kMaxDepth = 8;

struct Node {
  std::string name;
  double sum = 0;
  int branch = 0;  // index of the top-level branch it belongs to
  std::vector<Node> children;
};

// The hierarchy of the leaves with a positive value: the last category
// level is the root's children, the first the leaves.
Node BuildTree(const ExSeries& s) {
  Node root;
  const std::vector<std::vector<std::string>>& levels = s.data.levels;
  for (std::size_t i = 0; i < s.data.values.size(); ++i) {
    const double v = s.data.values[i];
    // sums stay finite however many hostile leaves there are
    if (!(v > 0) || v > 1e15) continue;
    Node* at = &root;
    at->sum += v;
    for (std::size_t k = levels.size(); k-- > 0;) {
      const std::string name = i < levels[k].size() ? levels[k][i] : std::string();
      if (name.empty() && k > 0) continue;  // a leaf that sits higher up
      auto child = std::find_if(at->children.begin(), at->children.end(),
                                [&](const Node& n) { return n.name == name; });
      if (child == at->children.end()) {
        at->children.push_back({name, 0, at == &root ? int(root.children.size()) : at->branch, {}});
        child = at->children.end() - 1;
      }
      at = &*child;
      at->sum += v;
    }
  }
  return root;
}

double Worst(double rowSum, double smallest, double largest, double side) {
  const double s2 = rowSum * rowSum, w2 = side * side;
  return std::max(w2 * largest / s2, s2 / (w2 * smallest));
}

// Squarified layout of `sizes` (largest first) in `box`.
std::vector<Box> Squarify(const std::vector<double>& sizes, Box box) {
  std::vector<Box> out(sizes.size());
  double total = 0;
  for (double v : sizes) total += v;
  if (!(total > 0) || box.w <= 0 || box.h <= 0) return out;
  const double scale = box.w * box.h / total;
  std::size_t i = 0;
  while (i < sizes.size()) {
    const double side = std::min(box.w, box.h);
    double rowSum = sizes[i] * scale, smallest = rowSum, largest = rowSum;
    double worst = Worst(rowSum, smallest, largest, side);
    std::size_t j = i + 1;
    for (; j < sizes.size(); ++j) {
      const double v = sizes[j] * scale;
      const double next = Worst(rowSum + v, std::min(smallest, v), std::max(largest, v), side);
      if (next > worst) break;
      rowSum += v, smallest = std::min(smallest, v), largest = std::max(largest, v), worst = next;
    }
    if (box.w >= box.h) {
      const double colW = rowSum / box.h;
      double y = box.y;
      for (std::size_t k = i; k < j; ++k) {
        const double h = sizes[k] * scale / colW;
        out[k] = {box.x, y, colW, h};
        y += h;
      }
      box.x += colW, box.w -= colW;
    } else {
      const double rowH = rowSum / box.w;
      double x = box.x;
      for (std::size_t k = i; k < j; ++k) {
        const double w = sizes[k] * scale / rowH;
        out[k] = {x, box.y, w, rowH};
        x += w;
      }
      box.y += rowH, box.h -= rowH;
    }
    i = j;
  }
  return out;
}

void SortBySize(std::vector<Node>& nodes) {
  std::stable_sort(nodes.begin(), nodes.end(),
                   [](const Node& a, const Node& b) { return a.sum > b.sum; });
}

void LayoutTreemap(ChartCanvas& c, Node& node, Box box, int depth) {
  SortBySize(node.children);
  std::vector<double> sizes;
  for (const Node& n : node.children) sizes.push_back(n.sum);
  const std::vector<Box> boxes = Squarify(sizes, box);
  const double px = c.fontPx;
  for (std::size_t i = 0; i < node.children.size(); ++i) {
    Node& child = node.children[i];
    const Box b = boxes[i];
    if (child.children.empty() || depth >= kMaxDepth) {
      c.body += "<rect x=\"" + Num(b.x) + "\" y=\"" + Num(b.y) + "\" width=\"" + Num(b.w) +
                "\" height=\"" + Num(b.h) + "\"" + FillAttrs(SeriesColor(c.palette, child.branch)) +
                " stroke=\"#FFFFFF\" stroke-width=\"1.5\"/>\n";
      if (b.w > px * 2 && b.h > px * 1.4)
        c.Label(b.x + 4, b.y + px * 0.8, FitText(child.name, px, b.w - 8), "start", px, 0xFFFFFF);
      continue;
    }
    // a branch's name sits over its first leaves, as Office overlaps it
    LayoutTreemap(c, child, b, depth + 1);
    if (b.w > px * 2 && b.h > px * 3)
      c.Label(b.x + 4, b.y + b.h - px * 0.8, FitText(child.name, px, b.w - 8), "start", px,
              0xFFFFFF, 0, true);
  }
}

std::string Sector(double cx, double cy, double r0, double r1, double a0, double a1) {
  auto pt = [&](double r, double a) {
    return Num(cx + r * std::cos(a)) + "," + Num(cy + r * std::sin(a));
  };
  const std::string large = a1 - a0 > std::numbers::pi ? "1" : "0";
  return "M" + pt(r1, a0) + " A" + Num(r1) + "," + Num(r1) + " 0 " + large + " 1 " + pt(r1, a1) +
         " L" + pt(r0, a1) + " A" + Num(r0) + "," + Num(r0) + " 0 " + large + " 0 " + pt(r0, a0) +
         " Z";
}

int Depth(const Node& n, int depth = 0) {
  int most = depth;
  if (depth < kMaxDepth)
    for (const Node& child : n.children) most = std::max(most, Depth(child, depth + 1));
  return most;
}

void Rings(ChartCanvas& c, const Node& node, double cx, double cy, double hole, double ring,
           double a0, double span, int depth, double total) {
  double a = a0;
  for (const Node& child : node.children) {
    const double sweep = span * child.sum / node.sum;
    const double r0 = hole + ring * (depth - 1), r1 = r0 + ring;
    // a full circle is drawn as two halves, as one arc cannot close on itself
    const int pieces = sweep > std::numbers::pi * 1.999 ? 2 : 1;
    for (int p = 0; p < pieces; ++p)
      c.body += "<path d=\"" +
                Sector(cx, cy, r0, r1, a + sweep * p / pieces, a + sweep * (p + 1) / pieces) +
                "\"" + FillAttrs(SeriesColor(c.palette, child.branch)) +
                " stroke=\"#FFFFFF\" stroke-width=\"1.5\"/>\n";
    const double mid = a + sweep / 2, rm = (r0 + r1) / 2;
    if (sweep * rm > c.fontPx * 1.5 && ring > c.fontPx * 1.2)
      c.Label(cx + rm * std::cos(mid), cy + rm * std::sin(mid),
              FitText(child.name, c.fontPx * 0.9, std::max(ring, sweep * rm) - 4), "middle",
              c.fontPx * 0.9, 0xFFFFFF);
    if (depth < kMaxDepth && child.sum > 0)
      Rings(c, child, cx, cy, hole, ring, a, sweep, depth + 1, total);
    a += sweep;
  }
}

}  // namespace

void DrawTreemap(ChartCanvas& c, const ExSeries& s, Box plot) {
  Node root = BuildTree(s);
  LayoutTreemap(c, root, plot, 1);
}

void DrawSunburst(ChartCanvas& c, const ExSeries& s, Box plot) {
  Node root = BuildTree(s);
  const int depth = Depth(root);
  if (depth == 0 || !(root.sum > 0)) return;
  const double radius = std::min(plot.w, plot.h) / 2, hole = radius * 0.12;
  Rings(c, root, plot.x + plot.w / 2, plot.y + plot.h / 2, hole, (radius - hole) / depth,
        -std::numbers::pi / 2, 2 * std::numbers::pi, 1, root.sum);
}

}  // namespace qp::draw
