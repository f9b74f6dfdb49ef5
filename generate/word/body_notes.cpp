// Footnotes and endnotes: the reference marks in the text, numbered as the
// document says, and the note lists after the last section.
#include "generate/word/body_writer.h"
#include "generate/word/html_text.h"
#include "generate/word/list_labels.h"
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

struct NoteNumbering {
  std::string format;
  long start = 1;
  bool eachSection = false;
};

// w:footnotePr or w:endnotePr over what the numbering was before.
void ReadNoteNumbering(const pugi::xml_node& notePr, NoteNumbering& numbering) {
  std::string format = ChildVal(notePr, "numFmt");
  if (!format.empty()) numbering.format = format;
  if (pugi::xml_node start = Child(notePr, "numStart")) {
    numbering.start = AttrLong(start, "val", 1);
  }
  // A page in a browser has no pages to restart on: "eachPage" counts on.
  std::string restart = ChildVal(notePr, "numRestart");
  if (!restart.empty()) numbering.eachSection = restart == "eachSect";
}

}  // namespace

Text BodyWriter::NextNoteLabel(bool endnote) {
  const char* local = endnote ? "endnotePr" : "footnotePr";
  NoteNumbering numbering{endnote ? "lowerRoman" : "decimal"};
  ReadNoteNumbering(Child(state_.doc.settings.document_element(), local), numbering);
  ReadNoteNumbering(Child(state_.doc.sections[section_].sectPr, local), numbering);
  NoteCount& counted = endnote ? endnoteCount_ : footnoteCount_;
  if (numbering.eachSection && counted.section != section_) counted.count = 0;
  counted.section = section_;
  return FormatListNumber(numbering.start + counted.count++, numbering.format);
}

// The mark carries the class of the document's reference style, whose rule
// says whether it is raised, and a superscript set on its run; nothing else
// of the run (a class of the run's own around it upsets the font sizes the
// revision works out per class).
Text BodyWriter::NoteReference(const std::string& id, bool endnote, bool backLink, const Text& open,
                               const Text& close) {
  int number = 0;
  Text label;
  if (backLink) {
    number = endnote ? endnoteNumber_ : noteNumber_;
    if (number == 0) return {};
    label = endnote ? endnoteLabel_ : noteLabel_;
  } else {
    for (const Note& n : notes_) number += n.endnote == endnote ? 1 : 0;
    ++number;
    label = NextNoteLabel(endnote);
    notes_.push_back({id, endnote, label});
  }
  const StyleDef* style =
      state_.doc.styleSheet.FindByName(endnote ? u"endnote reference" : u"footnote reference");
  if (style && style->type == 'c') state_.usedStyles.insert(style->id);
  bool raised = open.find(u"<sup>") != Text::npos && close.find(u"</sup>") != Text::npos;
  Text ref = endnote ? u"edn" : u"ftn";
  Text n = T(std::to_string(number));
  Text kind = endnote ? u"endnote" : u"footnote";
  Text cls = endnote ? u"MsoEndnoteReference" : u"MsoFootnoteReference";
  return u"<a style='mso-" + kind + u"-id:" + ref + n + u"' href=\"#_" + ref +
         (backLink ? u"ref" : u"") + n + u"\" name=\"_" + ref + (backLink ? u"" : u"ref") + n +
         u"\" title=\"\">" + (raised ? u"<sup>" : u"") + u"<span class=" + cls +
         u"><span style='mso-special-character:" + kind + u"'><![if !supportFootnotes]>" +
         EscapeText(label) + u"<![endif]></span></span>" + (raised ? u"</sup>" : u"") + u"</a>";
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
      (endnote ? endnoteLabel_ : noteLabel_) = notes_[i].label;
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
