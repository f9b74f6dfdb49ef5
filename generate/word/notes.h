// What the engine has to tell the user about a page beyond the page itself:
// a picture left out, a drawing put in as a placeholder, advice on a missing
// converter. The engine adds them where it decides; the run hands them to
// its user interface, which shows them together at the end of the run.
#pragma once

#include <unordered_set>
#include <utility>
#include <vector>

#include "text/ustring.h"

namespace qp::word {

class Notes {
 public:
  // One line, in the words the user reads; a note already held is not
  // added again (a document with thousands of missing pictures costs one
  // look-up per picture, not a walk over the notes).
  void Add(Text note) {
    if (!held_.insert(note).second) return;
    notes_.push_back(std::move(note));
  }
  const std::vector<Text>& List() const { return notes_; }
  // The notes so far, leaving none behind.
  std::vector<Text> Take() {
    held_.clear();
    return std::exchange(notes_, {});
  }

 private:
  std::vector<Text> notes_;
  std::unordered_set<Text> held_;
};

}  // namespace qp::word
