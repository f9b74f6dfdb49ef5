// Objects that only a drawing shows: charts, shapes, groups, canvases and
// SmartArt, each drawn by the drawing library as one picture at the
// object's extent. Pictures (blips) and text boxes whose shape is a plain
// rectangle stay with body_objects.cpp.
#include <algorithm>

#include "draw/picture.h"
#include "generate/word/body_writer.h"
#include "generate/word/xml_part.h"
#include "text/failure.h"
#include "text/style_length.h"

namespace qp::word {

namespace {

bool HoldsPicture(const pugi::xml_node& node) {
  return node.select_node(".//*[local-name()='blip' or local-name()='imagedata']") != nullptr;
}

// A wps:wsp that is a text box on a plain rectangle stays text.
bool IsTextBoxShape(const pugi::xml_node& wsp) {
  if (!Child(wsp, "txbx")) return false;
  pugi::xml_node spPr = Child(wsp, "spPr");
  if (Child(spPr, "custGeom")) return false;
  pugi::xml_node preset = Child(spPr, "prstGeom");
  return !preset || std::string_view(Attr(preset, "prst").value()) == "rect";
}

// A VML text box on a plain rectangle stays text, and so does a
// horizontal rule.
bool IsVmlTextOrRule(const pugi::xml_node& shape) {
  std::string_view local = LocalName(shape);
  if (std::string_view(Attr(shape, "hr").value()) == "t") return true;
  if (!shape.select_node(".//*[local-name()='textbox']")) return false;
  if (local == "rect") return true;
  std::string_view type = Attr(shape, "type").value();
  return local == "shape" && std::string_view(shape.attribute("path").value()).empty() &&
         (type.empty() || type == "#_x0000_t202" || type == "#_x0000_t1");
}

bool IsVmlShape(std::string_view local) {
  return local == "shape" || local == "rect" || local == "roundrect" || local == "oval" ||
         local == "line" || local == "polyline" || local == "arc" || local == "curve" ||
         local == "group";
}

// The drawing part of a SmartArt diagram: the data part names it in its
// extension (dsp:dataModelExt relId), a relationship of the body's part.
std::string DiagramDrawingPart(DocxPackage& package, const Relationships& rels,
                               const pugi::xml_node& relIds) {
  auto data = rels.find(Attr(relIds, "dm").value());
  if (data == rels.end() || data->second.external) return {};
  pugi::xml_document model;
  try {
    if (!package.LoadXml(data->second.target, model)) return {};
  } catch (const RuntimeError&) {
    return {};
  }
  pugi::xml_node ext = model.select_node(".//*[local-name()='dataModelExt']").node();
  auto drawing = rels.find(Attr(ext, "relId").value());
  if (drawing == rels.end() || drawing->second.external) return {};
  return drawing->second.target;
}

// The room a shape's effects take beyond its extent (wp:effectExtent: a
// shadow, the corners of a turned shape), in px, each side capped.
struct EffectRoom {
  long left = 0, top = 0, right = 0, bottom = 0;
  bool Any() const { return left + top + right + bottom > 0; }
};

EffectRoom ReadEffectRoom(const pugi::xml_node& frame, long width, long height) {
  pugi::xml_node e = Child(frame, "effectExtent");
  auto side = [&](const char* name, long extent) {
    return std::min(EmuToPx(AttrLong(e, name)), std::max(extent, 200L));
  };
  return {side("l", width), side("t", height), side("r", width), side("b", height)};
}

// The shape inside a group as large as the shape with its effect room,
// so that the picture shows the shadow instead of cutting it off at the
// shape's edge; "" when the shape says no place of its own.
std::string WithEffectRoom(const pugi::xml_node& wsp, const EffectRoom& room) {
  pugi::xml_node xfrm = Child(Child(wsp, "spPr"), "xfrm");
  pugi::xml_node off = Child(xfrm, "off"), ext = Child(xfrm, "ext");
  if (!ext) return {};
  constexpr auto kEmu = static_cast<long long>(kEmuPerPx);
  long long x = AttrLong(off, "x"), y = AttrLong(off, "y");
  long long cx = AttrLong(ext, "cx") + (room.left + room.right) * kEmu;
  long long cy = AttrLong(ext, "cy") + (room.top + room.bottom) * kEmu;
  auto n = [](long long v) { return std::to_string(v); };
  return "<wpg:wgp xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/"
         "wordprocessingGroup\" xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/"
         "main\"><wpg:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
         n(cx) + "\" cy=\"" + n(cy) + "\"/><a:chOff x=\"" + n(x - room.left * kEmu) + "\" y=\"" +
         n(y - room.top * kEmu) + "\"/><a:chExt cx=\"" + n(cx) + "\" cy=\"" + n(cy) +
         "\"/></a:xfrm></wpg:grpSpPr>" + FragmentXml(wsp) + "</wpg:wgp>";
}

}  // namespace

bool BodyWriter::DrawnObject(const pugi::xml_node& frame, long width, long height,
                             const Placement& place, const Text& alt, const RunFrame& run) {
  pugi::xml_node data = Child(Child(frame, "graphic"), "graphicData");
  pugi::xml_node object = data.first_child();
  std::string_view kind = LocalName(object);
  const draw::Palette& palette = state_.doc.palette;
  auto w = static_cast<double>(width), h = static_cast<double>(height);
  draw::Picture drawn;
  std::string what;
  Placement at = place;
  if (kind == "chart" || kind == "relIds") {
    bool chart = kind == "chart";
    auto rel = rels_->find(Attr(object, "id").value());
    std::string part = !chart ? DiagramDrawingPart(state_.doc.package, *rels_, object)
                       : rel != rels_->end() && !rel->second.external ? rel->second.target
                                                                      : std::string();
    std::string xml;
    try {
      if (!part.empty() && state_.doc.package.HasPart(part)) {
        xml = state_.doc.package.ReadPart(part);
      }
    } catch (const RuntimeError&) {
      xml.clear();  // an unreadable part is drawn as its placeholder
    }
    what = (chart ? "chart " : "SmartArt ") + (part.empty() ? std::string("?") : part);
    draw::Drawer& drawer = state_.pictures.Drawings();
    drawn = chart ? drawer.Chart(xml, palette, w, h) : drawer.Shape(xml, palette, w, h);
  } else if ((kind == "wsp" && !IsTextBoxShape(object)) ||
             ((kind == "wgp" || kind == "wpc") && !HoldsPicture(object))) {
    what = "drawing " + std::string(Attr(Child(frame, "docPr"), "name").value());
    EffectRoom room = ReadEffectRoom(frame, width, height);
    std::string xml = kind == "wsp" && room.Any() ? WithEffectRoom(object, room) : "";
    if (xml.empty()) {
      xml = FragmentXml(object);
    } else {
      width += room.left + room.right;
      height += room.top + room.bottom;
      at.left -= room.left;
      at.top -= room.top;
    }
    drawn = state_.pictures.Drawings().Shape(xml, palette, static_cast<double>(width),
                                             static_cast<double>(height));
  } else {
    return false;
  }
  Text text = alt.empty() ? U(drawn.title) : alt;
  Image(state_.pictures.AddDrawn(drawn, what), width, height, at, text, run);
  return true;
}

bool BodyWriter::DrawnVml(const pugi::xml_node& pict, const RunFrame& run) {
  std::vector<pugi::xml_node> shapes;
  for (pugi::xml_node c : pict.children()) {
    if (!IsVmlShape(LocalName(c))) continue;
    // Pictures and text boxes go the way they always went.
    if (HoldsPicture(c) || IsVmlTextOrRule(c)) return false;
    shapes.push_back(c);
  }
  for (const pugi::xml_node& shape : shapes) {
    Text style = U(shape.attribute("style").value());
    long width = VmlLengthPx(style, u"width"), height = VmlLengthPx(style, u"height");
    Placement place = VmlPlacement(shape);
    draw::Picture drawn =
        state_.pictures.Drawings().Shape(FragmentXml(shape), state_.doc.palette,
                                         static_cast<double>(width), static_cast<double>(height));
    Text alt = U(shape.attribute("alt").value());
    std::string what = "drawing " + std::string(shape.attribute("id").value());
    Image(state_.pictures.AddDrawn(drawn, what), width, height, place, alt, run);
  }
  return !shapes.empty();
}

}  // namespace qp::word
