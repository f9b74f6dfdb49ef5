#include "generate/word/body_writer.h"

#include "generate/word/html_text.h"
#include "generate/word/list_labels.h"
#include "generate/word/xml_part.h"
#include "text/failure.h"

namespace qp::word {

namespace {

constexpr std::string_view kSectionBreak =
    "<span style='font-size:10.5pt'><br clear=all style='page-break-before:always;"
    "mso-break-type:section-break'>\r\n</span>\r\n\r\n";

pugi::xml_node FindNote(const pugi::xml_document& notes, const std::string& id) {
  for (pugi::xml_node n : notes.document_element().children()) {
    std::string_view local = LocalName(n);
    if ((local == "footnote" || local == "endnote") && id == Attr(n, "id").value()) return n;
  }
  return {};
}

}  // namespace

Text BodyWriter::SectionOpen(std::size_t index) const {
  const SectionLayout& s = state_.doc.sections[index];
  Text tag = u"<div class=Section" + T(std::to_string(index + 1));
  if (s.gridPitch > 0) tag += u" style='layout-grid:" + Pt(s.gridPitch) + u"'";
  return tag + u">\r\n\r\n";
}

Text BodyWriter::Write() {
  // As Word writes it: the document's language and default tab stop; the
  // link colours are those of the head's hyperlink rules.
  Text out = u"<body lang=" + state_.doc.language;
  out += u" link=blue vlink=purple style='tab-interval:" + Pt(state_.doc.tabInterval);
  out += state_.doc.japanese ? u";text-justify-trim:punctuation'>\r\n\r\n" : u"'>\r\n\r\n";
  rels_ = &state_.doc.documentRels;
  std::size_t section = 0;
  Text content = SectionOpen(0);
  pugi::xml_node body = state_.doc.Body();
  for (pugi::xml_node child : body.children()) {
    Block(child, content);
    // A paragraph carrying section properties ends its section.
    bool ends = LocalName(child) == "p" && Child(Child(child, "pPr"), "sectPr");
    if (ends && section + 1 < state_.doc.sections.size() && child.next_sibling()) {
      ++section;
      content += u"</div>\r\n\r\n" + T(kSectionBreak) + SectionOpen(section);
    }
  }
  content += u"</div>\r\n\r\n";
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
  }
}

void BodyWriter::NoteLists(Text& out) {
  for (int pass = 0; pass < 2; ++pass) {
    bool endnote = pass == 1;
    const pugi::xml_document& xml = endnote ? state_.doc.endnotes : state_.doc.footnotes;
    const char* kind = endnote ? "endnote" : "footnote";
    const char* ref = endnote ? "edn" : "ftn";
    Text list;
    int number = 0;
    // Notes referenced from inside notes are appended while the list is written.
    for (std::size_t i = 0; i < notes_.size(); ++i) {
      if (notes_[i].endnote != endnote) continue;
      ++number;
      pugi::xml_node note = FindNote(xml, notes_[i].id);
      list += u"<div style='mso-element:" + T(kind) + u"' id=" + T(ref) +
              T(std::to_string(number)) + u">\r\n\r\n";
      const Relationships* saved = rels_;
      rels_ = endnote ? &state_.doc.endnoteRels : &state_.doc.footnoteRels;
      (endnote ? endnoteNumber_ : noteNumber_) = number;
      Text body;
      Blocks(note, body);
      rels_ = saved;
      list += body + u"</div>\r\n\r\n";
    }
    if (list.empty()) continue;
    out += u"<div style='mso-element:" + T(kind) +
           u"-list'><![if !supportFootnotes]><br clear=all>\r\n\r\n"
           u"<hr align=left size=1 width=\"33%\">\r\n\r\n<![endif]>\r\n\r\n" +
           list + u"</div>\r\n\r\n";
  }
}

}  // namespace qp::word
