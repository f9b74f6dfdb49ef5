#include "generate/word/body_writer.h"

#include <utility>

#include "generate/word/html_text.h"
#include "generate/word/xml_part.h"
#include "text/failure.h"

namespace qp::word {

namespace {

constexpr std::string_view kSectionBreak =
    "<span style='font-size:10.5pt'><br clear=all style='page-break-before:always;"
    "mso-break-type:section-break'>\r\n</span>\r\n\r\n";

}  // namespace

Text BodyWriter::SectionOpen(std::size_t index) const {
  const SectionLayout& s = state_.doc.sections[index];
  Text tag = u"<div class=Section" + T(std::to_string(index + 1));
  if (s.gridPitch > 0) tag += u" style='layout-grid:" + Pt(s.gridPitch) + u"'";
  return tag + u">\r\n\r\n";
}

// w:background as Word's page gives it: bgcolor for its colour, and a
// picture fill (v:fill r:id, tiled or stretched) as the body's background
// picture. Both become the body rule's background in the revision, which
// reads a background value up to the first blank: a stem with a blank
// keeps the colour alone.
Text BodyWriter::PageBackground() {
  pugi::xml_node background = Child(state_.doc.document.document_element(), "background");
  Text attrs;
  std::string color = Attr(background, "color").value();
  if (color.size() == 6 && color.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
    attrs += u"bgcolor=\"#" + U(color) + u"\" ";
  }
  pugi::xml_node fill = background.select_node(".//*[local-name()='fill']").node();
  std::string relId = Attr(fill, "id").value();
  auto rel = state_.doc.documentRels.find(relId);
  if (!relId.empty() && rel != state_.doc.documentRels.end() && !rel->second.external &&
      state_.stem.find(u' ') == Text::npos) {
    Text file = state_.pictures.Add(rel->second.target, 0, 0);
    if (!file.empty()) attrs += u"background=\"" + state_.stem + u".files/" + file + u"\" ";
  }
  return attrs;
}

Text BodyWriter::Write() {
  // As Word writes it: the document's language and default tab stop; the
  // link colours are those of the head's hyperlink rules.
  Text out = u"<body " + PageBackground() + u"lang=" + state_.doc.language;
  out += u" link=blue vlink=purple style='tab-interval:" + Pt(state_.doc.tabInterval);
  out += state_.doc.japanese ? u";text-justify-trim:punctuation'>\r\n\r\n" : u"'>\r\n\r\n";
  const InPart part(*this, state_.doc.documentRels);
  section_ = 0;
  Text content = SectionOpen(0);
  pugi::xml_node body = state_.doc.Body();
  for (pugi::xml_node child : body.children()) {
    Block(child, content);
    // A paragraph carrying section properties ends its section.
    bool ends = LocalName(child) == "p" && Child(Child(child, "pPr"), "sectPr");
    if (ends && section_ + 1 < state_.doc.sections.size() && child.next_sibling()) {
      ++section_;
      content += u"</div>\r\n\r\n" + T(kSectionBreak) + SectionOpen(section_);
    }
  }
  content += std::exchange(pendingAnchors_, {}) + u"</div>\r\n\r\n";
  NoteLists(content);
  out += FoldLines(content);
  return out + u"</body>\r\n\r\n</html>\r\n";
}

BodyWriter::Nesting::Nesting(int& depth) : depth_(depth) {
  if (++depth_ > kMaxDepth) {
    --depth_;
    Raise(err::kFileCorrupt, T("The document's tables or boxes are nested too deeply."));
  }
}

void BodyWriter::Blocks(const pugi::xml_node& parent, Text& out) {
  const Nesting level(depth_);
  for (pugi::xml_node child : parent.children()) Block(child, out);
}

void BodyWriter::Block(const pugi::xml_node& node, Text& out) {
  std::string_view local = LocalName(node);
  if (local == "p") {
    Paragraph(node, out);
  } else if (local == "tbl") {
    Table(node, out);
  } else if (local == "sdt") {
    Blocks(Child(node, "sdtContent"), out);
  } else if (local == "customXml" || local == "ins" || local == "moveTo" || local == "smartTag") {
    Blocks(node, out);
  } else if (local == "AlternateContent") {
    pugi::xml_node choice = Child(node, "Choice");
    Blocks(choice ? choice : Child(node, "Fallback"), out);
  } else if (local == "bookmarkStart") {
    // A bookmark between paragraphs marks the next one.
    pendingAnchors_ += BookmarkAnchor(node);
  }
}

}  // namespace qp::word
