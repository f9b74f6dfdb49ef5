// Pictures, text boxes and links inside paragraphs.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "generate/word/body_writer.h"
#include "generate/word/html_text.h"
#include "generate/word/picture_effects.h"
#include "generate/word/xml_part.h"
#include "text/number.h"
#include "text/style_length.h"

namespace qp::word {

long EmuToPx(long long emu) {
  if (emu <= 0) return 0;
  return static_cast<long>(std::llround(static_cast<double>(emu) / kEmuPerPx));
}

namespace {

// A VML style length in px, signed; 0 when the property is missing.
double VmlLength(TextView style, TextView property) {
  auto ascii = [](TextView text) {
    std::string out;
    for (char16_t c : text) out += static_cast<char>(c < 128 ? c : '?');
    return out;
  };
  return StyleLengthPx(StyleValue(ascii(style), ascii(property)), 0);
}

// An offset, which may be negative.
long VmlOffsetPx(TextView style, TextView property) {
  double px = VmlLength(style, property);
  return px > -100000 && px < 100000 ? static_cast<long>(std::lround(px)) : 0;
}

}  // namespace

long VmlLengthPx(TextView style, TextView property) {
  double px = VmlLength(style, property);
  return px > 0 && px < 100000 ? static_cast<long>(std::lround(px)) : 0;
}

namespace {

long SignedEmuToPx(const pugi::xml_node& offset) {
  double px = ParseDoubleC(offset.text().get(), nullptr) / kEmuPerPx;
  return std::isfinite(px) ? std::lround(std::clamp(px, -100000.0, 100000.0)) : 0;
}

// Objects in a table cell or a text box float: a cell or box narrower
// than their offset would send them off the page.
bool InCellOrBox(pugi::xml_node node) {
  for (node = node.parent(); node; node = node.parent()) {
    std::string_view local = LocalName(node);
    if (local == "tc" || local == "txbxContent") return true;
  }
  return false;
}

// Where `align` puts an object of `width` in a box from 0 to `span`.
long Aligned(std::string_view align, double span, double width) {
  if (align == "center") return std::lround((span - width) / 2);
  if (align == "right") return std::lround(span - width);
  return 0;
}

}  // namespace

bool HoldsText(const pugi::xml_node& p) {
  for (pugi::xpath_node t :
       p.select_nodes(".//*[local-name()='t' and not(ancestor::*[local-name()='txbxContent'])]")) {
    for (const char* c = t.node().text().get(); *c; ++c) {
      if (!std::isspace(static_cast<unsigned char>(*c))) return true;
    }
  }
  return false;
}

bool TextFollows(const pugi::xml_node& p) {
  for (pugi::xml_node next = p.next_sibling(); next; next = next.next_sibling()) {
    std::string_view local = LocalName(next);
    if (local == "tbl" || local == "sdt") return true;
    if (local != "p") continue;
    if (HoldsText(next)) return true;
    if (next.select_node(".//*[local-name()='anchor' or local-name()='pict']")) return false;
  }
  return false;
}

namespace {

// An object "in front of" or "behind" the text stays over the text only
// in a paragraph that holds nothing but drawings and has no text after it
// (shapes that make one drawing together); elsewhere it would cover the
// text, so it floats beside it instead.
bool OverTextOnlyInDrawing(const pugi::xml_node& object) {
  pugi::xml_node p = object.parent();
  while (p && LocalName(p) != "p") p = p.parent();
  return p && !HoldsText(p) && !TextFollows(p);
}

// Whether a DrawingML or VML shape is drawn without a fill: an outline
// that text shows through.
bool Unfilled(const pugi::xml_node& object) {
  pugi::xml_node spPr =
      object.select_node(".//*[local-name()='wsp']/*[local-name()='spPr']").node();
  if (spPr) {
    for (const char* fill : {"solidFill", "gradFill", "blipFill", "pattFill"}) {
      if (Child(spPr, fill)) return false;
    }
    pugi::xml_node style = Child(spPr.parent(), "style");
    return Child(spPr, "noFill") || AttrLong(Child(style, "fillRef"), "idx", 0) == 0;
  }
  std::string_view filled = object.attribute("filled").value();
  std::string_view on = Attr(Child(object, "fill"), "on").value();
  return filled == "f" || filled == "false" || on == "f" || on == "false";
}

// An object behind the text, or an outline without fill, as wide as the
// column or wider (a frame or a background for the page) has nothing
// beside it to float to: it stays over or under the text it frames.
bool IsBackdrop(const pugi::xml_node& object, bool behind, double width, double column) {
  return width >= column * 0.9 && (behind || Unfilled(object));
}

// Text on one side only ("left", "right") puts the object on the other,
// against the column's edge.
void TextOnOneSide(std::string_view textSide, Placement& place) {
  char against = textSide == "left" ? 'r' : textSide == "right" ? 'l' : 0;
  if (against && place.side != against) {
    place.side = against;
    place.inset = 0;
  }
}

void PlaceAligned(std::string_view align, Placement& place) {
  place.side = align == "center" ? 'c' : align == "right" || align == "outside" ? 'r' : 'l';
}

}  // namespace

// The side and inset of an object `width` px wide whose left edge is `x` px
// from the left of a text column `column` px wide: centred when its middle
// is within a twentieth of the column's; on the right when its middle lies
// past three fifths of the column (a wide picture near the middle stays
// left); on the left otherwise.
void PlaceInColumn(double x, double width, double column, Placement& place) {
  double middle = x + width / 2;
  double room = std::max(0.0, column - width);
  if (std::abs(middle - column / 2) <= column / 20 && width < column) {
    place.side = 'c';
  } else if (middle > column * 0.6) {
    place.side = 'r';
    place.inset = std::lround(std::clamp(column - x - width, 0.0, room));
  } else {
    place.side = 'l';
    place.inset = std::lround(std::clamp(x, 0.0, room));
  }
}

// Where a floating picture or box sits (see Placement): by its alignment,
// else by its offset within the text column; text wrapping only on its left
// puts it on the right, wrapping above and below makes it a block. An
// object without wrapping placed from the column, margin or page across
// and from its paragraph or line down is an overlay at that offset when it
// is part of a drawing (OverTextOnlyInDrawing). 0 for one in the line.
Placement BodyWriter::DrawingPlacement(const pugi::xml_node& frame) const {
  Placement place;
  if (LocalName(frame) != "anchor") return place;
  const PageSetup& page = state_.doc.sections[section_].page;
  const double pxPerPt = 96.0 / 72.0;
  double column = (page.PageWidth - page.LeftMargin - page.RightMargin - page.Gutter) * pxPerPt;
  double width = static_cast<double>(EmuToPx(AttrLong(Child(frame, "extent"), "cx")));
  pugi::xml_node positionH = Child(frame, "positionH");
  std::string_view fromH = Attr(positionH, "relativeFrom").value();
  std::string_view align = Child(positionH, "align").text().get();
  pugi::xml_node offset = Child(positionH, "posOffset");
  double pageLeft = fromH == "page" ? page.LeftMargin * pxPerPt : 0;
  std::string_view wrapText;
  for (std::string_view wrap : {"wrapSquare", "wrapTight", "wrapThrough"}) {
    if (pugi::xml_node w = Child(frame, wrap)) wrapText = Attr(w, "wrapText").value();
  }
  if (!align.empty()) {
    PlaceAligned(align, place);
  } else if (!offset) {
    place.side = 'l';
  } else {
    PlaceInColumn(static_cast<double>(SignedEmuToPx(offset)) - pageLeft, width, column, place);
  }
  TextOnOneSide(wrapText, place);
  place.block = Child(frame, "wrapTopAndBottom") != nullptr;

  pugi::xml_node positionV = Child(frame, "positionV");
  std::string_view fromV = Attr(positionV, "relativeFrom").value();
  pugi::xml_node offsetV = Child(positionV, "posOffset");
  if (offsetV) place.top = SignedEmuToPx(offsetV);
  bool fromColumn = fromH == "column" || fromH == "margin" || fromH == "character";
  if (InCellOrBox(frame) || !Child(frame, "wrapNone") || !(fromColumn || fromH == "page") ||
      !offsetV || (fromV != "paragraph" && fromV != "line")) {
    return place;
  }
  place.behind = std::string_view(Attr(frame, "behindDoc").value()) == "1";
  if (!OverTextOnlyInDrawing(frame) && !IsBackdrop(frame, place.behind, width, column))
    return place;
  if (offset) {
    place.left = SignedEmuToPx(offset) - std::lround(pageLeft);
  } else {
    double span = fromH == "page" ? page.PageWidth * pxPerPt : column;
    place.left = Aligned(align, span, width) - std::lround(pageLeft);
  }
  place.overlay = true;
  return place;
}

Placement BodyWriter::VmlPlacement(const pugi::xml_node& shape) const {
  Placement place;
  Text style = U(shape.attribute("style").value());
  if (style.find(u"position:absolute") == TextView::npos) return place;
  const PageSetup& page = state_.doc.sections[section_].page;
  double column = (page.PageWidth - page.LeftMargin - page.RightMargin - page.Gutter) * 96 / 72;
  long width = VmlLengthPx(style, u"width");
  long left = VmlOffsetPx(style, u"margin-left") + VmlOffsetPx(style, u"left");
  auto value = [&](std::u16string_view property) {
    std::size_t at = style.find(Text(property) + u":");
    if (at == TextView::npos) return Text();
    Text rest = style.substr(at + property.size() + 1);
    return rest.substr(0, rest.find(u';'));
  };
  // VML places from the column and the paragraph ("text") unless it says
  // otherwise; wrapping is a w10:wrap child.
  Text fromH = value(u"mso-position-horizontal-relative");
  Text fromV = value(u"mso-position-vertical-relative");
  double pageLeft = fromH == u"page" ? page.LeftMargin * 96 / 72 : 0;
  Text align = value(u"mso-position-horizontal");
  if (!align.empty() && align != u"absolute") {
    PlaceAligned(std::string(align.begin(), align.end()), place);
  } else {
    PlaceInColumn(static_cast<double>(left) - pageLeft, static_cast<double>(width), column, place);
  }
  std::string_view wrap, wrapSide;
  for (pugi::xml_node c : shape.children()) {
    if (LocalName(c) != "wrap") continue;
    wrap = c.attribute("type").value();
    wrapSide = c.attribute("side").value();
  }
  TextOnOneSide(wrapSide, place);
  place.block = wrap == "topAndBottom";
  place.top = VmlOffsetPx(style, u"margin-top") + VmlOffsetPx(style, u"top");
  bool fromColumn = fromH.empty() || fromH == u"text" || fromH == u"margin" || fromH == u"char";
  if (InCellOrBox(shape) || (!wrap.empty() && wrap != "none") ||
      !(fromColumn || fromH == u"page") ||
      !(fromV.empty() || fromV == u"text" || fromV == u"line")) {
    return place;
  }
  Text z = value(u"z-index");
  place.behind = !z.empty() && z[0] == u'-';
  if (!OverTextOnlyInDrawing(shape) &&
      !IsBackdrop(shape, place.behind, static_cast<double>(width), column)) {
    return place;
  }
  if (!align.empty() && align != u"absolute") {
    double span = fromH == u"page" ? page.PageWidth * 96 / 72 : column;
    std::string ascii(align.begin(), align.end());
    left = Aligned(ascii, span, static_cast<double>(width));
  }
  place.left = left - std::lround(pageLeft);
  place.top = VmlOffsetPx(style, u"margin-top");
  place.overlay = true;
  return place;
}

void BodyWriter::Picture(const std::string& relId, const Crop& crop, const PictureEffects& effects,
                         long width, long height, const Placement& place, const Text& alt,
                         const RunFrame& run) {
  auto rel = rels_->find(relId);
  if (rel == rels_->end() || rel->second.external) return;
  Text file = state_.pictures.Add(rel->second.target, width, height, crop, &effects);
  Image(file, width, height, place, alt, run);
}

void BodyWriter::Image(const Text& file, long width, long height, const Placement& place,
                       const Text& alt, const RunFrame& run) {
  if (file.empty()) return;
  Text img = u"<img";
  if (width > 0 && height > 0) {
    img += u" width=" + T(std::to_string(width)) + u" height=" + T(std::to_string(height));
  }
  img += u" src=\"" + state_.stem + u".files/" + file + u"\"";
  bool standsAlone = place.side == 'c' || (place.side && place.block);
  if (place.side && !place.overlay && !standsAlone) {
    img += place.side == 'r' ? u" align=right hspace=12" : u" align=left hspace=12";
    if (place.inset > 0) {
      img += u" style='margin-" + T(place.side == 'r' ? "right:" : "left:") +
             T(std::to_string(place.inset)) + u"px'";
    }
  }
  if (!alt.empty()) img += u" alt=\"" + EscapeAttributeValue(alt) + u"\"";
  img += u" v:shapes=\"_x0000_i" + T(std::to_string(state_.shapeId++)) + u"\">";
  if (standsAlone && !place.overlay) {
    // A paragraph of its own before the one that anchors it, at its side
    // or in the middle of the column.
    Text p = u"<p class=MsoNormal";
    if (place.side == 'c' || place.side == 'r') {
      p += place.side == 'c' ? u" align=center" : u" align=right";
    }
    if (place.side != 'c' && place.inset > 0) {
      p += u" style='margin-" + T(place.side == 'r' ? "right:" : "left:") +
           T(std::to_string(place.inset)) + u"px'";
    }
    pending_.Add({p + u">" + img + u"</p>\r\n\r\n", true, 0, place.top, place.top + height});
    return;
  }
  if (place.overlay) {
    // Over (or under) the text, from the top left of its paragraph, which
    // the paragraph's position:relative makes the reference.
    overlays_.Add(place.top + height);
    img = u"<span style='position:absolute;z-index:" + T(place.behind ? "-1" : "1") + u";left:" +
          T(std::to_string(place.left)) + u"px;top:" + T(std::to_string(place.top)) + u"px;width:" +
          T(std::to_string(width)) + u"px;height:" + T(std::to_string(height)) + u"px'>" + img +
          u"</span>";
  }
  run.Add(img, true);
}

void BodyWriter::Drawing(const pugi::xml_node& drawing, const RunFrame& run) {
  for (pugi::xml_node frame : drawing.children()) {
    if (LocalName(frame) != "anchor" && LocalName(frame) != "inline") continue;
    Placement place = DrawingPlacement(frame);
    pugi::xml_node extent = Child(frame, "extent");
    pugi::xml_node docPr = Child(frame, "docPr");
    Text alt = U(Attr(docPr, "descr").value());
    if (alt.empty()) alt = U(Attr(docPr, "title").value());
    if (DrawnObject(frame, EmuToPx(AttrLong(extent, "cx")), EmuToPx(AttrLong(extent, "cy")), place,
                    alt, run)) {
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
      // The pictures of a group each float: the offset is the group's.
      Placement own = place;
      if (blips.size() > 1) own.overlay = false;
      Picture(Attr(b.node(), "embed").value(), crop, ReadBlipEffects(b.node(), state_.doc.palette),
              width, height, own, alt, run);
    }
    pugi::xpath_node_set boxes = frame.select_nodes(".//*[local-name()='txbxContent']");
    for (pugi::xpath_node box : boxes) {
      long width = EmuToPx(AttrLong(extent, "cx")), height = EmuToPx(AttrLong(extent, "cy"));
      if (boxes.size() > 1) width = height = 0;  // boxes of a group: the group's size is not theirs
      TextBox(box.node(), width, height, place);
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

void BodyWriter::Vml(const pugi::xml_node& pict, const RunFrame& run) {
  if (DrawnVml(pict, run)) return;
  for (pugi::xpath_node d : pict.select_nodes(".//*[local-name()='imagedata']")) {
    pugi::xml_node shape = d.node().parent();
    Text style = U(shape.attribute("style").value());
    std::string relId = Attr(d.node(), "id").value();
    if (relId.empty()) relId = Attr(d.node(), "pict").value();
    Picture(relId, VmlCrop(d.node()), ReadVmlEffects(d.node()), VmlLengthPx(style, u"width"),
            VmlLengthPx(style, u"height"), VmlPlacement(shape), U(Attr(d.node(), "title").value()),
            run);
  }
  for (pugi::xpath_node box : pict.select_nodes(".//*[local-name()='txbxContent']")) {
    pugi::xml_node shape = box.node().parent().parent();  // w:txbxContent in v:textbox
    TextBox(box.node(), 0, 0, VmlPlacement(shape));
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
