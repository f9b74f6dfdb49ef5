// Text boxes (a DrawingML shape with wps:txbx, a VML shape with v:textbox)
// whose outline is a rectangle: a one-cell table with the box's width,
// border and fill. A floating box goes before the paragraph that anchors
// it, on its side, so that the paragraph's text runs beside it as in Word;
// a box in the line follows its paragraph.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "generate/word/body_writer.h"
#include "generate/word/xml_part.h"
#include "text/number.h"
#include "text/style_length.h"

namespace qp::word {

namespace {

// A theme colour of the document (accent1, dk1, tx1 for dk1, ...) as RGB.
long ThemeColor(const pugi::xml_document& theme, std::string name) {
  if (name == "tx1") name = "dk1";
  if (name == "bg1") name = "lt1";
  if (name == "tx2") name = "dk2";
  if (name == "bg2") name = "lt2";
  pugi::xml_node scheme = Child(Child(theme.document_element(), "themeElements"), "clrScheme");
  pugi::xml_node entry = Child(scheme, name);
  pugi::xml_node srgb = Child(entry, "srgbClr");
  if (srgb) return std::strtol(Attr(srgb, "val").value(), nullptr, 16);
  pugi::xml_node sys = Child(entry, "sysClr");
  if (sys) return std::strtol(Attr(sys, "lastClr").value(), nullptr, 16);
  return name == "lt1" ? 0xFFFFFF : 0;
}

// The colour a DrawingML fill or line names: srgbClr, schemeClr or a few
// preset names, with lumMod and lumOff applied per channel. -1 for none.
long DrawingColor(const pugi::xml_node& holder, const pugi::xml_document& theme) {
  for (pugi::xml_node c : holder.children()) {
    std::string_view kind = LocalName(c);
    long rgb = -1;
    if (kind == "srgbClr") rgb = std::strtol(Attr(c, "val").value(), nullptr, 16);
    if (kind == "schemeClr") rgb = ThemeColor(theme, Attr(c, "val").value());
    if (kind == "prstClr") rgb = std::string_view(Attr(c, "val").value()) == "white" ? 0xFFFFFF : 0;
    if (kind == "sysClr") rgb = std::strtol(Attr(c, "lastClr").value(), nullptr, 16);
    if (rgb < 0) continue;
    double mod = static_cast<double>(AttrLong(Child(c, "lumMod"), "val", 100000)) / 100000.0;
    double off = static_cast<double>(AttrLong(Child(c, "lumOff"), "val", 0)) / 100000.0;
    long out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
      double v = static_cast<double>((rgb >> shift) & 0xFF) * mod + 255.0 * off;
      out |= std::clamp(std::lround(v), 0L, 255L) << shift;
    }
    return out;
  }
  return -1;
}

struct BoxLook {
  Text border = u"none", fill;
  Text color;                                 // of the text, when the shape's style gives one
  Text padding = u"3.6pt 7.2pt 3.6pt 7.2pt";  // the text's inset from the outline
  Text valign = u"top";                       // where the text sits when the box is taller
};

// DrawingML's insets (EMU, 0.1 in across and 0.05 in down by default) as
// a CSS padding value.
Text DrawingPadding(const pugi::xml_node& bodyPr) {
  auto inset = [&](const char* name, long fallback) {
    return Pt(static_cast<double>(std::max(0L, AttrLong(bodyPr, name, fallback))) / kEmuPerPt);
  };
  return inset("tIns", 45720) + u" " + inset("rIns", 91440) + u" " + inset("bIns", 45720) + u" " +
         inset("lIns", 91440);
}

// DrawingML: the shape's own fill and line, else those its style refers to.
BoxLook DrawingBoxLook(const pugi::xml_node& wsp, const pugi::xml_document& theme) {
  BoxLook look;
  pugi::xml_node spPr = Child(wsp, "spPr"), style = Child(wsp, "style");
  long fill = -1;
  if (pugi::xml_node solid = Child(spPr, "solidFill")) {
    fill = DrawingColor(solid, theme);
  } else if (!Child(spPr, "noFill") && AttrLong(Child(style, "fillRef"), "idx", 0) > 0) {
    fill = DrawingColor(Child(style, "fillRef"), theme);
  }
  if (fill >= 0) look.fill = T(HexRgb(fill));
  pugi::xml_node ln = Child(spPr, "ln");
  long line = -1;
  if (pugi::xml_node solid = Child(ln, "solidFill")) {
    line = DrawingColor(solid, theme);
  } else if (!Child(ln, "noFill") && AttrLong(Child(style, "lnRef"), "idx", 0) > 0) {
    line = DrawingColor(Child(style, "lnRef"), theme);
  }
  if (line >= 0) {
    // A hairline shows as one pixel, as Word draws it.
    double width = std::max(0.75, static_cast<double>(AttrLong(ln, "w", 9525)) / kEmuPerPt);
    look.border = u"solid " + T(HexRgb(line)) + u" " + Pt(width);
  }
  // The shape's style names the colour of its text (white on a filled
  // shape in Word's default style); runs that set their own keep it.
  long text = DrawingColor(Child(style, "fontRef"), theme);
  if (text >= 0) look.color = T(HexRgb(text));
  pugi::xml_node bodyPr = Child(wsp, "bodyPr");
  look.padding = DrawingPadding(bodyPr);
  std::string_view anchor = Attr(bodyPr, "anchor").value();
  if (anchor == "ctr") look.valign = u"middle";
  if (anchor == "b") look.valign = u"bottom";
  return look;
}

// VML: filled and stroked unless switched off, white fill and black line
// by default.
BoxLook VmlBoxLook(const pugi::xml_node& shape) {
  auto off = [&](const char* name) {
    std::string_view v = shape.attribute(name).value();
    return v == "f" || v == "false";
  };
  auto color = [&](const char* name, const char* fallback) {
    std::string v = shape.attribute(name).value();
    if (v.empty()) v = fallback;
    v = v.substr(0, v.find(' '));  // "#4f81bd [3204]"
    return U(v);
  };
  BoxLook look;
  if (!off("filled")) look.fill = color("fillcolor", "white");
  if (!off("stroked")) {
    Text weight = U(shape.attribute("strokeweight").value());
    look.border = u"solid " + color("strokecolor", "black") + u" " +
                  (weight.empty() ? Text(u".75pt") : weight);
  }
  // v:textbox inset="left,top,right,bottom", each a length or empty for
  // the default (0.1 in across, 0.05 in down).
  Text inset = U(Child(shape, "textbox").attribute("inset").value());
  if (!inset.empty()) {
    Text sides[4] = {u"7.2pt", u"3.6pt", u"7.2pt", u"3.6pt"};
    std::size_t i = 0, from = 0;
    for (; i < 4 && from <= inset.size(); ++i) {
      std::size_t comma = std::min(inset.find(u',', from), inset.size());
      Text length = Trim(inset.substr(from, comma - from));
      long px = VmlLengthPx(u"x:" + length, u"x");
      if (!length.empty()) sides[i] = Pt(static_cast<double>(px) * 0.75);
      from = comma + 1;
    }
    look.padding = sides[1] + u" " + sides[2] + u" " + sides[3] + u" " + sides[0];
  }
  Text style = U(shape.attribute("style").value());
  if (style.find(u"v-text-anchor:middle") != Text::npos) look.valign = u"middle";
  if (style.find(u"v-text-anchor:bottom") != Text::npos) look.valign = u"bottom";
  return look;
}

// The box as a one-cell table: floating on its side (at its inset from that
// side of the column) or centred as a block of its own; the cell as tall as
// the box at least.
Text FloatTableOpen(long widthPx, const Placement& place) {
  Text html = u"<table cellpadding=0 cellspacing=0";
  if (place.side == 'l') html += u" align=left";
  if (place.side == 'r') html += u" align=right";
  if (place.side == 'c') html += u" align=center";
  if (widthPx > 0) html += u" width=" + T(std::to_string(widthPx));
  if ((place.side == 'l' || place.side == 'r') && place.inset > 0) {
    html += u" style='margin-" + T(place.side == 'r' ? "right:" : "left:") +
            T(std::to_string(place.inset)) + u"px'";
  }
  return html + u">\r\n <tr>\r\n  <td";
}

Text BoxTable(const Text& inner, long widthPx, long heightPx, const Placement& place,
              const BoxLook& look) {
  Text html = FloatTableOpen(widthPx, place);
  if (heightPx > 0) html += u" height=" + T(std::to_string(heightPx));
  html += u" valign=" + look.valign + u" style='border:" + look.border;
  if (!look.fill.empty()) html += u";background:" + look.fill;
  if (!look.color.empty()) html += u";color:" + look.color;
  html += u";padding:" + look.padding + u"'>\r\n  <div>\r\n";
  return html + inner + u"  </div>\r\n  </td>\r\n </tr>\r\n</table>\r\n\r\n";
}

// Whether a text box shows nothing but its outline and fill: no text, no
// picture, no drawing.
bool IsEmptyBox(const pugi::xml_node& content) {
  if (content.select_node(".//*[local-name()='drawing' or local-name()='pict' or "
                          "local-name()='object']")) {
    return false;
  }
  for (pugi::xpath_node t : content.select_nodes(".//*[local-name()='t']")) {
    for (const char* c = t.node().text().get(); *c; ++c) {
      if (!std::isspace(static_cast<unsigned char>(*c))) return false;
    }
  }
  return true;
}

}  // namespace

bool IsRectangularBox(const pugi::xml_node& shape) {
  std::string_view local = LocalName(shape);
  if (local == "wsp") {
    pugi::xml_node geom = Child(Child(shape, "spPr"), "prstGeom");
    return !geom || std::string_view(Attr(geom, "prst").value()) == "rect";
  }
  if (local == "rect") return true;
  if (local == "shape") {
    std::string_view type = shape.attribute("type").value();
    return type.empty() || type == "#_x0000_t202";  // Word's text box shape type
  }
  return false;
}

void BodyWriter::TextBox(const pugi::xml_node& content, long widthPx, long heightPx,
                         const Placement& place) {
  Text inner;
  Blocks(content, inner);
  if (inner.empty()) return;
  pugi::xml_node shape = content.parent();
  while (shape && LocalName(shape) != "wsp" && LocalName(shape) != "shape" &&
         LocalName(shape) != "rect") {
    shape = shape.parent();
  }
  if (!IsRectangularBox(shape)) {
    // Other outlines are drawn as pictures elsewhere; until then their text
    // follows the paragraph, so that nothing is lost.
    pending_.Add({BoxTable(inner, 0, 0, Placement(), BoxLook()), false});
    return;
  }
  BoxLook look =
      LocalName(shape) == "wsp" ? DrawingBoxLook(shape, state_.doc.theme) : VmlBoxLook(shape);
  if (LocalName(shape) != "wsp") {
    Text style = U(shape.attribute("style").value());
    widthPx = VmlLengthPx(style, u"width");
    heightPx = VmlLengthPx(style, u"height");
  }
  const PageSetup& page = state_.doc.sections[section_].page;
  double column = (page.PageWidth - page.LeftMargin - page.RightMargin - page.Gutter) * 96 / 72;
  if (place.side && static_cast<double>(widthPx) >= column * 0.9 && IsEmptyBox(content)) {
    return;  // a page's coloured backdrop: as a block it would only push the text down
  }
  bool before = place.side != 0;
  char floats = place.side == 'l' || place.side == 'r' ? place.side : 0;
  pending_.Add({BoxTable(inner, widthPx, heightPx, place, look), before, floats, place.top,
                place.top + heightPx});
}

Text BodyWriter::Framed(const pugi::xml_node& pPr, const Text& paragraph) const {
  pugi::xml_node frame = Child(pPr, "framePr");
  std::string_view wrap = Attr(frame, "wrap").value();
  bool dropCap = !std::string_view(Attr(frame, "dropCap").value()).empty() &&
                 std::string_view(Attr(frame, "dropCap").value()) != "none";
  // A frame in the line, or one that text does not flow beside, is an
  // ordinary paragraph.
  if (!frame || std::string_view(Attr(frame, "yAlign").value()) == "inline" ||
      (!dropCap && wrap != "around" && wrap != "tight" && wrap != "through")) {
    return paragraph;
  }
  const PageSetup& page = state_.doc.sections[section_].page;
  const double pxPerPt = 96.0 / 72.0;
  double column = (page.PageWidth - page.LeftMargin - page.RightMargin - page.Gutter) * pxPerPt;
  long width = std::lround(static_cast<double>(AttrLong(frame, "w", 0)) / 20.0 * pxPerPt);
  Placement place;
  std::string_view align = Attr(frame, "xAlign").value();
  if (dropCap) {
    place.side = 'l';
  } else if (!align.empty()) {
    place.side = align == "center" ? 'c' : align == "right" || align == "outside" ? 'r' : 'l';
  } else {
    double x = static_cast<double>(AttrLong(frame, "x", 0)) / 20.0 * pxPerPt;
    if (std::string_view(Attr(frame, "hAnchor").value()) == "page") {
      x -= page.LeftMargin * pxPerPt;
    }
    PlaceInColumn(x, static_cast<double>(width), column, place);
  }
  // w:h is the frame's height, at least or exactly; the text may need more.
  long height = std::lround(static_cast<double>(AttrLong(frame, "h", 0)) / 20.0 * pxPerPt);
  Text cell = height > 0 ? u" height=" + T(std::to_string(height)) : Text();
  return FloatTableOpen(width, place) + cell + u" valign=top>\r\n" + paragraph +
         u"  </td>\r\n </tr>\r\n</table>\r\n\r\n";
}

}  // namespace qp::word
