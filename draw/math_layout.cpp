#include "draw/math_layout.h"

#include <algorithm>
#include <cmath>

#include <pugixml.hpp>

#include "draw/svg_text.h"
#include "draw/xml_names.h"

namespace qp::draw {
namespace {

constexpr int kMaxDepth = 40;            // deeper nesting is laid out flat
constexpr std::size_t kMaxItems = 4000;  // boxes in one equation
// Characters drawn in one equation; past it text is left out, so that the
// SVG, built in the page-writing process to measure it, stays a few MB.
constexpr std::size_t kMaxGlyphs = 20000;
constexpr double kMinScale = 0.5;  // scripts of scripts stop shrinking here
constexpr const char* kFont = "Cambria Math, STIX Two Math, STIXGeneral, DejaVu Serif, serif";

// A laid-out piece: its width, how far it reaches above and below the
// baseline, and its SVG drawn with the baseline's left end at (0, 0).
struct MBox {
  double w = 0, up = 0, down = 0;
  std::string svg;
};

struct Layout {
  double em = 14.67;
  std::size_t items = 0;
  std::size_t glyphs = 0;
};

std::string Translate(double x, double y, const std::string& svg) {
  if (svg.empty()) return svg;
  return "<g transform=\"translate(" + Num(x) + "," + Num(y) + ")\">" + svg + "</g>";
}

// Places `b` at (x, y) of `into`, growing it.
void Put(MBox& into, const MBox& b, double x, double y) {
  into.svg += Translate(x, y, b.svg);
  into.w = std::max(into.w, x + b.w);
  into.up = std::max(into.up, b.up - y);
  into.down = std::max(into.down, b.down + y);
}

// The advance of one character in em: digits and lowercase about half an
// em, capitals wider, wide scripts a full em.
double Advance(char32_t c) {
  if (c >= 0x2E80) return 1.0;
  if (c >= '0' && c <= '9') return 0.5;
  if (c == 'm' || c == 'w' || c == 'M' || c == 'W') return 0.8;
  if (c == 'i' || c == 'j' || c == 'l' || c == 't' || c == 'f' || c == 'r') return 0.33;
  if (c >= 'A' && c <= 'Z') return 0.66;
  if (c >= 'a' && c <= 'z') return 0.5;
  if (c == '(' || c == ')' || c == '[' || c == ']' || c == '|' || c == ',' || c == '.' ||
      c == ';' || c == ':' || c == '!' || c == '\'')
    return 0.3;
  if (c == ' ') return 0.25;
  if (c >= 0x391 && c <= 0x3C9) return 0.58;  // Greek
  return 0.6;
}

bool Binary(char32_t c) {
  return c == '+' || c == '=' || c == '<' || c == '>' || c == 0x2212 || c == 0xB1 || c == 0xD7 ||
         c == 0xF7 || c == 0x2260 || c == 0x2264 || c == 0x2265 || c == 0x2248 || c == 0x2261 ||
         c == 0x2192 || c == 0x21D2 || c == 0x2208 || c == 0x2282 || c == 0x2286;
}

std::u32string Decode(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t v = n == 1 ? c : n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
    for (int k = 1; k < n && i + k < s.size(); ++k)
      v = (v << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out += v;
    i += std::size_t(n);
  }
  return out;
}

std::string Encode(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6)), out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12)), out += char(0x80 | ((c >> 6) & 0x3F)),
        out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18)), out += char(0x80 | ((c >> 12) & 0x3F)),
        out += char(0x80 | ((c >> 6) & 0x3F)), out += char(0x80 | (c & 0x3F));
  }
  return out;
}

// One glyph or word at `scale`, italic where math shows letters so.
MBox Glyphs(Layout& L, const std::u32string& text, double scale, bool italic) {
  MBox b;
  const double size = L.em * scale;
  std::string escaped;
  double x = 0;
  for (char32_t c : text) {
    if (++L.glyphs > kMaxGlyphs) break;
    const double gap = Binary(c) ? 0.22 * size : 0;
    escaped.clear();
    if (c == '<')
      escaped = "&lt;";
    else if (c == '>')
      escaped = "&gt;";
    else if (c == '&')
      escaped = "&amp;";
    else if (c >= 0x20 && c != 0xFFFE && c != 0xFFFF && (c < 0xD800 || c > 0xDFFF))
      escaped = Encode(c);
    if (!escaped.empty())
      b.svg += "<text x=\"" + Num(x + gap) + "\" y=\"0\" font-size=\"" + Num(size) + "\"" +
               (italic && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= 0x3B1 && c <= 0x3C9))
                    ? " font-style=\"italic\""
                    : "") +
               ">" + escaped + "</text>";
    x += Advance(c) * size + 2 * gap;
  }
  b.w = x;
  b.up = 0.75 * size;
  b.down = 0.25 * size;
  return b;
}

MBox Row(Layout& L, pugi::xml_node node, double scale, int depth);

MBox Arg(Layout& L, pugi::xml_node node, std::string_view local, double scale, int depth) {
  return Row(L, Child(node, local), scale, depth);
}

std::string PropVal(pugi::xml_node props, std::string_view local, std::string fallback) {
  const pugi::xml_node p = Child(props, local);
  if (!p) return fallback;
  return Attr(p, "val") ? Attr(p, "val").value() : fallback;
}

bool PropOn(pugi::xml_node props, std::string_view local) {
  const pugi::xml_node p = Child(props, local);
  const std::string_view v = Attr(p, "val").value();
  return p && (v.empty() || v == "1" || v == "on" || v == "true");
}

std::string Line(double x1, double y1, double x2, double y2, double width) {
  return "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
         Num(y2) + "\" stroke=\"#000000\" stroke-width=\"" + Num(width) + "\"/>";
}

double Axis(const Layout& L, double scale) {
  return 0.27 * L.em * scale;
}

MBox Fraction(Layout& L, pugi::xml_node f, double scale, int depth) {
  const std::string type = PropVal(Child(f, "fPr"), "type", "bar");
  const double inner = std::max(scale * (depth > 0 ? 0.8 : 0.9), kMinScale);
  MBox num = Arg(L, f, "num", type == "lin" ? scale : inner, depth + 1);
  MBox den = Arg(L, f, "den", type == "lin" ? scale : inner, depth + 1);
  MBox out;
  if (type == "lin" || type == "skw") {
    Put(out, num, 0, 0);
    const MBox slash = Glyphs(L, U"/", scale, false);
    Put(out, slash, out.w, 0);
    Put(out, den, out.w, 0);
    return out;
  }
  const double pad = 0.12 * L.em * scale, gap = 0.15 * L.em * scale;
  const double w = std::max(num.w, den.w) + 2 * pad, axis = Axis(L, scale);
  Put(out, num, (w - num.w) / 2, -axis - gap - num.down);
  Put(out, den, (w - den.w) / 2, -axis + gap + den.up);
  if (type != "noBar") out.svg += Line(0, -axis, w, -axis, std::max(0.06 * L.em * scale, 0.8));
  out.w = w;
  return out;
}

MBox Scripts(Layout& L, pugi::xml_node s, double scale, int depth, bool pre = false) {
  const double small = std::max(scale * 0.7, kMinScale);
  const MBox base = Arg(L, s, "e", scale, depth + 1);
  const pugi::xml_node subNode = Child(s, "sub"), supNode = Child(s, "sup");
  const MBox sub = subNode ? Row(L, subNode, small, depth + 1) : MBox{};
  const MBox sup = supNode ? Row(L, supNode, small, depth + 1) : MBox{};
  const double raise = std::max(base.up - sup.down * 0.5, 0.45 * L.em * scale);
  const double lower = std::max(base.down + sub.up * 0.3, 0.25 * L.em * scale);
  const double scriptW = std::max(sub.w, sup.w);
  MBox out;
  const double baseX = pre ? scriptW + 0.05 * L.em : 0;
  Put(out, base, baseX, 0);
  const double x = pre ? 0 : base.w + 0.05 * L.em * scale;
  if (supNode) Put(out, sup, pre ? scriptW - sup.w : x, -raise);
  if (subNode) Put(out, sub, pre ? scriptW - sub.w : x, lower);
  return out;
}

MBox Radical(Layout& L, pugi::xml_node r, double scale, int depth) {
  const MBox body = Arg(L, r, "e", scale, depth + 1);
  const bool hideDeg = PropOn(Child(r, "radPr"), "degHide");
  const MBox deg = hideDeg ? MBox{} : Arg(L, r, "deg", std::max(scale * 0.6, kMinScale), depth + 1);
  const double em = L.em * scale, top = body.up + 0.15 * em, bottom = body.down;
  const double hook = 0.55 * em, lead = std::max(deg.w - hook * 0.4, 0.0);
  MBox out;
  if (deg.w > 0) Put(out, deg, 0, -top * 0.45);
  const double x0 = lead;
  const std::string d = "M" + Num(x0) + "," + Num(-top * 0.35) + " L" + Num(x0 + hook * 0.3) + "," +
                        Num(-top * 0.45) + " L" + Num(x0 + hook * 0.6) + "," + Num(bottom) + " L" +
                        Num(x0 + hook) + "," + Num(-top) + " L" +
                        Num(x0 + hook + body.w + 0.1 * em) + "," + Num(-top);
  out.svg += "<path d=\"" + d + "\" fill=\"none\" stroke=\"#000000\" stroke-width=\"" +
             Num(std::max(0.06 * em, 0.8)) + "\"/>";
  Put(out, body, x0 + hook + 0.05 * em, 0);
  out.w += 0.1 * em;
  out.up = std::max(out.up, top + 0.06 * em);
  out.down = std::max(out.down, bottom);
  return out;
}

// A delimiter glyph stretched to cover `up` above and `down` below the
// baseline.
MBox Fence(Layout& L, const std::string& chr, double up, double down, double scale) {
  if (chr.empty()) return {};
  MBox glyph = Glyphs(L, Decode(chr), scale, false);
  const double natural = glyph.up + glyph.down, wanted = up + down;
  if (wanted <= natural * 1.05) return glyph;
  const double k = std::min(wanted / natural, 20.0);
  // scaled about the glyph's middle, moved to the middle of the content
  const double mid = (glyph.down - glyph.up) / 2, target = (down - up) / 2;
  MBox out;
  out.svg = "<g transform=\"translate(0," + Num(target) + ") scale(1," + Num(k) + ") translate(0," +
            Num(-mid) + ")\">" + glyph.svg + "</g>";
  out.w = glyph.w;
  out.up = up;
  out.down = down;
  return out;
}

MBox Delimiter(Layout& L, pugi::xml_node d, double scale, int depth) {
  const pugi::xml_node props = Child(d, "dPr");
  const std::string sep = PropVal(props, "sepChr", "|");
  MBox inner;
  bool first = true;
  for (pugi::xml_node e : d.children()) {
    if (LocalName(e) != "e") continue;
    if (!first) Put(inner, Glyphs(L, Decode(sep), scale, false), inner.w, 0);
    Put(inner, Row(L, e, scale, depth + 1), inner.w, 0);
    first = false;
  }
  const double up = std::max(inner.up, 0.75 * L.em * scale),
               down = std::max(inner.down, 0.25 * L.em * scale);
  MBox out;
  Put(out, Fence(L, PropVal(props, "begChr", "("), up, down, scale), 0, 0);
  Put(out, inner, out.w + 0.05 * L.em * scale, 0);
  Put(out, Fence(L, PropVal(props, "endChr", ")"), up, down, scale), out.w + 0.05 * L.em * scale,
      0);
  return out;
}

MBox Stack(const MBox& over, const MBox& base, const MBox& under, double gap) {
  const double w = std::max({over.w, base.w, under.w});
  MBox out;
  Put(out, base, (w - base.w) / 2, 0);
  if (over.w > 0) Put(out, over, (w - over.w) / 2, -base.up - gap - over.down);
  if (under.w > 0) Put(out, under, (w - under.w) / 2, base.down + gap + under.up);
  out.w = w;
  return out;
}

MBox Nary(Layout& L, pugi::xml_node n, double scale, int depth) {
  const pugi::xml_node props = Child(n, "naryPr");
  const std::string chr = PropVal(props, "chr", "\u222B");
  const bool integral =
      Decode(chr).size() == 1 && Decode(chr)[0] >= 0x222B && Decode(chr)[0] <= 0x2233;
  const std::string loc = PropVal(props, "limLoc", integral ? "subSup" : "undOvr");
  const double small = std::max(scale * 0.7, kMinScale);
  const MBox sub = PropOn(props, "subHide") ? MBox{} : Arg(L, n, "sub", small, depth + 1);
  const MBox sup = PropOn(props, "supHide") ? MBox{} : Arg(L, n, "sup", small, depth + 1);
  MBox sign = Glyphs(L, Decode(chr), scale * 1.5, false);
  // the big operator sits on the math axis
  const double shift = (sign.up - sign.down) / 2 - Axis(L, scale);
  MBox centred;
  Put(centred, sign, 0, shift);
  MBox out;
  if (loc == "undOvr") {
    Put(out, Stack(sup, centred, sub, 0.1 * L.em * scale), 0, 0);
  } else {
    Put(out, centred, 0, 0);
    const double x = centred.w + 0.05 * L.em * scale;
    if (sup.w > 0) Put(out, sup, x, -centred.up + sup.up * 0.6);
    if (sub.w > 0)
      Put(out, sub, x - (integral ? 0.2 * L.em * scale : 0), centred.down - sub.down * 0.4);
  }
  Put(out, Arg(L, n, "e", scale, depth + 1), out.w + 0.15 * L.em * scale, 0);
  return out;
}

MBox Matrix(Layout& L, pugi::xml_node m, double scale, int depth) {
  std::vector<std::vector<MBox>> rows;
  std::vector<double> widths;
  for (pugi::xml_node mr : m.children()) {
    if (LocalName(mr) != "mr") continue;
    rows.emplace_back();
    for (pugi::xml_node e : mr.children()) {
      if (LocalName(e) != "e") continue;
      rows.back().push_back(Row(L, e, scale, depth + 1));
      const std::size_t col = rows.back().size() - 1;
      if (widths.size() <= col) widths.push_back(0);
      widths[col] = std::max(widths[col], rows.back().back().w);
    }
  }
  const double colGap = 0.8 * L.em * scale, rowGap = 0.25 * L.em * scale;
  MBox grid;
  double y = 0;
  for (const std::vector<MBox>& row : rows) {
    double up = 0.75 * L.em * scale, down = 0.25 * L.em * scale, x = 0;
    for (const MBox& cell : row) up = std::max(up, cell.up), down = std::max(down, cell.down);
    y += up;
    for (std::size_t c = 0; c < row.size(); ++c) {
      Put(grid, row[c], x + (widths[c] - row[c].w) / 2, y);
      x += widths[c] + colGap;
    }
    y += down + rowGap;
  }
  // centred on the math axis
  const double height = std::max(y - rowGap, 0.0), top = -height / 2 - Axis(L, scale);
  MBox out;
  Put(out, grid, 0, top);
  out.up = std::max(out.up, -top);
  out.down = std::max(out.down, height + top);
  return out;
}

// Combining accents drawn by their spacing forms.
char32_t SpacingAccent(char32_t c) {
  switch (c) {
    case 0x0302:
      return 0x02C6;
    case 0x0303:
      return 0x02DC;
    case 0x0304:
    case 0x0305:
      return 0x00AF;
    case 0x0307:
      return 0x02D9;
    case 0x0308:
      return 0x00A8;
    case 0x030C:
      return 0x02C7;
    case 0x0301:
      return 0x00B4;
    case 0x0300:
      return 0x0060;
    case 0x20D7:
    case 0x20D1:
      return 0x2192;
    default:
      return c;
  }
}

MBox Accent(Layout& L, pugi::xml_node a, double scale, int depth) {
  const std::u32string chr = Decode(PropVal(Child(a, "accPr"), "chr", "\u0302"));
  const MBox base = Arg(L, a, "e", scale, depth + 1);
  std::u32string shown;
  for (char32_t c : chr) shown += SpacingAccent(c);
  MBox mark = Glyphs(L, shown, scale, false);
  mark.up = 0.3 * L.em * scale;
  mark.down = -0.1 * L.em * scale;  // the glyph's own height sits above its baseline
  MBox out;
  Put(out, base, 0, 0);
  Put(out, mark, std::max((base.w - mark.w) / 2, 0.0), -base.up + 0.55 * L.em * scale);
  out.up = std::max(out.up, base.up + 0.3 * L.em * scale);
  return out;
}

MBox Bar(Layout& L, pugi::xml_node b, double scale, int depth, bool over) {
  const MBox base = Arg(L, b, "e", scale, depth + 1);
  MBox out = base;
  const double y = over ? -base.up - 0.08 * L.em * scale : base.down + 0.08 * L.em * scale;
  out.svg += Line(0, y, base.w, y, std::max(0.05 * L.em * scale, 0.8));
  if (over)
    out.up += 0.12 * L.em * scale;
  else
    out.down += 0.12 * L.em * scale;
  return out;
}

MBox Element(Layout& L, pugi::xml_node n, double scale, int depth) {
  const std::string_view name = LocalName(n);
  if (++L.items > kMaxItems) return {};
  if (name == "r") {
    std::string text;
    for (pugi::xml_node t : n.children())
      if (LocalName(t) == "t") text += t.child_value();
    const pugi::xml_node rPr = Child(n, "rPr");
    const bool upright = PropOn(rPr, "nor") || PropVal(rPr, "sty", "i") == "p";
    std::u32string chars = Decode(text);
    if (chars.size() > 2000) chars.resize(2000);
    // words of two letters or more (sin, log, names) stay upright
    bool word = chars.size() > 1;
    for (char32_t c : chars) word = word && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
    return Glyphs(L, chars, scale, !upright && !word);
  }
  // what nests deeper stands as an ellipsis: the layout's recursion stays
  // shallow whatever the document holds
  if (depth > kMaxDepth) return Glyphs(L, U"\u2026", scale, false);
  if (name == "f") return Fraction(L, n, scale, depth);
  if (name == "sSup" || name == "sSub" || name == "sSubSup") return Scripts(L, n, scale, depth);
  if (name == "sPre") return Scripts(L, n, scale, depth, true);
  if (name == "rad") return Radical(L, n, scale, depth);
  if (name == "nary") return Nary(L, n, scale, depth);
  if (name == "d") return Delimiter(L, n, scale, depth);
  if (name == "m") return Matrix(L, n, scale, depth);
  if (name == "acc") return Accent(L, n, scale, depth);
  if (name == "bar")
    return Bar(L, n, scale, depth, PropVal(Child(n, "barPr"), "pos", "bot") == "top");
  if (name == "limLow" || name == "limUpp") {
    const MBox base = Arg(L, n, "e", scale, depth + 1);
    const MBox lim = Arg(L, n, "lim", std::max(scale * 0.7, kMinScale), depth + 1);
    return name == "limLow" ? Stack({}, base, lim, 0.05 * L.em) : Stack(lim, base, {}, 0.05 * L.em);
  }
  if (name == "groupChr") {
    const MBox base = Arg(L, n, "e", scale, depth + 1);
    const MBox brace =
        Glyphs(L, Decode(PropVal(Child(n, "groupChrPr"), "chr", "\u23DF")), scale, false);
    return PropVal(Child(n, "groupChrPr"), "pos", "bot") == "top" ? Stack(brace, base, {}, 0)
                                                                  : Stack({}, base, brace, 0);
  }
  if (name == "func") {
    MBox out = Arg(L, n, "fName", scale, depth + 1);
    Put(out, Arg(L, n, "e", scale, depth + 1), out.w + 0.17 * L.em * scale, 0);
    return out;
  }
  if (name == "eqArr") {
    MBox out;
    double y = 0;
    bool first = true;
    for (pugi::xml_node e : n.children()) {
      if (LocalName(e) != "e") continue;
      const MBox row = Row(L, e, scale, depth + 1);
      if (!first) y += row.up + 0.3 * L.em * scale;
      Put(out, row, 0, y);
      y += row.down;
      first = false;
    }
    return out;
  }
  if (name == "borderBox") {
    MBox out = Arg(L, n, "e", scale, depth + 1);
    const double p = 0.1 * L.em * scale;
    out.svg += "<rect x=\"" + Num(-p) + "\" y=\"" + Num(-out.up - p) + "\" width=\"" +
               Num(out.w + 2 * p) + "\" height=\"" + Num(out.up + out.down + 2 * p) +
               "\" fill=\"none\" stroke=\"#000000\" stroke-width=\"0.8\"/>";
    return out;
  }
  // properties (m:fPr, m:ctrlPr, w:rPr ...) draw nothing
  if (name.size() > 2 && name.substr(name.size() - 2) == "Pr") return {};
  return Row(L, n, scale, depth);  // m:e, m:box, m:phant, m:oMath and the like: their content
}

MBox Row(Layout& L, pugi::xml_node node, double scale, int depth) {
  MBox out;
  out.up = 0.75 * L.em * scale * 0.6;
  for (pugi::xml_node c : node.children()) {
    if (c.type() != pugi::node_element) continue;
    const MBox b = Element(L, c, scale, depth + 1);
    if (b.w > 0 || !b.svg.empty()) Put(out, b, out.w, 0);
  }
  return out;
}

struct Laid {
  MBox box;
  double em = 0;
  bool ok = false;
};

Laid LayOut(std::string_view xml) {
  Laid out;
  pugi::xml_document doc;
  if (!ParseXml(doc, xml)) return out;
  const pugi::xml_node root = doc.document_element();
  if (LocalName(root) != "oMath" && LocalName(root) != "oMathPara") return out;
  Layout L;
  if (const pugi::xpath_node sz = root.select_node(".//*[local-name()='sz']")) {
    const double half = AttrNumber(sz.node(), "val", 22);
    L.em = std::clamp(half / 2 * 96 / 72, 6.0, 96.0);
  }
  if (LocalName(root) == "oMathPara") {
    // the equations of a display one under another
    double y = 0;
    bool first = true;
    for (pugi::xml_node m : root.children()) {
      if (LocalName(m) != "oMath") continue;
      const MBox line = Row(L, m, 1, 0);
      if (!first) y += line.up + 0.4 * L.em;
      Put(out.box, line, 0, y);
      y += line.down;
      first = false;
    }
  } else {
    out.box = Row(L, root, 1, 0);
  }
  out.em = L.em;
  out.ok = out.box.w > 0 && !out.box.svg.empty();
  return out;
}

}  // namespace

bool IsMath(std::string_view xml) {
  const std::size_t open = xml.find('<');
  const std::size_t end = xml.find_first_of(" />", open);
  if (open == std::string_view::npos || end == std::string_view::npos) return false;
  std::string_view name = xml.substr(open + 1, end - open - 1);
  const std::size_t colon = name.find(':');
  if (colon != std::string_view::npos) name.remove_prefix(colon + 1);
  return name == "oMath" || name == "oMathPara";
}

MathSize MeasureMath(std::string_view mathXml) {
  const Laid laid = LayOut(mathXml);
  MathSize size;
  if (!laid.ok) return size;
  const double pad = 0.1 * laid.em;
  size.ok = true;
  size.width = std::ceil(laid.box.w + 2 * pad);
  size.height = std::ceil(laid.box.up + laid.box.down + 2 * pad);
  size.descent = laid.box.down + pad;
  return size;
}

std::string MathSvg(std::string_view mathXml, double widthPx, double heightPx) {
  const Laid laid = LayOut(mathXml);
  if (!laid.ok) return {};
  const double pad = 0.1 * laid.em;
  const double w = std::ceil(laid.box.w + 2 * pad),
               h = std::ceil(laid.box.up + laid.box.down + 2 * pad);
  return SvgOpen(widthPx, heightPx) + "<g transform=\"scale(" + Num4(widthPx / w) + "," +
         Num4(heightPx / h) + ")\"><g font-family=\"" + kFont + "\" fill=\"#000000\">" +
         Translate(pad, pad + laid.box.up, laid.box.svg) + "</g></g>" + std::string(kSvgClose);
}

}  // namespace qp::draw
