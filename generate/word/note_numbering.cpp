#include "generate/word/note_numbering.h"

#include "generate/word/list_labels.h"
#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

struct NoteFormat {
  std::string format;
  long start = 1;
  bool eachSection = false;
};

// w:footnotePr or w:endnotePr over what the numbering was before.
void ReadNoteFormat(const pugi::xml_node& notePr, NoteFormat& numbering) {
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

NoteNumbering::Mark NoteNumbering::Refer(const std::string& id, bool endnote,
                                         const pugi::xml_node& settings,
                                         const pugi::xml_node& sectPr, std::size_t section) {
  Mark mark;
  for (const Note& n : notes_) mark.number += n.endnote == endnote ? 1 : 0;
  ++mark.number;
  const char* local = endnote ? "endnotePr" : "footnotePr";
  NoteFormat numbering{endnote ? "lowerRoman" : "decimal"};
  ReadNoteFormat(Child(settings, local), numbering);
  ReadNoteFormat(Child(sectPr, local), numbering);
  Count& counted = endnote ? endnotes_ : footnotes_;
  if (numbering.eachSection && counted.section != section) counted.count = 0;
  counted.section = section;
  mark.label = FormatListNumber(numbering.start + counted.count++, numbering.format);
  notes_.push_back({id, endnote, mark.label});
  return mark;
}

}  // namespace qp::word
