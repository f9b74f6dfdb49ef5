#include "generate/word/field_stack.h"

#include "generate/word/html_text.h"

namespace qp::word {

void FieldStack::Begin(int checkBox) {
  fields_.emplace_back();
  fields_.back().checkBox = checkBox;
}

void FieldStack::AddCode(TextView code) {
  if (!fields_.empty() && !fields_.back().inResult) fields_.back().instruction += code;
}

bool FieldStack::HidesText() const {
  for (const Field& f : fields_) {
    if (!f.inResult || f.hidden) return true;
  }
  return false;
}

bool FieldStack::OuterInCode() const {
  for (std::size_t i = 0; i + 1 < fields_.size(); ++i) {
    if (!fields_[i].inResult) return true;
  }
  return false;
}

bool FieldStack::InContents() const {
  for (const Field& f : fields_) {
    if (Trim(f.instruction).rfind(u"TOC", 0) == 0) return true;
  }
  return false;
}

int FieldStack::CloseLinks() {
  int closed = 0;
  for (Field& f : fields_) {
    if (f.anchorOpen) ++closed;
    f.anchorOpen = false;
  }
  return closed;
}

Text HyperlinkHref(TextView instr) {
  Text target, anchor;
  std::size_t q1 = instr.find(u'"');
  std::size_t q2 = q1 == Text::npos ? Text::npos : instr.find(u'"', q1 + 1);
  std::size_t l = instr.find(u"\\l");
  if (q1 != Text::npos && q2 != Text::npos && (l == Text::npos || q1 < l)) {
    target = instr.substr(q1 + 1, q2 - q1 - 1);
  }
  if (l != Text::npos) {
    std::size_t a1 = instr.find(u'"', l);
    std::size_t a2 = a1 == Text::npos ? Text::npos : instr.find(u'"', a1 + 1);
    if (a2 != Text::npos) anchor = instr.substr(a1 + 1, a2 - a1 - 1);
  }
  if (target.empty() && anchor.empty()) return {};
  Text href = EscapeHref(target);
  if (!anchor.empty()) href += u"#" + EscapeHref(anchor);
  return href;
}

Text FieldTarget(TextView instruction) {
  std::size_t start = instruction.find(u' ');
  while (start < instruction.size() && instruction[start] == u' ') ++start;
  std::size_t end = instruction.find(u' ', start);
  return start >= instruction.size() ? Text() : Text(instruction.substr(start, end - start));
}

}  // namespace qp::word
