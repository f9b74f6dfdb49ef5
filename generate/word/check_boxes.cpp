// Legacy form check boxes (a FORMCHECKBOX field) have no result text: Word
// draws the box. The page shows the box as a character.
#include "generate/word/body_writer.h"
#include "generate/word/xml_part.h"

namespace qp::word {

int BodyWriter::CheckBoxState(const pugi::xml_node& checkBox) {
  if (!checkBox) return -1;
  // w:checked overrides the default; present without a value it means checked.
  if (Child(checkBox, "checked")) return Toggle(checkBox, "checked");
  return Toggle(checkBox, "default") == 1 ? 1 : 0;
}

void BodyWriter::CheckBox(const Field& field, std::vector<InlinePiece>& pieces) {
  if (field.checkBox < 0 || Trim(field.instruction).rfind(u"FORMCHECKBOX", 0) != 0) return;
  // A check box inside another field's code is part of that code.
  if (fields_.OuterInCode()) return;
  pieces.push_back({{}, field.checkBox == 1 ? u"☒" : u"☐", {}, true});
}

}  // namespace qp::word
