// The fields open around the run being written (w:fldChar begin, separate,
// end), innermost last. A field's code is never shown; its result is,
// unless the field hides it.
#pragma once

#include <vector>

#include "text/ustring.h"

namespace qp::word {

struct Field {
  Text instruction;
  bool inResult = false;
  bool anchorOpen = false;  // its result is inside a link the field opened
  int checkBox = -1;        // a form check box: 1 checked, 0 not; -1 another field
  bool hidden = false;      // its result does not show (a contents entry's page number)
};

class FieldStack {
 public:
  void Begin(int checkBox);
  // Instruction text goes to the innermost field while it is in its code.
  void AddCode(TextView code);
  // The innermost field; nullptr when none is open.
  Field* Innermost() { return fields_.empty() ? nullptr : &fields_.back(); }
  // Removes the innermost field (one must be open).
  void End() { fields_.pop_back(); }

  // Whether text here is left out: a field around it is in its code or
  // hides its result.
  bool HidesText() const;
  // Whether a field around the innermost one is in its code (a check box
  // there is part of that code).
  bool OuterInCode() const;
  // Whether a field open here is a table of contents.
  bool InContents() const;
  // Marks the links the open fields opened as closed (a paragraph ends
  // them); how many there were.
  int CloseLinks();

 private:
  std::vector<Field> fields_;
};

// The link of a HYPERLINK field's instruction, `HYPERLINK "target" \l
// "anchor"`, escaped for an href; "" when it names neither.
Text HyperlinkHref(TextView instruction);

// The bookmark a PAGEREF or REF field names.
Text FieldTarget(TextView instruction);

}  // namespace qp::word
