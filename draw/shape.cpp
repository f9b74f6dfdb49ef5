// DrawingML shapes, groups, canvases and SmartArt's stored drawing as SVG.
#include "draw/shape.h"

#include <algorithm>
#include <cmath>

#include "draw/math_layout.h"
#include "draw/shape_context.h"
#include "draw/shape_geometry.h"
#include "draw/svg_text.h"
#include "draw/xml_names.h"
#include "text/style_length.h"

namespace qp::draw {
namespace {

struct Xfrm {
  bool present = false;
  double x = 0, y = 0, w = 0, h = 0, rotation = 0;
  bool flipH = false, flipV = false;
  double chX = 0, chY = 0, chW = 0, chH = 0;  // a group's child space
};

double Emu(pugi::xml_node n, std::string_view attr) {
  return std::clamp(AttrNumber(n, attr, 0), -1e12, 1e12) / kEmuPerPx;
}

Xfrm ReadXfrm(pugi::xml_node xfrm) {
  Xfrm x;
  if (!xfrm) return x;
  x.present = true;
  x.x = Emu(Child(xfrm, "off"), "x");
  x.y = Emu(Child(xfrm, "off"), "y");
  x.w = std::max(Emu(Child(xfrm, "ext"), "cx"), 0.0);
  x.h = std::max(Emu(Child(xfrm, "ext"), "cy"), 0.0);
  x.rotation = std::fmod(AttrNumber(xfrm, "rot", 0) / 60000, 360);
  x.flipH = std::string_view(Attr(xfrm, "flipH").value()) == "1";
  x.flipV = std::string_view(Attr(xfrm, "flipV").value()) == "1";
  x.chX = Emu(Child(xfrm, "chOff"), "x");
  x.chY = Emu(Child(xfrm, "chOff"), "y");
  x.chW = Emu(Child(xfrm, "chExt"), "cx");
  x.chH = Emu(Child(xfrm, "chExt"), "cy");
  return x;
}

// The colour a style reference (a:fillRef, a:lnRef, a:fontRef) names, with
// its index; idx 0 means none.
struct StyleRef {
  int index = 0;
  std::optional<Color> color;
};

StyleRef ReadStyleRef(pugi::xml_node style, std::string_view name, const Palette& palette) {
  const pugi::xml_node ref = Child(style, name);
  StyleRef out;
  if (!ref) return out;
  out.index =
      static_cast<int>(std::clamp(AttrNumber(ref, "idx", name == "fontRef" ? 1 : 0), 0.0, 9999.0));
  if (name == "fontRef") out.index = 1;
  out.color = ReadChildColor(ref, palette);
  return out;
}

void DrawShape(ShapeContext& ctx, pugi::xml_node sp) {
  const pugi::xml_node spPr = Child(sp, "spPr");
  const Xfrm xf = ReadXfrm(Child(spPr, "xfrm"));
  const double w = xf.w, h = xf.h;
  const bool connector = LocalName(sp) == "cxnSp";

  Outline outline;
  if (const pugi::xml_node prst = Child(spPr, "prstGeom")) {
    Adjusts adjusts;
    for (pugi::xml_node gd : Child(prst, "avLst").children())
      if (adjusts.size() < 8) {
        const std::string_view f = Attr(gd, "fmla").value();
        if (f.substr(0, 4) == "val ")
          adjusts.emplace_back(Attr(gd, "name").value(), ToNumber(f.substr(4), 0));
      }
    const std::string_view name = Attr(prst, "prst").value();
    if (auto known = PresetOutline(name, w, h, adjusts)) {
      outline = *known;
    } else {
      ++ctx.unknownGeometries;
      outline = *PresetOutline("rect", w, h, {});
    }
  } else if (const pugi::xml_node cust = Child(spPr, "custGeom")) {
    outline.path = CustomGeometryPath(cust, w, h);
  } else {
    outline = *PresetOutline(connector ? "line" : "rect", w, h, {});
  }

  const pugi::xml_node style = Child(sp, "style");
  const StyleRef fillRef = ReadStyleRef(style, "fillRef", ctx.palette);
  const StyleRef lnRef = ReadStyleRef(style, "lnRef", ctx.palette);
  const StyleRef fontRef = ReadStyleRef(style, "fontRef", ctx.palette);
  // An effect list of the shape's own, even an empty one, replaces the
  // theme's effect that its style refers to.
  const StyleRef effectRef = ReadStyleRef(style, "effectRef", ctx.palette);
  const std::optional<Shadow> shadow =
      Child(spPr, "effectLst") ? ReadOuterShadow(spPr, ctx.palette)
                               : ThemeShadow(ctx.palette, effectRef.index, effectRef.color);

  const Fill fill = ReadFill(spPr, ctx.palette, fillRef.color);
  std::optional<Color> fillColor;
  if (!fill.none)
    fillColor = fill.color ? fill.color : fillRef.index > 0 ? fillRef.color : std::nullopt;
  const Line line = ReadLine(spPr, ctx.palette, lnRef.color);
  std::optional<Color> lineColor;
  if (!line.none)
    lineColor = line.color ? line.color : lnRef.index > 0 ? lnRef.color : std::nullopt;
  // the theme's line styles are 0.5, 1 and 1.5 pt wide
  const double linePx = line.widthEmu >= 0 ? std::min(line.widthEmu / kEmuPerPx, 200.0)
                        : lnRef.index > 0  ? std::min(lnRef.index, 3) * 6350 / kEmuPerPx
                                           : 1;

  ctx.body += "<g" + BoxTransform(xf.x, xf.y, w, h, xf.rotation, xf.flipH, xf.flipV) + ">\n";
  const double strokePx = ctx.Unscaled(std::max(linePx, lineColor ? 0.75 : 0.0));
  const bool gradient = !fill.none && fill.color && !outline.open && !connector;
  const std::string paint = gradient ? ctx.GradientPaint(fill.gradient) : std::string();
  ctx.body +=
      ctx.WithShadow(shadow, ShapePath(outline.path, fillColor, lineColor, strokePx, line.dash,
                                       outline.open || connector, outline.evenOdd, paint));
  if (lineColor && outline.head)
    ctx.body += ArrowHead(*outline.head, line.headEnd, strokePx, ctx.Unscaled(5), *lineColor);
  if (lineColor && outline.tail)
    ctx.body += ArrowHead(*outline.tail, line.tailEnd, strokePx, ctx.Unscaled(5), *lineColor);

  ShapeText text;
  const std::uint32_t textColor = fontRef.color ? fontRef.color->rgb : 0x000000;
  if (const pugi::xml_node content = Path(sp, {"txbx", "txbxContent"})) {
    ReadBodyProperties(Child(sp, "bodyPr"), text);
    ReadWordParagraphs(content, textColor, text);
  } else if (const pugi::xml_node body = Child(sp, "txBody")) {
    ReadBodyProperties(Child(body, "bodyPr"), text);
    ReadDrawingParagraphs(body, ctx.palette, textColor, text);
  }
  if (!text.Empty()) {
    // SmartArt gives the text its own box
    const Xfrm tx = ReadXfrm(Child(sp, "txXfrm"));
    if (tx.present && tx.w > 0 && tx.h > 0)
      ctx.body += "<g transform=\"translate(" + Num(tx.x - xf.x) + "," + Num(tx.y - xf.y) +
                  ")\">\n" + TextInBox(ctx, text, tx.w, tx.h, false, false) + "</g>\n";
    else
      ctx.body += TextInBox(ctx, text, w, h, xf.flipH, xf.flipV);
  }
  ctx.body += "</g>\n";
}

void DrawChildren(ShapeContext& ctx, pugi::xml_node parent) {
  if (++ctx.depth <= kMaxShapeDepth)
    for (pugi::xml_node c : parent.children())
      if (c.type() == pugi::node_element) DrawDrawingNode(ctx, c);
  --ctx.depth;
}

void DrawGroup(ShapeContext& ctx, pugi::xml_node group) {
  const Xfrm xf = ReadXfrm(Child(Child(group, "grpSpPr"), "xfrm"));
  std::string transform = BoxTransform(xf.x, xf.y, xf.w, xf.h, xf.rotation, xf.flipH, xf.flipV);
  // child space onto the group's box
  double fx = 1, fy = 1;
  if (xf.chW > 0 && xf.chH > 0 && xf.w > 0 && xf.h > 0) {
    fx = xf.w / xf.chW;
    fy = xf.h / xf.chH;
  }
  transform.pop_back();
  transform += " scale(" + Num4(fx) + "," + Num4(fy) + ") translate(" + Num(-xf.chX) + "," +
               Num(-xf.chY) + ")\"";
  ctx.body += "<g" + transform + ">\n";
  Scaled(ctx, fx, fy, [&] { DrawChildren(ctx, group); });
  ctx.body += "</g>\n";
}

// A picture or an embedded graphic inside a drawing: a pale frame where it sits.
void DrawFrame(ShapeContext& ctx, pugi::xml_node node) {
  pugi::xml_node xfrm = Child(Child(node, "spPr"), "xfrm");
  if (!xfrm) xfrm = Child(node, "xfrm");
  const Xfrm xf = ReadXfrm(xfrm);
  ctx.body += "<g" + BoxTransform(xf.x, xf.y, xf.w, xf.h, xf.rotation, xf.flipH, xf.flipV) + ">\n" +
              ShapePath(PresetOutline("rect", xf.w, xf.h, {})->path, Color{0xF2F2F2, 1},
                        Color{0xBFBFBF, 1}, 1, {}, false, false) +
              "</g>\n";
}

}  // namespace

void DrawDrawingNode(ShapeContext& ctx, pugi::xml_node node) {
  const std::string_view name = LocalName(node);
  if (name == "wsp" || name == "sp" || name == "cxnSp") {
    if (ctx.TakeShape()) DrawShape(ctx, node);
  } else if (name == "grpSp" || name == "wgp") {
    if (ctx.TakeShape()) DrawGroup(ctx, node);
  } else if (name == "wpc" || name == "spTree" || name == "drawing") {
    DrawChildren(ctx, node);
  } else if (name == "bg") {
    // a canvas's background covers it
    const Fill f = ReadFill(node, ctx.palette);
    const std::string paint = ctx.GradientPaint(f.gradient);
    if (f.color)
      ctx.body += "<rect width=\"100%\" height=\"100%\"" +
                  (paint.empty() ? FillAttrs(f.color) : paint) + "/>\n";
  } else if (name == "AlternateContent") {
    // the first choice that holds a drawing, else the fallback
    pugi::xml_node pick = Child(node, "Choice");
    if (!pick.first_child()) pick = Child(node, "Fallback");
    DrawChildren(ctx, pick);
  } else if (name == "pic" || name == "graphicFrame") {
    if (ctx.TakeShape()) DrawFrame(ctx, node);
  } else if (IsVmlShape(node)) {
    DrawVmlNode(ctx, node, false);
  }
}

std::string BoxTransform(double x, double y, double w, double h, double rotation, bool flipH,
                         bool flipV) {
  std::string t = "translate(" + Num(x) + "," + Num(y) + ")";
  if (std::isfinite(rotation) && rotation != 0)
    t += " rotate(" + Num(rotation) + " " + Num(w / 2) + " " + Num(h / 2) + ")";
  if (flipH || flipV)
    t += " translate(" + Num(flipH ? w : 0) + "," + Num(flipV ? h : 0) + ") scale(" +
         (flipH ? "-1" : "1") + "," + (flipV ? "-1" : "1") + ")";
  return " transform=\"" + t + "\"";
}

std::string ShapePath(const std::string& d, const std::optional<Color>& fill,
                      const std::optional<Color>& stroke, double strokePx, std::string_view dash,
                      bool open, bool evenOdd, std::string_view fillPaint) {
  if (d.empty()) return {};
  const bool painted = !open && fill && !fillPaint.empty();
  std::string out = "<path d=\"" + d + "\"" +
                    (painted ? std::string(fillPaint) : FillAttrs(open ? std::nullopt : fill)) +
                    StrokeAttrs(stroke, strokePx, dash);
  if (evenOdd) out += " fill-rule=\"evenodd\"";
  return out + "/>\n";
}

std::string ArrowHead(const Segment& at, std::string_view type, double lineWidth, double minLength,
                      const Color& color) {
  if (type.empty() || type == "none") return {};
  const double dx = at.toX - at.fromX, dy = at.toY - at.fromY, length = std::hypot(dx, dy);
  if (!(length > 1e-9)) return {};
  const double ux = dx / length, uy = dy / length;
  const double size = std::max(lineWidth * 3, minLength), half = size / 2;
  auto pt = [](double x, double y) { return Num(x) + "," + Num(y); };
  const double bx = at.toX - ux * size, by = at.toY - uy * size;
  if (type == "oval")
    return "<ellipse cx=\"" + Num(at.toX) + "\" cy=\"" + Num(at.toY) + "\" rx=\"" + Num(half) +
           "\" ry=\"" + Num(half) + "\"" + FillAttrs(color) + "/>\n";
  if (type == "diamond")
    return "<path d=\"M" + pt(at.toX + ux * half, at.toY + uy * half) + " L" +
           pt(at.toX - uy * half, at.toY + ux * half) + " L" +
           pt(at.toX - ux * half, at.toY - uy * half) + " L" +
           pt(at.toX + uy * half, at.toY - ux * half) + " Z\"" + FillAttrs(color) + "/>\n";
  const std::string wings = pt(bx - uy * half, by + ux * half) + " L" + pt(at.toX, at.toY) + " L" +
                            pt(bx + uy * half, by - ux * half);
  if (type == "arrow" || type == "open")
    return "<path d=\"M" + wings + "\" fill=\"none\"" + StrokeAttrs(color, lineWidth) + "/>\n";
  return "<path d=\"M" + wings + " Z\"" + FillAttrs(color) + "/>\n";
}

std::string TextInBox(const ShapeContext& ctx, const ShapeText& text, double w, double h,
                      bool flipH, bool flipV) {
  (void)flipV;  // a vertical flip leaves the text upside down, as Office shows it
  const std::string laid = LayoutText(text, w * ctx.sx, h * ctx.sy, ctx.palette);
  if (laid.empty()) return laid;
  std::string transform;
  // undo the box's mirroring and the space's scale
  if (flipH) transform = "translate(" + Num(w) + ",0) scale(-1,1) ";
  if (ctx.sx != 1 || ctx.sy != 1)
    transform += "scale(" + Num4(1 / ctx.sx) + "," + Num4(1 / ctx.sy) + ")";
  if (transform.empty()) return laid;
  return "<g transform=\"" + transform + "\">\n" + laid + "</g>\n";
}

Drawing ShapeSvg(std::string_view drawingXml, const Palette& palette, double widthPx,
                 double heightPx) {
  const double w = ClampSide(widthPx), h = ClampSide(heightPx);
  Drawing out;
  // an equation comes as a drawing of its own
  if (IsMath(drawingXml)) {
    out.svg = MathSvg(drawingXml, w, h);
    if (out.svg.empty()) out.note = "the equation shows nothing";
    return out;
  }
  pugi::xml_document doc;
  ShapeContext ctx{palette, {}};
  if (!ParseXml(doc, drawingXml) || !doc.document_element()) {
    out.note = "the drawing is not well-formed XML";
    return out;
  }
  pugi::xml_node root = doc.document_element();
  const std::string_view name = LocalName(root);
  if (IsVmlShape(root)) {
    // the VML shape's own size fills the picture
    const auto [vw, vh] = VmlSize(root);
    const double fx = vw > 0 ? w / vw : 1, fy = vh > 0 ? h / vh : 1;
    ctx.body += "<g transform=\"scale(" + Num4(fx) + "," + Num4(fy) + ")\">\n";
    Scaled(ctx, fx, fy, [&] { DrawVmlNode(ctx, root, true); });
    ctx.body += "</g>\n";
  } else {
    // the top-level shape or group fills the picture; canvases and SmartArt
    // drawings place their shapes from the picture's corner
    pugi::xml_node xfrm = Child(Child(root, "spPr"), "xfrm");
    if (!xfrm) xfrm = Child(Child(root, "grpSpPr"), "xfrm");
    const Xfrm xf = ReadXfrm(xfrm);
    double fx = 1, fy = 1, ox = 0, oy = 0;
    if (xf.present && xf.w > 0 && xf.h > 0 &&
        (name == "wsp" || name == "sp" || name == "cxnSp" || name == "wgp" || name == "grpSp")) {
      fx = w / xf.w;
      fy = h / xf.h;
      ox = -xf.x;
      oy = -xf.y;
    }
    ctx.body += "<g transform=\"scale(" + Num4(fx) + "," + Num4(fy) + ") translate(" + Num(ox) +
                "," + Num(oy) + ")\">\n";
    Scaled(ctx, fx, fy, [&] { DrawDrawingNode(ctx, root); });
    ctx.body += "</g>\n";
  }
  out.unknownGeometries = ctx.unknownGeometries;
  if (ctx.shapes > kMaxShapes) out.note = "the drawing has more shapes than are drawn";
  out.svg = SvgOpen(w, h) + ctx.body + std::string(kSvgClose);
  return out;
}

}  // namespace qp::draw
