// Footnotes and endnotes: the reference marks in the text, numbered as the
// document says, and the note lists after the last section.
#include "generate/word/body_writer.h"
#include "generate/word/html_text.h"
#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

pugi::xml_node FindNote(const pugi::xml_document& notes, const std::string& id) {
  for (pugi::xml_node n : notes.document_element().children()) {
    std::string_view local = LocalName(n);
    if ((local == "footnote" || local == "endnote") && id == Attr(n, "id").value()) return n;
  }
  return {};
}

}  // namespace

// The mark carries the class of the document's reference style, whose rule
// says whether it is raised, and a superscript set on its run; nothing else
// of the run (a class of the run's own around it upsets the font sizes the
// revision works out per class).
Text BodyWriter::NoteReference(const std::string& id, bool endnote, bool backLink,
                               const RunFrame& run) {
  NoteNumbering::Mark mark;
  if (backLink) {
    mark = notes_.Current(endnote);
    if (mark.number == 0) return {};
  } else {
    mark = notes_.Refer(id, endnote, state_.doc.settings.document_element(),
                        state_.doc.sections[section_].sectPr, section_);
  }
  const StyleDef* style =
      state_.doc.styleSheet.FindByName(endnote ? u"endnote reference" : u"footnote reference");
  if (style && style->type == 'c') state_.usedStyles.insert(style->id);
  bool raised = run.open.find(u"<sup>") != Text::npos && run.close.find(u"</sup>") != Text::npos;
  Text ref = endnote ? u"edn" : u"ftn";
  Text n = T(std::to_string(mark.number));
  Text kind = endnote ? u"endnote" : u"footnote";
  Text cls = endnote ? u"MsoEndnoteReference" : u"MsoFootnoteReference";
  return u"<a style='mso-" + kind + u"-id:" + ref + n + u"' href=\"#_" + ref +
         (backLink ? u"ref" : u"") + n + u"\" name=\"_" + ref + (backLink ? u"" : u"ref") + n +
         u"\" title=\"\">" + (raised ? u"<sup>" : u"") + u"<span class=" + cls +
         u"><span style='mso-special-character:" + kind + u"'><![if !supportFootnotes]>" +
         EscapeText(mark.label) + u"<![endif]></span></span>" + (raised ? u"</sup>" : u"") +
         u"</a>";
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
    for (std::size_t i = 0; i < notes_.Referred().size(); ++i) {
      const NoteNumbering::Note& referred = notes_.Referred()[i];
      if (referred.endnote != endnote) continue;
      ++number;
      pugi::xml_node note = FindNote(xml, referred.id);
      list += u"<div style='mso-element:" + T(kind) + u"' id=" + T(ref) +
              T(std::to_string(number)) + u">\r\n\r\n";
      const InPart part(*this, endnote ? state_.doc.endnoteRels : state_.doc.footnoteRels);
      notes_.Writing(endnote, {number, referred.label});
      Text body;
      Blocks(note, body);
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
