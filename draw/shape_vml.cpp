// VML shapes of older documents (v:shape, v:rect, v:oval, v:line, v:group).
#include <algorithm>
#include <cctype>
#include <cmath>

#include "draw/shape_context.h"
#include "draw/shape_geometry.h"
#include "draw/svg_text.h"
#include "draw/xml_names.h"
#include "text/style_length.h"

namespace qp::draw {
namespace {

// "x,y" pairs (coordorigin, coordsize, from, to).
std::pair<double, double> Pair(std::string_view v, double fx, double fy) {
  const std::size_t comma = v.find(',');
  if (comma == std::string_view::npos) return {StyleLengthPx(v, fx), fy};
  return {StyleLengthPx(v.substr(0, comma), fx), StyleLengthPx(v.substr(comma + 1), fy)};
}

// v:shadow on="t": a hard shadow, 2 pt down and right unless offset says.
std::optional<Shadow> VmlShadow(pugi::xml_node shadow) {
  const std::string_view on = Attr(shadow, "on").value();
  if (on != "t" && on != "true") return std::nullopt;
  Shadow out;
  const std::string_view offset = Attr(shadow, "offset").value();
  const auto [dx, dy] = Pair(offset.empty() ? "2pt,2pt" : offset, 96.0 / 36, 96.0 / 36);
  out.dx = std::clamp(dx, -500.0, 500.0);
  out.dy = std::clamp(dy, -500.0, 500.0);
  out.color = Color{ParseCssColor(Attr(shadow, "color").value()).value_or(0x808080), 1};
  if (const std::string_view o = Attr(shadow, "opacity").value(); !o.empty()) {
    const double v = ToNumber(o, 1);
    out.color.alpha = std::clamp(o.back() == 'f' ? v / 65536 : v, 0.0, 1.0);
  }
  return out;
}

// VML's numbered shape types, the common ones, as preset names.
std::string_view PresetOfType(int spt) {
  switch (spt) {
    case 1:
    case 109:
    case 202:
      return "rect";
    case 2:
      return "roundRect";
    case 3:
    case 120:
      return "ellipse";
    case 4:
    case 110:
      return "diamond";
    case 5:
      return "triangle";
    case 6:
      return "rtTriangle";
    case 7:
    case 111:
      return "parallelogram";
    case 8:
      return "trapezoid";
    case 9:
      return "hexagon";
    case 10:
      return "octagon";
    case 11:
      return "plus";
    case 12:
      return "star5";
    case 13:
      return "rightArrow";
    case 15:
      return "homePlate";
    case 16:
      return "cube";
    case 20:
    case 32:
      return "line";
    case 22:
      return "can";
    case 23:
      return "donut";
    case 33:
      return "bentConnector2";
    case 34:
      return "bentConnector3";
    case 38:
      return "curvedConnector3";
    case 55:
      return "chevron";
    case 56:
      return "pentagon";
    case 61:
      return "wedgeRectCallout";
    case 62:
      return "wedgeRoundRectCallout";
    case 63:
      return "wedgeEllipseCallout";
    case 65:
      return "foldedCorner";
    case 66:
      return "leftArrow";
    case 67:
      return "downArrow";
    case 68:
      return "upArrow";
    case 69:
      return "leftRightArrow";
    case 70:
      return "upDownArrow";
    case 73:
      return "lightningBolt";
    case 74:
      return "heart";
    case 96:
      return "smileyFace";
    case 112:
      return "flowChartPredefinedProcess";
    case 114:
      return "flowChartDocument";
    case 116:
      return "flowChartTerminator";
    case 176:
      return "flowChartAlternateProcess";
    case 183:
      return "sun";
    case 184:
      return "moon";
    default:
      return {};
  }
}

// A v:shape's type: o:spt, else the number ending its type reference
// ("#_x0000_t202"); 1 (a rectangle) for a shape that names neither, -1 for
// no type.
int ShapeType(pugi::xml_node n) {
  const std::string_view type = Attr(n, "type").value();
  const std::size_t t = type.rfind("_t");
  const double number =
      AttrNumber(n, "spt", t == std::string_view::npos ? 0 : ToNumber(type.substr(t + 2), 0));
  if (type.empty() && !Attr(n, "spt")) return 1;
  // Word's shape types run to 202; a number far outside (4e63, NaN) is
  // no type, and is never converted.
  return number >= 0 && number <= 1000 ? static_cast<int>(number) : -1;
}

// A VML path ("m0,0 l100,0 c... x e") in coordsize units, scaled.
std::string VmlPath(std::string_view v, double sx, double sy) {
  std::string d;
  char command = 0;
  std::vector<double> nums;
  std::size_t emitted = 0;
  auto flush = [&] {
    const std::size_t per = command == 'c' || command == 'v' ? 6 : 2;
    for (std::size_t i = 0; i + per <= nums.size() && emitted < 20000; i += per, ++emitted) {
      d += command == 'm' || command == 't' ? " M" : command == 'c' || command == 'v' ? " C" : " L";
      for (std::size_t k = 0; k < per; k += 2)
        d += Num(nums[i + k] * sx) + "," + Num(nums[i + k + 1] * sy) + " ";
    }
    nums.clear();
  };
  for (std::size_t i = 0; i < v.size();) {
    const char ch = v[i];
    if (std::isalpha(static_cast<unsigned char>(ch))) {
      flush();
      command = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      if (command == 'x') d += " Z";
      ++i;
    } else if (ch == '-' || ch == '.' || std::isdigit(static_cast<unsigned char>(ch))) {
      std::size_t j = i + 1;
      while (j < v.size() && (std::isdigit(static_cast<unsigned char>(v[j])) || v[j] == '.')) ++j;
      nums.push_back(ToNumber(v.substr(i, j - i), 0));
      i = j;
    } else {
      // commas with nothing between them stand for 0
      if (ch == ',' && i + 1 < v.size() && v[i + 1] == ',') nums.push_back(0);
      ++i;
    }
  }
  flush();
  if (!d.empty() && d[1] != 'M') d = " M0,0" + d;
  return d.empty() ? d : d.substr(1);
}

struct VmlBox {
  double x = 0, y = 0, w = 0, h = 0, rotation = 0;
  bool flipH = false, flipV = false;
};

VmlBox ReadBox(pugi::xml_node n, bool root) {
  const std::string_view style = Attr(n, "style").value();
  VmlBox b;
  if (!root) {
    b.x = StyleLengthPx(StyleValue(style, "left"), 0) +
          StyleLengthPx(StyleValue(style, "margin-left"), 0);
    b.y = StyleLengthPx(StyleValue(style, "top"), 0) +
          StyleLengthPx(StyleValue(style, "margin-top"), 0);
  }
  b.w = std::max(StyleLengthPx(StyleValue(style, "width"), 0), 0.0);
  b.h = std::max(StyleLengthPx(StyleValue(style, "height"), 0), 0.0);
  b.rotation = std::fmod(StyleLengthPx(StyleValue(style, "rotation"), 0), 360);
  const std::string_view flip = StyleValue(style, "flip");
  b.flipH = flip.find('x') != std::string_view::npos;
  b.flipV = flip.find('y') != std::string_view::npos;
  return b;
}

bool IsOff(pugi::xml_attribute a) {
  const std::string_view v = a.value();
  return v == "f" || v == "false" || v == "0";
}

void DrawVmlShape(ShapeContext& ctx, pugi::xml_node n, const VmlBox& box) {
  const std::string_view name = LocalName(n);
  const double w = box.w, h = box.h;
  std::string d;
  bool open = false;
  std::optional<Segment> head, tail;
  if (name == "line" || name == "polyline") {
    open = true;
    if (name == "line") {
      const auto [x1, y1] = Pair(Attr(n, "from").value(), 0, 0);
      const auto [x2, y2] = Pair(Attr(n, "to").value(), 0, 0);
      d = "M" + Num(x1) + "," + Num(y1) + " L" + Num(x2) + "," + Num(y2);
      head = Segment{x2, y2, x1, y1};
      tail = Segment{x1, y1, x2, y2};
    } else {
      d = VmlPath(std::string("m") + Attr(n, "points").value(), 1, 1);
      d.replace(0, 1, "M");
    }
  } else if (name == "rect" || name == "roundrect" || name == "oval") {
    Adjusts adj;
    if (name == "roundrect")
      adj.emplace_back("adj",
                       std::clamp(ToNumber(Attr(n, "arcsize").value(), 0.1), 0.0, 1.0) * 50000);
    d = PresetOutline(VmlPreset(n), w, h, adj)->path;
  } else {
    const std::string_view path = Attr(n, "path").value();
    if (!path.empty()) {
      const auto [cw, ch] = Pair(Attr(n, "coordsize").value(), 21600, 21600);
      d = VmlPath(path, cw > 0 ? w / cw : 1, ch > 0 ? h / ch : 1);
    } else {
      const int spt = ShapeType(n);
      if (spt == 75) {
        // a picture frame: the picture itself is not ours to draw; without
        // one it is a drawing canvas's empty background
        if (!Child(n, "imagedata")) return;
        d = PresetOutline("rect", w, h, {})->path;
        ctx.body += "<g" + BoxTransform(box.x, box.y, w, h, box.rotation, box.flipH, box.flipV) +
                    ">\n" +
                    ShapePath(d, Color{0xF2F2F2, 1}, Color{0xBFBFBF, 1}, ctx.Unscaled(1), {}, false,
                              false) +
                    "</g>\n";
        return;
      }
      const std::string_view preset = PresetOfType(spt);
      if (preset.empty()) ++ctx.unknownGeometries;
      const std::optional<Outline> o = PresetOutline(preset.empty() ? "rect" : preset, w, h, {});
      d = o->path;
      open = o->open;
      head = o->head;
      tail = o->tail;
    }
  }

  std::optional<Color> fill =
      Color{ParseCssColor(Attr(n, "fillcolor").value()).value_or(0xFFFFFF), 1};
  if (IsOff(Attr(n, "filled"))) fill.reset();
  if (const pugi::xml_node f = Child(n, "fill")) {
    if (IsOff(Attr(f, "on")))
      fill.reset();
    else if (auto c = ParseCssColor(Attr(f, "color").value()))
      fill = Color{*c, 1};
    if (fill && Attr(f, "opacity")) {
      const std::string_view o = Attr(f, "opacity").value();
      const double v = ToNumber(o, 1);
      fill->alpha = std::clamp(o.back() == 'f' ? v / 65536 : v, 0.0, 1.0);
    }
  }
  std::optional<Gradient> gradient;
  if (fill) gradient = ReadVmlGradient(Child(n, "fill"), *fill);
  std::optional<Color> stroke = Color{ParseCssColor(Attr(n, "strokecolor").value()).value_or(0), 1};
  if (IsOff(Attr(n, "stroked"))) stroke.reset();
  if (const pugi::xml_node s = Child(n, "stroke"))
    if (IsOff(Attr(s, "on"))) stroke.reset();
  const double strokePx =
      Attr(n, "strokeweight") ? StyleLengthPx(Attr(n, "strokeweight").value(), 1) : 1;
  std::string dash = Attr(Child(n, "stroke"), "dashstyle").value();

  ctx.body += "<g" + BoxTransform(box.x, box.y, w, h, box.rotation, box.flipH, box.flipV) + ">\n";
  const std::string paint = open ? std::string() : ctx.GradientPaint(gradient);
  ctx.body += ctx.WithShadow(VmlShadow(Child(n, "shadow")),
                             ShapePath(d, fill, stroke, ctx.Unscaled(strokePx),
                                       dash == "solid" ? "" : dash, open, false, paint));
  const pugi::xml_node strokeEl = Child(n, "stroke");
  if (stroke && head)
    ctx.body += ArrowHead(*head, Attr(strokeEl, "startarrow").value(), ctx.Unscaled(strokePx),
                          ctx.Unscaled(5), *stroke);
  if (stroke && tail)
    ctx.body += ArrowHead(*tail, Attr(strokeEl, "endarrow").value(), ctx.Unscaled(strokePx),
                          ctx.Unscaled(5), *stroke);
  if (const pugi::xml_node content = Child(Child(n, "textbox"), "txbxContent")) {
    ShapeText text;
    // v:textbox inset "l,t,r,b"; the defaults are 0.1 in and 0.05 in
    const std::string_view inset = Attr(Child(n, "textbox"), "inset").value();
    if (!inset.empty()) {
      double* sides[4] = {&text.left, &text.top, &text.right, &text.bottom};
      std::size_t at = 0;
      for (double* side : sides) {
        const std::size_t end = std::min(inset.find(',', at), inset.size());
        if (at < end)
          *side = std::clamp(StyleLengthPx(inset.substr(at, end - at), *side), 0.0, 2000.0);
        at = end + 1;
      }
    }
    const std::string_view anchor = StyleValue(Attr(n, "style").value(), "v-text-anchor");
    text.anchor = anchor.substr(0, 6) == "middle"   ? 'c'
                  : anchor.substr(0, 6) == "bottom" ? 'b'
                                                    : 't';
    ReadWordParagraphs(content, 0x000000, text);
    ctx.body += TextInBox(ctx, text, w, h, box.flipH, box.flipV);
  }
  ctx.body += "</g>\n";
}

}  // namespace

bool IsVmlShape(pugi::xml_node n) {
  const std::string_view name = LocalName(n);
  return name == "shape" || name == "rect" || name == "roundrect" || name == "oval" ||
         name == "line" || name == "polyline" || name == "group" || name == "arc";
}

std::string_view VmlPreset(pugi::xml_node n) {
  const std::string_view name = LocalName(n);
  if (name == "rect") return "rect";
  if (name == "oval") return "ellipse";
  if (name == "roundrect") return "roundRect";
  if (name != "shape" || !std::string_view(Attr(n, "path").value()).empty()) return {};
  return PresetOfType(ShapeType(n));
}

std::pair<double, double> VmlSize(pugi::xml_node n) {
  const VmlBox b = ReadBox(n, true);
  return {b.w, b.h};
}

void DrawVmlNode(ShapeContext& ctx, pugi::xml_node n, bool root) {
  if (!ctx.TakeShape()) return;
  VmlBox box = ReadBox(n, root);
  if (LocalName(n) != "group") {
    DrawVmlShape(ctx, n, box);
    return;
  }
  const auto [ox, oy] = Pair(Attr(n, "coordorigin").value(), 0, 0);
  const auto [cw, ch] = Pair(Attr(n, "coordsize").value(), box.w, box.h);
  std::string transform =
      BoxTransform(box.x, box.y, box.w, box.h, box.rotation, box.flipH, box.flipV);
  transform.pop_back();
  const bool mapped = cw > 0 && ch > 0 && box.w > 0 && box.h > 0;
  const double fx = mapped ? box.w / cw : 1, fy = mapped ? box.h / ch : 1;
  transform +=
      " scale(" + Num4(fx) + "," + Num4(fy) + ") translate(" + Num(-ox) + "," + Num(-oy) + ")\"";
  ctx.body += "<g" + transform + ">\n";
  Scaled(ctx, fx, fy, [&] {
    if (++ctx.depth <= kMaxShapeDepth)
      for (pugi::xml_node c : n.children())
        if (IsVmlShape(c)) DrawVmlNode(ctx, c, false);
    --ctx.depth;
  });
  ctx.body += "</g>\n";
}

}  // namespace qp::draw
