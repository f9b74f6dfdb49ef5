// VML's gradient fills (v:fill type="gradient" and "gradientRadial") as
// the gradients the DrawingML half draws.
#include <algorithm>
#include <cmath>

#include "draw/shape_context.h"
#include "draw/xml_names.h"

namespace qp::draw {
namespace {

// A VML fraction: "0.5", "50%", or "32768f" in 65536ths.
double Fraction(std::string_view v, double fallback) {
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  double n = ToNumber(v, NAN);
  if (!std::isfinite(n)) return fallback;
  if (!v.empty() && v.back() == 'f') n /= 65536;
  if (!v.empty() && v.back() == '%') n /= 100;
  return n;
}

// color2 may be said relative to the fill colour: "fill darken(118)",
// "fill lighten(200)" (n/255 of the way from black or white).
std::optional<std::uint32_t> SecondColor(std::string_view v, std::uint32_t first) {
  if (auto plain = ParseCssColor(v)) return plain;
  const std::size_t open = v.find('(');
  if (v.substr(0, 5) != "fill " || open == std::string_view::npos) return std::nullopt;
  const double n = std::clamp(ToNumber(v.substr(open + 1), 255) / 255, 0.0, 1.0);
  const bool darken = v.find("darken") != std::string_view::npos;
  if (!darken && v.find("lighten") == std::string_view::npos) return std::nullopt;
  std::uint32_t out = 0;
  for (int shift = 16; shift >= 0; shift -= 8) {
    const double c = (first >> shift) & 0xFF;
    const double mixed = darken ? c * n : 255 - (255 - c) * n;
    out |= static_cast<std::uint32_t>(std::lround(std::clamp(mixed, 0.0, 255.0))) << shift;
  }
  return out;
}

// colors="0 #xxx;.5 #yyy;1 #zzz": the stops between the two colours.
std::vector<GradientStop> Stops(std::string_view list, double alpha) {
  constexpr std::size_t kMaxStops = 64;
  std::vector<GradientStop> stops;
  std::size_t at = 0;
  while (at < list.size() && stops.size() < kMaxStops) {
    const std::size_t end = std::min(list.find(';', at), list.size());
    std::string_view item = list.substr(at, end - at);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    const std::size_t blank = item.find(' ');
    if (blank != std::string_view::npos) {
      const double pos = Fraction(item.substr(0, blank), NAN);
      if (auto c = ParseCssColor(item.substr(blank + 1)); c && std::isfinite(pos))
        stops.push_back({std::clamp(pos, 0.0, 1.0), Color{*c, alpha}});
    }
    at = end + 1;
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const GradientStop& a, const GradientStop& b) { return a.at < b.at; });
  return stops;
}

std::vector<GradientStop> Reversed(std::vector<GradientStop> stops) {
  std::reverse(stops.begin(), stops.end());
  for (GradientStop& s : stops) s.at = 1 - s.at;
  return stops;
}

}  // namespace

std::optional<Gradient> ReadVmlGradient(pugi::xml_node fill, const Color& first) {
  const std::string_view type = Attr(fill, "type").value();
  if (type != "gradient" && type != "gradientRadial") return std::nullopt;
  const std::optional<std::uint32_t> second = SecondColor(Attr(fill, "color2").value(), first.rgb);
  Gradient g;
  g.stops = Stops(Attr(fill, "colors").value(), first.alpha);
  if (g.stops.size() < 2) {
    if (!second) return std::nullopt;
    g.stops = {{0, first}, {1, Color{*second, first.alpha}}};
  }
  // focus: where along the way the second colour sits (0, the default:
  // at the start); between the ends the run is mirrored, below zero the
  // colours change places.
  const double focus = std::clamp(Fraction(Attr(fill, "focus").value(), 0), -1.0, 1.0);
  std::vector<GradientStop> base = focus < 0 ? Reversed(g.stops) : g.stops;
  const double f = std::abs(focus);
  if (f <= 0) {
    g.stops = Reversed(base);
  } else if (f < 1) {
    g.stops.clear();
    for (const GradientStop& s : base) g.stops.push_back({s.at * f, s.color});
    for (const GradientStop& s : Reversed(base)) g.stops.push_back({f + s.at * (1 - f), s.color});
    // the mirrored run starts where the first ends: drop the repeated stop
    g.stops.erase(g.stops.begin() + static_cast<std::ptrdiff_t>(base.size()));
  } else {
    g.stops = base;
  }
  if (type == "gradientRadial") {
    // From the focus position outwards.
    g.radial = true;
    const std::string_view position = Attr(fill, "focusposition").value();
    const std::size_t comma = position.find(',');
    g.cx = std::clamp(Fraction(position.substr(0, comma), 0.5), 0.0, 1.0);
    g.cy = comma == std::string_view::npos
               ? 0.5
               : std::clamp(Fraction(position.substr(comma + 1), 0.5), 0.0, 1.0);
    if (position.empty()) g.cx = g.cy = 0.5;
  } else {
    // VML's angle turns the other way, from a run down the box at 0.
    const double angle = ToNumber(Attr(fill, "angle").value(), 0);
    g.angle = std::isfinite(angle) ? std::fmod(450 - std::fmod(angle, 360), 360) : 90;
  }
  return g;
}

}  // namespace qp::draw
