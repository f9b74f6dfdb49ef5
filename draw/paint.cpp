#include "draw/paint.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "draw/svg_text.h"
#include "draw/xml_names.h"
#include "text/number.h"
#include "text/style_length.h"

namespace qp::draw {
namespace {

constexpr std::array<std::uint32_t, 6> kOfficeAccents = {0x4472C4, 0xED7D31, 0xA5A5A5,
                                                         0xFFC000, 0x5B9BD5, 0x70AD47};

struct Hsl {
  double h, s, l;
};

Hsl ToHsl(std::uint32_t rgb) {
  const double r = ((rgb >> 16) & 0xFF) / 255.0, g = ((rgb >> 8) & 0xFF) / 255.0,
               b = (rgb & 0xFF) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  Hsl out{0, 0, (mx + mn) / 2};
  const double d = mx - mn;
  if (d <= 0) return out;
  out.s = out.l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
  if (mx == r)
    out.h = (g - b) / d + (g < b ? 6 : 0);
  else if (mx == g)
    out.h = (b - r) / d + 2;
  else
    out.h = (r - g) / d + 4;
  out.h /= 6;
  return out;
}

double HueToRgb(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

std::uint8_t Channel(double v) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

std::uint32_t Pack(double r, double g, double b) {
  return (std::uint32_t{Channel(r)} << 16) | (std::uint32_t{Channel(g)} << 8) | Channel(b);
}

std::uint32_t FromHsl(Hsl c) {
  c.h = c.h - std::floor(c.h);
  c.s = std::clamp(c.s, 0.0, 1.0);
  c.l = std::clamp(c.l, 0.0, 1.0);
  if (c.s <= 0) return Pack(c.l, c.l, c.l);
  const double q = c.l < 0.5 ? c.l * (1 + c.s) : c.l + c.s - c.l * c.s;
  const double p = 2 * c.l - q;
  return Pack(HueToRgb(p, q, c.h + 1.0 / 3), HueToRgb(p, q, c.h), HueToRgb(p, q, c.h - 1.0 / 3));
}

struct Named {
  std::string_view name;
  std::uint32_t rgb;
};

// Names used by VML attributes and a:prstClr; the CSS set's common part.
constexpr Named kNamed[] = {
    {"black", 0x000000},         {"white", 0xFFFFFF},   {"red", 0xFF0000},
    {"green", 0x008000},         {"lime", 0x00FF00},    {"blue", 0x0000FF},
    {"yellow", 0xFFFF00},        {"cyan", 0x00FFFF},    {"aqua", 0x00FFFF},
    {"magenta", 0xFF00FF},       {"fuchsia", 0xFF00FF}, {"gray", 0x808080},
    {"grey", 0x808080},          {"silver", 0xC0C0C0},  {"maroon", 0x800000},
    {"olive", 0x808000},         {"navy", 0x000080},    {"purple", 0x800080},
    {"teal", 0x008080},          {"orange", 0xFFA500},  {"darkgray", 0xA9A9A9},
    {"lightgray", 0xD3D3D3},     {"ltgray", 0xD3D3D3},  {"dkgray", 0xA9A9A9},
    {"darkblue", 0x00008B},      {"darkred", 0x8B0000}, {"darkgreen", 0x006400},
    {"windowtext", 0x000000},    {"window", 0xFFFFFF},  {"buttonface", 0xF0F0F0},
    {"infobackground", 0xFFFFE1}};

std::optional<std::uint32_t> NamedColor(std::string_view name) {
  std::string lower(name.substr(0, 32));
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  for (const Named& n : kNamed)
    if (n.name == lower) return n.rgb;
  return std::nullopt;
}

std::optional<std::uint32_t> HexColor(std::string_view text) {
  if (text.size() != 6 && text.size() != 3) return std::nullopt;
  std::uint32_t v = 0;
  for (char ch : text) {
    const int d = std::isdigit(static_cast<unsigned char>(ch)) ? ch - '0'
                  : (ch | 0x20) >= 'a' && (ch | 0x20) <= 'f'   ? (ch | 0x20) - 'a' + 10
                                                               : -1;
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<std::uint32_t>(d);
  }
  if (text.size() == 3)
    v = ((v >> 8) & 0xF) * 0x110000 + ((v >> 4) & 0xF) * 0x1100 + (v & 0xF) * 0x11;
  return v;
}

// Applies the transform children of a colour element in order.
Color Transform(Color c, pugi::xml_node colorElement) {
  for (pugi::xml_node t : colorElement.children()) {
    const std::string_view name = LocalName(t);
    const double v = AttrNumber(t, "val", 0) / 100000.0;
    if (name == "alpha") {
      c.alpha = std::clamp(v, 0.0, 1.0);
    } else if (name == "alphaMod") {
      c.alpha = std::clamp(c.alpha * v, 0.0, 1.0);
    } else if (name == "alphaOff") {
      c.alpha = std::clamp(c.alpha + v, 0.0, 1.0);
    } else if (name == "lumMod" || name == "lumOff" || name == "satMod" || name == "satOff" ||
               name == "hueOff" || name == "hueMod") {
      Hsl h = ToHsl(c.rgb);
      if (name == "lumMod") h.l *= v;
      if (name == "lumOff") h.l += v;
      if (name == "satMod") h.s *= v;
      if (name == "satOff") h.s += v;
      // hue values are in 60000ths of a degree
      if (name == "hueOff") h.h += AttrNumber(t, "val", 0) / 60000.0 / 360.0;
      if (name == "hueMod") h.h *= v;
      c.rgb = FromHsl(h);
    } else if (name == "shade" || name == "tint") {
      const double f = std::clamp(v, 0.0, 1.0);
      double ch[3] = {((c.rgb >> 16) & 0xFF) / 255.0, ((c.rgb >> 8) & 0xFF) / 255.0,
                      (c.rgb & 0xFF) / 255.0};
      for (double& x : ch) x = name == "shade" ? x * f : x + (1 - x) * (1 - f);
      c.rgb = Pack(ch[0], ch[1], ch[2]);
    } else if (name == "gray") {
      const double y =
          0.299 * ((c.rgb >> 16) & 0xFF) + 0.587 * ((c.rgb >> 8) & 0xFF) + 0.114 * (c.rgb & 0xFF);
      c.rgb = Pack(y / 255, y / 255, y / 255);
    } else if (name == "inv") {
      c.rgb ^= 0xFFFFFF;
    } else if (name == "comp") {
      Hsl h = ToHsl(c.rgb);
      h.h += 0.5;
      c.rgb = FromHsl(h);
    }
  }
  return c;
}

}  // namespace

std::uint32_t SchemeColor(const Palette& palette, std::string_view name) {
  if (name.size() == 7 && name.substr(0, 6) == "accent" && name[6] >= '1' && name[6] <= '6') {
    const std::size_t i = static_cast<std::size_t>(name[6] - '1');
    return i < palette.accents.size() ? palette.accents[i] & 0xFFFFFF : kOfficeAccents[i];
  }
  if (name == "dk1" || name == "tx1") return palette.dark1;
  if (name == "lt1" || name == "bg1") return palette.light1;
  if (name == "dk2" || name == "tx2") return palette.dark2;
  if (name == "lt2" || name == "bg2") return palette.light2;
  if (name == "hlink") return 0x0563C1;
  if (name == "folHlink") return 0x954F72;
  return palette.dark1;
}

Color SeriesColor(const Palette& palette, int index) {
  if (index < 0) index = 0;
  const int cycle = (index / 6) % 4;
  const std::string accent = "accent" + std::to_string(index % 6 + 1);
  Color c{SchemeColor(palette, accent), 1};
  // Office cycles accents, then darker (shade 60%), lighter (tint 60%) ...
  if (cycle == 1 || cycle == 3) {
    Hsl h = ToHsl(c.rgb);
    h.l *= cycle == 1 ? 0.6 : 0.8;
    c.rgb = FromHsl(h);
  } else if (cycle == 2) {
    Hsl h = ToHsl(c.rgb);
    h.l = h.l * 0.6 + 0.4;
    c.rgb = FromHsl(h);
  }
  return c;
}

std::optional<Color> ReadColor(pugi::xml_node el, const Palette& palette,
                               std::optional<Color> placeholder) {
  const std::string_view name = LocalName(el);
  Color c;
  if (name == "srgbClr") {
    const auto v = HexColor(Attr(el, "val").value());
    if (!v) return std::nullopt;
    c.rgb = *v;
  } else if (name == "schemeClr") {
    const std::string_view v = Attr(el, "val").value();
    if (v == "phClr") {
      if (!placeholder) return std::nullopt;
      c = *placeholder;
    } else {
      c.rgb = SchemeColor(palette, v);
    }
  } else if (name == "sysClr") {
    const auto last = HexColor(Attr(el, "lastClr").value());
    c.rgb = last ? *last : NamedColor(Attr(el, "val").value()).value_or(0);
  } else if (name == "prstClr") {
    c.rgb = NamedColor(Attr(el, "val").value()).value_or(0);
  } else if (name == "scrgbClr") {
    // linear percentages to sRGB
    auto gamma = [&](std::string_view a) {
      const double lin = std::clamp(AttrNumber(el, a, 0) / 100000.0, 0.0, 1.0);
      return lin <= 0.0031308 ? lin * 12.92 : 1.055 * std::pow(lin, 1 / 2.4) - 0.055;
    };
    c.rgb = Pack(gamma("r"), gamma("g"), gamma("b"));
  } else if (name == "hslClr") {
    c.rgb = FromHsl({AttrNumber(el, "hue", 0) / 60000.0 / 360.0,
                     AttrNumber(el, "sat", 0) / 100000.0, AttrNumber(el, "lum", 0) / 100000.0});
  } else {
    return std::nullopt;
  }
  return Transform(c, el);
}

std::optional<Color> ReadChildColor(pugi::xml_node parent, const Palette& palette,
                                    std::optional<Color> placeholder) {
  for (pugi::xml_node c : parent.children())
    if (auto color = ReadColor(c, palette, placeholder)) return color;
  return std::nullopt;
}

Fill ReadFill(pugi::xml_node spPr, const Palette& palette, std::optional<Color> placeholder) {
  Fill fill;
  for (pugi::xml_node c : spPr.children()) {
    const std::string_view name = LocalName(c);
    if (name == "noFill") {
      fill.none = true;
      return fill;
    }
    if (name == "solidFill") {
      fill.color = ReadChildColor(c, palette, placeholder);
      return fill;
    }
    if (name == "gradFill") {
      // the first stop in document order stands for the gradient where
      // one colour is drawn (a chart's series)
      fill.color = ReadChildColor(Path(c, {"gsLst", "gs"}), palette, placeholder);
      fill.gradient = ReadGradient(c, palette, placeholder);
      return fill;
    }
    if (name == "pattFill") {
      fill.color = ReadChildColor(Child(c, "fgClr"), palette, placeholder);
      return fill;
    }
    if (name == "blipFill") {
      fill.color = Color{0xBFBFBF, 1};
      return fill;
    }
  }
  return fill;
}

std::optional<Gradient> ReadGradient(pugi::xml_node gradFill, const Palette& palette,
                                     std::optional<Color> placeholder) {
  constexpr std::size_t kMaxStops = 64;
  Gradient g;
  for (pugi::xml_node gs : Child(gradFill, "gsLst").children()) {
    if (g.stops.size() == kMaxStops) break;
    if (LocalName(gs) != "gs") continue;
    if (auto color = ReadChildColor(gs, palette, placeholder))
      g.stops.push_back({std::clamp(AttrNumber(gs, "pos", 0) / 100000, 0.0, 1.0), *color});
  }
  if (g.stops.size() < 2) return std::nullopt;
  std::stable_sort(g.stops.begin(), g.stops.end(),
                   [](const GradientStop& a, const GradientStop& b) { return a.at < b.at; });
  if (const pugi::xml_node path = Child(gradFill, "path")) {
    // From the focus rectangle (insets from each side) outwards.
    const pugi::xml_node r = Child(path, "fillToRect");
    auto share = [&](const char* side) {
      return std::clamp(AttrNumber(r, side, 0) / 100000, -1.0, 2.0);
    };
    g.radial = true;
    g.cx = (share("l") + 1 - share("r")) / 2;
    g.cy = (share("t") + 1 - share("b")) / 2;
  } else {
    const double angle = AttrNumber(Child(gradFill, "lin"), "ang", 0) / 60000;
    g.angle = std::isfinite(angle) ? std::fmod(angle, 360) : 0;
  }
  return g;
}

std::string GradientElement(const Gradient& g, const std::string& id) {
  std::string out;
  if (g.radial) {
    const double cx = std::clamp(g.cx, 0.0, 1.0), cy = std::clamp(g.cy, 0.0, 1.0);
    const double r = std::hypot(std::max(cx, 1 - cx), std::max(cy, 1 - cy));
    out = "<radialGradient id=\"" + id + "\" cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" r=\"" +
          Num(r) + "\">\n";
  } else {
    // Through the centre, long enough that the first and last stops touch
    // the box's corners.
    const double a = g.angle * 3.14159265358979323846 / 180;
    const double dx = std::cos(a), dy = std::sin(a);
    const double half = (std::abs(dx) + std::abs(dy)) / 2;
    out = "<linearGradient id=\"" + id + "\" x1=\"" + Num(0.5 - dx * half) + "\" y1=\"" +
          Num(0.5 - dy * half) + "\" x2=\"" + Num(0.5 + dx * half) + "\" y2=\"" +
          Num(0.5 + dy * half) + "\">\n";
  }
  for (const GradientStop& stop : g.stops) {
    out += "<stop offset=\"" + Num(stop.at) + "\" stop-color=\"" + HexRgb(stop.color.rgb) + "\"";
    if (stop.color.alpha < 1) out += " stop-opacity=\"" + Num(stop.color.alpha) + "\"";
    out += "/>\n";
  }
  return out + (g.radial ? "</radialGradient>\n" : "</linearGradient>\n");
}

std::string GradientFill(const Gradient& gradient, int& count, std::string& defs) {
  const std::string id = "grad" + std::to_string(++count);
  defs += GradientElement(gradient, id);
  return " fill=\"url(#" + id + ")\"";
}

std::optional<Shadow> ReadOuterShadow(pugi::xml_node spPr, const Palette& palette,
                                      std::optional<Color> placeholder) {
  const pugi::xml_node shadow = Child(Child(spPr, "effectLst"), "outerShdw");
  if (!shadow) return std::nullopt;
  constexpr double kMaxPx = 500;
  Shadow out;
  const double dist = std::clamp(AttrNumber(shadow, "dist", 0) / kEmuPerPx, 0.0, kMaxPx);
  const double dir = AttrNumber(shadow, "dir", 0) / 60000 * 3.14159265358979323846 / 180;
  out.blur = std::clamp(AttrNumber(shadow, "blurRad", 0) / kEmuPerPx, 0.0, kMaxPx);
  if (std::isfinite(dir)) {
    out.dx = dist * std::cos(dir);
    out.dy = dist * std::sin(dir);
  }
  if (auto color = ReadChildColor(shadow, palette, placeholder)) out.color = *color;
  return out;
}

std::optional<Shadow> ThemeShadow(const Palette& palette, int index,
                                  std::optional<Color> placeholder) {
  if (index < 1 || palette.effectStyles.empty()) return std::nullopt;
  pugi::xml_document doc;
  if (!ParseXml(doc, palette.effectStyles)) return std::nullopt;
  pugi::xml_node chosen;
  for (pugi::xml_node style : doc.document_element().children()) {
    if (LocalName(style) != "effectStyle") continue;
    chosen = style;
    if (--index == 0) break;
  }
  return ReadOuterShadow(chosen, palette, placeholder);
}

std::string ShadowFilter(const Shadow& shadow, const std::string& id) {
  // The blur radius is about two standard deviations of a Gaussian.
  return "<filter id=\"" + id +
         "\" x=\"-50%\" y=\"-50%\" width=\"200%\" height=\"200%\">\n"
         "<feGaussianBlur in=\"SourceAlpha\" stdDeviation=\"" +
         Num(shadow.blur / 2) + "\"/>\n<feOffset dx=\"" + Num(shadow.dx) + "\" dy=\"" +
         Num(shadow.dy) + "\" result=\"offset\"/>\n<feFlood flood-color=\"" +
         HexRgb(shadow.color.rgb) + "\" flood-opacity=\"" + Num(shadow.color.alpha) +
         "\"/>\n<feComposite in2=\"offset\" operator=\"in\"/>\n"
         "<feMerge><feMergeNode/><feMergeNode in=\"SourceGraphic\"/></feMerge>\n</filter>\n";
}

Line ReadLine(pugi::xml_node spPr, const Palette& palette, std::optional<Color> placeholder) {
  Line line;
  const pugi::xml_node ln = Child(spPr, "ln");
  if (!ln) return line;
  line.widthEmu = AttrNumber(ln, "w", -1);
  const Fill f = ReadFill(ln, palette, placeholder);
  line.none = f.none;
  line.color = f.color;
  line.headEnd = Attr(Child(ln, "headEnd"), "type").value();
  line.tailEnd = Attr(Child(ln, "tailEnd"), "type").value();
  const std::string_view dash = ChildVal(ln, "prstDash");
  if (dash != "solid") line.dash = dash;
  return line;
}

std::optional<std::uint32_t> ParseCssColor(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const auto cut = text.find_first_of(" [");
  if (cut != std::string_view::npos) text = text.substr(0, cut);
  if (!text.empty() && text.front() == '#') return HexColor(text.substr(1));
  return NamedColor(text);
}

std::string FillAttrs(const std::optional<Color>& color) {
  if (!color) return " fill=\"none\"";
  std::string out = " fill=\"" + HexRgb(color->rgb) + "\"";
  if (color->alpha < 1) out += " fill-opacity=\"" + Num(color->alpha) + "\"";
  return out;
}

std::string StrokeAttrs(const std::optional<Color>& color, double widthPx, std::string_view dash) {
  if (!color || widthPx <= 0) return " stroke=\"none\"";
  std::string out = " stroke=\"" + HexRgb(color->rgb) + "\" stroke-width=\"" + Num(widthPx) + "\"";
  if (color->alpha < 1) out += " stroke-opacity=\"" + Num(color->alpha) + "\"";
  const double w = std::max(widthPx, 1.0);
  if (dash == "dash" || dash == "sysDash" || dash == "lgDash")
    out += " stroke-dasharray=\"" + Num(w * (dash == "lgDash" ? 8 : 4)) + " " + Num(w * 3) + "\"";
  else if (dash == "dot" || dash == "sysDot")
    out += " stroke-dasharray=\"" + Num(w) + " " + Num(w * 2) + "\"";
  else if (dash.find("Dot") != std::string_view::npos)
    out += " stroke-dasharray=\"" + Num(w * 4) + " " + Num(w * 2) + " " + Num(w) + " " +
           Num(w * 2) + "\"";
  return out;
}

}  // namespace qp::draw
