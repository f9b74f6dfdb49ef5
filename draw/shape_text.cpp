#include "draw/shape_text.h"

#include <algorithm>
#include <cmath>

#include "draw/svg_text.h"
#include "draw/xml_names.h"
#include "text/number.h"
#include "text/style_length.h"

namespace qp::draw {
namespace {

constexpr std::size_t kMaxParagraphs = 500;
constexpr std::size_t kMaxParagraphBytes = 20000;

double PtToPx(double pt) {
  return pt * 96 / 72;
}

void AppendCapped(std::string& to, std::string_view text) {
  if (to.size() < kMaxParagraphBytes) to.append(text.substr(0, kMaxParagraphBytes - to.size()));
}

// Run properties of the first run that carries text set the paragraph's look.
void WordRunStyle(pugi::xml_node rPr, ShapeParagraph& p) {
  if (const pugi::xml_node sz = Child(rPr, "sz"))
    p.sizePx = PtToPx(std::clamp(AttrNumber(sz, "val", 22), 2.0, 400.0) / 2);
  const std::string_view color = Attr(Child(rPr, "color"), "val").value();
  if (!color.empty() && color != "auto")
    if (auto rgb = ParseCssColor("#" + std::string(color.substr(0, 6)))) p.rgb = *rgb;
  p.bold = ChildFlag(rPr, "b", false);
  p.italic = ChildFlag(rPr, "i", false);
  const pugi::xml_node fonts = Child(rPr, "rFonts");
  p.font = Attr(fonts, "eastAsia").value();
  if (p.font.empty()) p.font = Attr(fonts, "ascii").value();
}

void WordParagraph(pugi::xml_node wp, std::uint32_t color, ShapeText& out) {
  ShapeParagraph p;
  p.rgb = color;
  const std::string_view jc = ChildVal(Child(wp, "pPr"), "jc");
  p.align = jc == "center" ? 'c' : (jc == "right" || jc == "end") ? 'r' : 'l';
  WordRunStyle(Path(wp, {"pPr", "rPr"}), p);
  bool styled = false;
  // runs may sit inside hyperlinks, fields and content controls
  for (pugi::xml_node n = wp.first_child(); n && n != wp;) {
    const std::string_view name = LocalName(n);
    bool descend = true;
    if (name == "r") {
      if (!styled && Child(n, "t")) {
        WordRunStyle(Child(n, "rPr"), p);
        styled = true;
      }
    } else if (name == "t") {
      AppendCapped(p.text, n.text().get());
      descend = false;
    } else if (name == "tab") {
      AppendCapped(p.text, " ");
    } else if (name == "br" || name == "cr") {
      AppendCapped(p.text, "\n");
    } else if (name == "pPr" || name == "rPr" || name == "instrText" || name == "delText" ||
               name == "txbxContent" || name == "drawing" || name == "pict") {
      descend = false;
    }
    if (descend && n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n != wp && !n.next_sibling()) n = n.parent();
    if (n == wp) break;
    n = n.next_sibling();
  }
  out.paragraphs.push_back(std::move(p));
}

}  // namespace

bool ShapeText::Empty() const {
  return std::all_of(paragraphs.begin(), paragraphs.end(), [](const ShapeParagraph& p) {
    return p.text.find_first_not_of(" \n") == std::string::npos;
  });
}

void ReadWordParagraphs(pugi::xml_node content, std::uint32_t color, ShapeText& out) {
  // paragraphs of the box and of tables in it, in document order
  for (pugi::xml_node n = content.first_child(); n && n != content;) {
    if (LocalName(n) == "p") {
      if (out.paragraphs.size() >= kMaxParagraphs) return;
      WordParagraph(n, color, out);
    } else if (n.first_child() && LocalName(n) != "sectPr") {
      n = n.first_child();
      continue;
    }
    while (n != content && !n.next_sibling()) n = n.parent();
    if (n == content) break;
    n = n.next_sibling();
  }
}

void ReadDrawingParagraphs(pugi::xml_node txBody, const Palette& palette, std::uint32_t color,
                           ShapeText& out) {
  for (pugi::xml_node ap : txBody.children()) {
    if (LocalName(ap) != "p" || out.paragraphs.size() >= kMaxParagraphs) continue;
    ShapeParagraph p;
    p.rgb = color;
    p.sizePx = PtToPx(18);
    const std::string_view algn = Attr(Child(ap, "pPr"), "algn").value();
    p.align = algn == "ctr" ? 'c' : algn == "r" ? 'r' : 'l';
    bool styled = false;
    auto style = [&](pugi::xml_node rPr) {
      if (!rPr) return;
      if (Attr(rPr, "sz"))
        p.sizePx = PtToPx(std::clamp(AttrNumber(rPr, "sz", 1800), 100.0, 40000.0) / 100);
      p.bold = std::string_view(Attr(rPr, "b").value()) == "1";
      p.italic = std::string_view(Attr(rPr, "i").value()) == "1";
      if (auto c = ReadChildColor(Child(rPr, "solidFill"), palette)) p.rgb = c->rgb;
      p.font = Attr(Child(rPr, "ea"), "typeface").value();
      if (p.font.empty() || p.font.front() == '+')
        p.font = Attr(Child(rPr, "latin"), "typeface").value();
      if (!p.font.empty() && p.font.front() == '+') p.font.clear();  // a theme font: the palette's
    };
    style(Path(ap, {"pPr", "defRPr"}));
    for (pugi::xml_node r : ap.children()) {
      const std::string_view name = LocalName(r);
      if (name == "r" || name == "fld") {
        if (!styled) style(Child(r, "rPr")), styled = true;
        AppendCapped(p.text, Child(r, "t").text().get());
      } else if (name == "br") {
        AppendCapped(p.text, "\n");
      } else if (name == "endParaRPr" && !styled) {
        style(r);
      }
    }
    out.paragraphs.push_back(std::move(p));
  }
}

void ReadBodyProperties(pugi::xml_node bodyPr, ShapeText& out) {
  if (!bodyPr) return;
  auto inset = [&](std::string_view name, double& to) {
    if (Attr(bodyPr, name)) to = std::clamp(AttrNumber(bodyPr, name, 0) / kEmuPerPx, 0.0, 2000.0);
  };
  inset("lIns", out.left);
  inset("tIns", out.top);
  inset("rIns", out.right);
  inset("bIns", out.bottom);
  const std::string_view anchor = Attr(bodyPr, "anchor").value();
  out.anchor = anchor == "ctr" ? 'c' : anchor == "b" ? 'b' : 't';
  const std::string_view vert = Attr(bodyPr, "vert").value();
  out.vertical = vert == "vert" || vert == "eaVert" || vert == "vert270";
}

std::string LayoutText(const ShapeText& text, double w, double h, const Palette& palette) {
  if (text.Empty()) return {};
  if (text.vertical) {
    // laid out across the turned box, then turned a quarter clockwise
    ShapeText across = text;
    across.vertical = false;
    return "<g transform=\"translate(" + Num(w) + ",0) rotate(90)\">\n" +
           LayoutText(across, h, w, palette) + "</g>\n";
  }
  const double boxW = std::max(w - text.left - text.right, 4.0);
  struct TextLine {
    std::string text;
    const ShapeParagraph* p;
  };
  std::vector<TextLine> lines;
  double total = 0;
  for (const ShapeParagraph& p : text.paragraphs) {
    for (std::string& l : WrapText(p.text, p.sizePx, boxW)) {
      if (lines.size() >= 1000) break;
      total += p.sizePx * 1.2;
      lines.push_back({std::move(l), &p});
    }
  }
  const double boxH = h - text.top - text.bottom;
  double y = text.top + (text.anchor == 'c'   ? (boxH - total) / 2
                         : text.anchor == 'b' ? boxH - total
                                              : 0);
  std::string out;
  for (const TextLine& l : lines) {
    const ShapeParagraph& p = *l.p;
    y += p.sizePx * 1.2;
    if (l.text.empty()) continue;
    const double x = p.align == 'c'   ? text.left + boxW / 2
                     : p.align == 'r' ? text.left + boxW
                                      : text.left;
    out += "<text x=\"" + Num(x) + "\" y=\"" + Num(y - p.sizePx * 0.28) + "\" font-size=\"" +
           Num(p.sizePx) + "\" font-family=\"" + FontFamily(palette, p.font) + "\" fill=\"" +
           HexRgb(p.rgb) + "\"";
    if (p.align != 'l') out += p.align == 'c' ? " text-anchor=\"middle\"" : " text-anchor=\"end\"";
    if (p.bold) out += " font-weight=\"bold\"";
    if (p.italic) out += " font-style=\"italic\"";
    out += ">" + Escape(l.text) + "</text>\n";
  }
  return out;
}

}  // namespace qp::draw
