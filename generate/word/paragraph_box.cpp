#include "generate/word/paragraph_box.h"

#include <string>
#include <string_view>

#include "generate/word/docx_content.h"
#include "generate/word/line_spacing.h"
#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

std::string StyleIdOf(const DocxContent& doc, const pugi::xml_node& p) {
  const StyleDef* s = doc.styleSheet.Find(ChildVal(Child(p, "pPr"), "pStyle"));
  if (!s || s->type != 'p') s = doc.styleSheet.DefaultParagraph();
  return s ? s->id : std::string();
}

// The paragraph before or after `p`, passing over the bookmarks and other
// marks between them; null when a table or the end of the container comes
// first.
pugi::xml_node Neighbour(const pugi::xml_node& p, bool before) {
  for (pugi::xml_node n = before ? p.previous_sibling() : p.next_sibling(); n;
       n = before ? n.previous_sibling() : n.next_sibling()) {
    std::string_view local = LocalName(n);
    if (local == "p") return n;
    if (local == "tbl" || local == "sdt" || local == "sectPr") break;
  }
  return {};
}

// A property of the paragraph through its layers: the paragraph's own
// pPr, else the nearest style of its chain, else the document defaults.
template <typename Read>
void ThroughLayers(const DocxContent& doc, const pugi::xml_node& p, Read read) {
  read(doc.styleSheet.DefaultParaProps());
  const StyleDef* style = doc.styleSheet.Find(StyleIdOf(doc, p));
  if (style) {
    for (const StyleDef* s : doc.styleSheet.Chain(style->id)) read(s->pPr);
  }
  read(Child(p, "pPr"));
}

// Word's "don't add space between paragraphs of the same style": the
// paragraph's space before goes when the paragraph before it has its style,
// its space after when the one after it does.
void ContextualSpacing(const DocxContent& doc, const pugi::xml_node& p, const StyleDef* style,
                       Declarations& out) {
  int on = -1;
  ThroughLayers(doc, p, [&](const pugi::xml_node& pPr) {
    int own = Toggle(pPr, "contextualSpacing");
    if (own >= 0) on = own;
  });
  if (on != 1 || !style) return;
  pugi::xml_node before = Neighbour(p, true), after = Neighbour(p, false);
  if (before && StyleIdOf(doc, before) == style->id) out.Set("margin-top", u"0pt");
  if (after && StyleIdOf(doc, after) == style->id) out.Set("margin-bottom", u"0pt");
}

// The sides of a paragraph's border, each from the layer nearest the
// paragraph that gives it.
struct Borders {
  pugi::xml_node side[5];  // top, left, bottom, right, between
  bool empty() const {
    for (const pugi::xml_node& s : side) {
      if (!BorderValue(s).empty()) return false;
    }
    return true;
  }
  bool operator==(const Borders& other) const {
    for (int i = 0; i < 5; ++i) {
      if (BorderValue(side[i]) != BorderValue(other.side[i]) ||
          AttrLong(side[i], "space") != AttrLong(other.side[i], "space")) {
        return false;
      }
    }
    return true;
  }
};

constexpr std::string_view kSides[5] = {"top", "left", "bottom", "right", "between"};

Borders BordersOf(const DocxContent& doc, const pugi::xml_node& p) {
  Borders b;
  ThroughLayers(doc, p, [&](const pugi::xml_node& pPr) {
    pugi::xml_node pBdr = Child(pPr, "pBdr");
    for (int i = 0; i < 5; ++i) {
      if (pugi::xml_node s = Child(pBdr, kSides[i])) b.side[i] = s;
    }
  });
  return b;
}

// The paragraph's space before or after in points, as its layers give it
// and as the declarations so far leave it.
double Space(const DocxContent& doc, const pugi::xml_node& p, std::string_view attribute,
             std::string_view property, const Declarations& out) {
  if (out.Get(property) == u"0pt") return 0;
  long twips = 0;
  ThroughLayers(doc, p, [&](const pugi::xml_node& pPr) {
    pugi::xml_node sp = Child(pPr, "spacing");
    if (Attr(sp, attribute)) twips = AttrLong(sp, attribute);
  });
  return static_cast<double>(twips) / 20.0;
}

// Neighbours with the same borders make one box: the top border on the
// first, the bottom border on the last, the between border in between, and
// the space between them inside the box, so that its sides run on.
void BorderBox(const DocxContent& doc, const pugi::xml_node& p, Declarations& out) {
  Borders own = BordersOf(doc, p);
  if (own.empty()) return;
  pugi::xml_node before = Neighbour(p, true), after = Neighbour(p, false);
  bool joinedAbove = before && BordersOf(doc, before) == own;
  bool joinedBelow = after && BordersOf(doc, after) == own;
  static constexpr std::string_view kBorder[4] = {"border-top", "border-left", "border-bottom",
                                                  "border-right"};
  static constexpr std::string_view kPadding[4] = {"padding-top", "padding-left", "padding-bottom",
                                                   "padding-right"};
  for (int i = 0; i < 4; ++i) {
    pugi::xml_node side = own.side[i];
    double padding = 0;
    if (i == 0 && joinedAbove) {
      side = {};
      padding = Space(doc, p, "before", "margin-top", out);
      out.Set("margin-top", u"0pt");
    } else if (i == 2 && joinedBelow) {
      side = own.side[4];
      padding = Space(doc, p, "after", "margin-bottom", out);
      out.Set("margin-bottom", u"0pt");
    }
    Text value = BorderValue(side);
    if (!value.empty()) {
      out.Set(kBorder[i], value);
      padding += static_cast<double>(AttrLong(side, "space"));
    }
    if (padding > 0) out.Set(kPadding[i], Pt(padding));
  }
}

}  // namespace

void ParagraphBoxDeclarations(const DocxContent& doc, const pugi::xml_node& p,
                              const StyleDef* style, double gridPitch, Declarations& out) {
  Text lineHeight = ParagraphLineHeight(doc, p, style, gridPitch);
  if (!lineHeight.empty()) out.Set("line-height", lineHeight);
  ContextualSpacing(doc, p, style, out);
  BorderBox(doc, p, out);
}

}  // namespace qp::word
