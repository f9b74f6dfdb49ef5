// Pictures, text boxes and links inside paragraphs.
#include <cmath>
#include <cstdlib>

#include "generate/word/body_writer.h"
#include "generate/word/html_text.h"
#include "generate/word/xml_part.h"
#include "text/number.h"

namespace qp::word {

long EmuToPx(long long emu) {
  if (emu <= 0) return 0;
  return static_cast<long>(std::llround(static_cast<double>(emu) / 9525.0));
}

long VmlLengthPx(TextView style, TextView property) {
  Text key = Text(property) + u":";
  std::size_t at = 0;
  while ((at = style.find(key, at)) != TextView::npos) {
    // "width:" must not be the tail of "mso-width:" or similar.
    if (at == 0 || style[at - 1] == u';' || style[at - 1] == u' ') break;
    at += key.size();
  }
  if (at == TextView::npos) return 0;
  TextView rest = style.substr(at + key.size());
  std::size_t end = rest.find(u';');
  Text value = Trim(Text(rest.substr(0, end)));
  std::string ascii;
  for (char16_t c : value) ascii += static_cast<char>(c < 128 ? c : '?');
  char* unit = nullptr;
  double v = ParseDoubleC(ascii.c_str(), &unit);
  std::string_view u = unit ? unit : "";
  double px = u == "pt"   ? v * 96.0 / 72.0
              : u == "in" ? v * 96.0
              : u == "cm" ? v * 96.0 / 2.54
              : u == "mm" ? v * 96.0 / 25.4
                          : v;
  return px > 0 && px < 100000 ? static_cast<long>(std::lround(px)) : 0;
}

// The side a floating picture or box sits on: 'r' when it is aligned on
// the right, when text wraps only on its left, or when its centre lies past
// three fifths of the text column (a wide picture near the middle stays
// left); 'l' otherwise; 0 for one in the line.
char BodyWriter::DrawingSide(const pugi::xml_node& frame) const {
  if (LocalName(frame) != "anchor") return 0;
  pugi::xml_node positionH = Child(frame, "positionH");
  std::string_view align = Child(positionH, "align").text().get();
  if (!align.empty()) return align == "right" ? 'r' : 'l';
  for (std::string_view wrap : {"wrapSquare", "wrapTight", "wrapThrough"}) {
    if (std::string_view(Attr(Child(frame, wrap), "wrapText").value()) == "left") return 'r';
  }
  pugi::xml_node offset = Child(positionH, "posOffset");
  if (!offset) return 'l';
  const PageSetup& page = state_.doc.sections.front().page;
  double column = page.PageWidth - page.LeftMargin - page.RightMargin - page.Gutter;
  double left = ParseDoubleC(offset.text().get(), nullptr) / 12700.0;  // EMU to points
  if (std::string_view(Attr(positionH, "relativeFrom").value()) == "page") left -= page.LeftMargin;
  double centre = left + static_cast<double>(AttrLong(Child(frame, "extent"), "cx")) / 25400.0;
  return centre > column * 0.6 ? 'r' : 'l';
}

char BodyWriter::VmlSide(TextView style) const {
  if (style.find(u"position:absolute") == TextView::npos) return 0;
  if (style.find(u"mso-position-horizontal:right") != TextView::npos) return 'r';
  if (style.find(u"mso-position-horizontal:") != TextView::npos) return 'l';
  const PageSetup& page = state_.doc.sections.front().page;
  double column = (page.PageWidth - page.LeftMargin - page.RightMargin - page.Gutter) * 96 / 72;
  double centre =
      static_cast<double>(VmlLengthPx(style, u"margin-left") + VmlLengthPx(style, u"left") +
                          VmlLengthPx(style, u"width") / 2);
  return centre > column * 0.6 ? 'r' : 'l';
}

void BodyWriter::Picture(const std::string& relId, const Crop& crop, long width, long height,
                         char side, const Text& alt, const Text& open, const Text& close,
                         std::vector<InlinePiece>& pieces) {
  auto rel = rels_->find(relId);
  if (rel == rels_->end() || rel->second.external) return;
  Text file = state_.pictures.Add(rel->second.target, width, height, crop);
  Image(file, width, height, side, alt, open, close, pieces);
}

void BodyWriter::Image(const Text& file, long width, long height, char side, const Text& alt,
                       const Text& open, const Text& close, std::vector<InlinePiece>& pieces) {
  if (file.empty()) return;
  Text img = u"<img";
  if (width > 0 && height > 0) {
    img += u" width=" + T(std::to_string(width)) + u" height=" + T(std::to_string(height));
  }
  img += u" src=\"" + state_.stem + u".files/" + file + u"\"";
  if (side) img += side == 'r' ? u" align=right hspace=12" : u" align=left hspace=12";
  if (!alt.empty()) img += u" alt=\"" + EscapeAttributeValue(alt) + u"\"";
  img += u" v:shapes=\"_x0000_i" + T(std::to_string(state_.shapeId++)) + u"\">";
  Append(pieces, open, close, img, true);
}

void BodyWriter::Drawing(const pugi::xml_node& drawing, const Text& open, const Text& close,
                         std::vector<InlinePiece>& pieces) {
  for (pugi::xml_node frame : drawing.children()) {
    if (LocalName(frame) != "anchor" && LocalName(frame) != "inline") continue;
    char side = DrawingSide(frame);
    pugi::xml_node extent = Child(frame, "extent");
    pugi::xml_node docPr = Child(frame, "docPr");
    Text alt = U(Attr(docPr, "descr").value());
    if (alt.empty()) alt = U(Attr(docPr, "title").value());
    if (DrawnObject(frame, EmuToPx(AttrLong(extent, "cx")), EmuToPx(AttrLong(extent, "cy")), side,
                    alt, open, close, pieces)) {
      continue;
    }
    pugi::xpath_node_set blips = frame.select_nodes(".//*[local-name()='blip']");
    for (pugi::xpath_node b : blips) {
      long width = 0, height = 0;
      if (blips.size() == 1) {
        width = EmuToPx(AttrLong(extent, "cx"));
        height = EmuToPx(AttrLong(extent, "cy"));
      } else {
        // In a group each picture has its own size.
        pugi::xml_node pic = b.node().parent();
        while (pic && LocalName(pic) != "pic") pic = pic.parent();
        pugi::xml_node ext = Child(Child(Child(pic, "spPr"), "xfrm"), "ext");
        width = EmuToPx(AttrLong(ext, "cx"));
        height = EmuToPx(AttrLong(ext, "cy"));
      }
      pugi::xml_node srcRect = Child(b.node().parent(), "srcRect");
      Crop crop{AttrLong(srcRect, "l"), AttrLong(srcRect, "t"), AttrLong(srcRect, "r"),
                AttrLong(srcRect, "b")};
      Picture(Attr(b.node(), "embed").value(), crop, width, height, side, alt, open, close, pieces);
    }
    pugi::xpath_node_set boxes = frame.select_nodes(".//*[local-name()='txbxContent']");
    for (pugi::xpath_node box : boxes) {
      long width = EmuToPx(AttrLong(Child(frame, "extent"), "cx"));
      if (boxes.size() > 1) width = 0;  // boxes of a group: the group's width is not theirs
      TextBox(box.node(), width, side);
    }
  }
}

namespace {

// v:imagedata's cropleft, croptop, ...: a fraction, or "Nf" in 65536ths.
Crop VmlCrop(const pugi::xml_node& imagedata) {
  auto share = [&](const char* name) {
    std::string v = imagedata.attribute(name).value();
    if (v.empty()) return 0L;
    double f = ParseDoubleC(v.c_str(), nullptr);
    if (v.back() == 'f') f /= 65536.0;
    return f > 0 && f < 1 ? std::lround(f * 100000.0) : 0L;
  };
  return {share("cropleft"), share("croptop"), share("cropright"), share("cropbottom")};
}

}  // namespace

void BodyWriter::Vml(const pugi::xml_node& pict, const Text& open, const Text& close,
                     std::vector<InlinePiece>& pieces) {
  if (DrawnVml(pict, open, close, pieces)) return;
  for (pugi::xpath_node d : pict.select_nodes(".//*[local-name()='imagedata']")) {
    pugi::xml_node shape = d.node().parent();
    Text style = U(shape.attribute("style").value());
    std::string relId = Attr(d.node(), "id").value();
    if (relId.empty()) relId = Attr(d.node(), "pict").value();
    Picture(relId, VmlCrop(d.node()), VmlLengthPx(style, u"width"), VmlLengthPx(style, u"height"),
            VmlSide(style), U(Attr(d.node(), "title").value()), open, close, pieces);
  }
  for (pugi::xpath_node box : pict.select_nodes(".//*[local-name()='txbxContent']")) {
    pugi::xml_node shape = box.node().parent().parent();  // w:txbxContent in v:textbox
    TextBox(box.node(), 0, VmlSide(U(shape.attribute("style").value())));
  }
}

Text BodyWriter::Href(const pugi::xml_node& hyperlink) const {
  Text href;
  std::string relId = Attr(hyperlink, "id").value();
  if (!relId.empty()) {
    auto rel = rels_->find(relId);
    if (rel != rels_->end()) href = EscapeHref(U(rel->second.target));
  }
  std::string anchor = Attr(hyperlink, "anchor").value();
  if (!anchor.empty()) href += u"#" + EscapeHref(U(anchor));
  return href;
}

}  // namespace qp::word
