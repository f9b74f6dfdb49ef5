// The marks of footnotes and endnotes: each reference in the text is the
// next note of its kind in the note list, with the label the document's
// note numbering gives it; the note being written in the list answers the
// mark that refers back to the text.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "text/ustring.h"

namespace qp::word {

class NoteNumbering {
 public:
  struct Note {
    std::string id;
    bool endnote = false;
    Text label;  // the mark as the document's note numbering shows it
  };
  struct Mark {
    int number = 0;  // its place in the list of its kind, from 1; 0 for none
    Text label;
  };

  // A reference to note `id` in section `section`: the numbering of
  // `settings` (the settings part's root) as `sectPr` changes it.
  Mark Refer(const std::string& id, bool endnote, const pugi::xml_node& settings,
             const pugi::xml_node& sectPr, std::size_t section);
  // The notes referred to so far, in the order of their references.
  const std::vector<Note>& Referred() const { return notes_; }

  // The note of its kind whose text is being written, and its mark.
  void Writing(bool endnote, Mark mark) { (endnote ? endnote_ : footnote_) = std::move(mark); }
  const Mark& Current(bool endnote) const { return endnote ? endnote_ : footnote_; }

 private:
  struct Count {
    long count = 0;
    std::size_t section = 0;
  };
  std::vector<Note> notes_;
  Count footnotes_, endnotes_;  // for the labels, restarted where the numbering says
  Mark footnote_, endnote_;     // being written
};

}  // namespace qp::word
