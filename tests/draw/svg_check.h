// Reading back the SVG the renderers write: the elements and numbers the
// tests compare.
#pragma once

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pixels.h"

namespace qp::draw::testing {

// Parses a drawing's SVG, failing the test when it is not well-formed.
inline pugi::xml_node ParseSvg(pugi::xml_document& doc, const std::string& svg) {
  EXPECT_TRUE(doc.load_string(svg.c_str())) << svg.substr(0, 400);
  const pugi::xml_node root = doc.child("svg");
  EXPECT_TRUE(root) << svg.substr(0, 400);
  return root;
}

// Every element with this name, in document order.
inline std::vector<pugi::xml_node> All(pugi::xml_node root, const char* name) {
  std::vector<pugi::xml_node> out;
  for (const pugi::xpath_node& n : root.select_nodes((std::string("//") + name).c_str()))
    out.push_back(n.node());
  return out;
}

// Elements with this name and fill colour.
inline std::vector<pugi::xml_node> Filled(pugi::xml_node root, const char* name,
                                          std::string_view fill) {
  std::vector<pugi::xml_node> out;
  for (pugi::xml_node n : All(root, name))
    if (fill == n.attribute("fill").value()) out.push_back(n);
  return out;
}

// The numbers in a path's data, in order.
inline std::vector<double> PathNumbers(std::string_view d) {
  std::vector<double> out;
  std::string s(d);
  const char* p = s.c_str();
  while (*p) {
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    if (end != p) {
      out.push_back(v);
      p = end;
    } else {
      ++p;
    }
  }
  return out;
}

inline double Num(pugi::xml_node n, const char* attr) {
  return n.attribute(attr).as_double();
}

// The texts of all text elements, each between "|".
inline std::string Texts(pugi::xml_node root) {
  std::string out = "|";
  for (pugi::xml_node t : All(root, "text")) out += std::string(t.child_value()) + "|";
  return out;
}

}  // namespace qp::draw::testing

namespace qp::draw::testing {

// An affine map as SVG writes it: x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Affine Then(const Affine& inner) const {  // this applied after inner
    return {a * inner.a + c * inner.b,     b * inner.a + d * inner.b,
            a * inner.c + c * inner.d,     b * inner.c + d * inner.d,
            a * inner.e + c * inner.f + e, b * inner.e + d * inner.f + f};
  }
  std::pair<double, double> Apply(double x, double y) const {
    return {a * x + c * y + e, b * x + d * y + f};
  }
};

// The transform attribute of one element (translate, scale, rotate, matrix).
inline Affine ParseTransform(std::string_view t) {
  Affine out;
  while (!t.empty()) {
    const auto open = t.find('('), close = t.find(')');
    if (open == std::string_view::npos || close == std::string_view::npos) break;
    std::string name(t.substr(0, open));
    name.erase(0, name.find_first_not_of(" ,"));
    std::vector<double> v = PathNumbers(t.substr(open + 1, close - open - 1));
    Affine m;
    if (name == "translate" && !v.empty()) m.e = v[0], m.f = v.size() > 1 ? v[1] : 0;
    if (name == "scale" && !v.empty()) m.a = v[0], m.d = v.size() > 1 ? v[1] : v[0];
    if (name == "matrix" && v.size() == 6) m = {v[0], v[1], v[2], v[3], v[4], v[5]};
    if (name == "rotate" && !v.empty()) {
      const double r = v[0] * 3.14159265358979 / 180, cx = v.size() > 2 ? v[1] : 0,
                   cy = v.size() > 2 ? v[2] : 0;
      const Affine rot{std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
      m = Affine{1, 0, 0, 1, cx, cy}.Then(rot).Then(Affine{1, 0, 0, 1, -cx, -cy});
    }
    out = out.Then(m);
    t.remove_prefix(close + 1);
  }
  return out;
}

// The map from an element's own coordinates to the picture's.
inline Affine ToPicture(pugi::xml_node n) {
  Affine out;
  for (; n && std::string_view(n.name()) != "svg"; n = n.parent())
    out = ParseTransform(n.attribute("transform").value()).Then(out);
  return out;
}

}  // namespace qp::draw::testing
