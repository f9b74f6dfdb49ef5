// The rule filter of the driver over all of Word's rules at once. Checking
// rule by rule against PageText costs a search of the whole page per
// selector and a rewrite of the whole page per kept class; on a page with
// thousands of classes that grows with the square of its length. Here the
// page's class attributes are read once into an index that answers the same
// questions, and the quotes are written in one sweep at the end.
//
// The index answers exactly as the page would, provided every selector is
// made of plain characters (no blank, quote, "=", "<" or ">"): then quoting
// one class can neither create nor hide an attribute of another, and an
// element opening can only stand at a "<". Rules with other selectors go the
// direct way.
#include <unordered_map>

#include "revise/class_check.h"
#include "revise/driver_steps.h"
#include "revise/passes.h"
#include "text/walk.h"

namespace qp::revise {

namespace {

bool IsPlain(char16_t c) {
  return c > u' ' && c != u'<' && c != u'>' && c != u'"' && c != u'\'' && c != u'=' && c != 0x7F;
}

bool IsPlainText(TextView text) {
  for (char16_t c : text) {
    if (!IsPlain(c)) return false;
  }
  return true;
}

// One " class=value" of the page, the value running to a blank or ">".
struct ClassAttribute {
  Pos at = 0;        // position of the blank in front of "class="
  Pos valueEnd = 0;  // position of the blank or ">" after the value
  Text element;      // the plain text between "<" and the attribute, if any
  bool hasElement = false;
  bool endsInBlank = false;
  bool quoted = false;
};

class IndexedClassUse : public ClassUse {
 public:
  explicit IndexedClassUse(const Text& page) : page_(page) {
    ReadTagNames();
    ReadClassAttributes();
  }

  bool HasElement(TextView opening) override {
    const TextView name = opening.substr(1);  // after "<"
    if (name.empty()) return anyTag_;
    for (const Text& tag : tagNames_) {
      if (tag.starts_with(name)) return true;
    }
    return false;
  }

  bool HasClass(TextView elementOpen, TextView name) override {
    const auto found = byName_.find(Text(name));
    if (found == byName_.end()) return false;
    const TextView element = elementOpen.empty() ? elementOpen : elementOpen.substr(1);
    for (std::size_t i : found->second) {
      const ClassAttribute& a = attrs_[i];
      if (a.quoted) continue;
      if (elementOpen.empty() || (a.hasElement && a.element == element)) return true;
    }
    return false;
  }

  // As the two sweeps of the direct form: " class=name " left to right
  // without overlap (an attribute whose leading blank ended the previous
  // match stays bare), then every " class=name>".
  void QuoteClass(TextView name) override {
    const auto found = byName_.find(Text(name));
    if (found == byName_.end()) return;
    Pos matchEnd = 0;
    for (std::size_t i : found->second) {
      ClassAttribute& a = attrs_[i];
      if (a.quoted || !a.endsInBlank || a.at <= matchEnd) continue;
      a.quoted = true;
      matchEnd = a.valueEnd;
    }
    for (std::size_t i : found->second) {
      if (!attrs_[i].endsInBlank) attrs_[i].quoted = true;
    }
  }

  // The page with every quoted value in double quotes.
  Text Apply() const {
    Text out;
    out.reserve(page_.size() + 64);
    Pos from = 1;
    for (const ClassAttribute& a : attrs_) {
      if (!a.quoted) continue;
      const Pos valueStart = a.at + 7;
      out += Mid(page_, from, valueStart - from);
      out += u'"';
      out += Mid(page_, valueStart, a.valueEnd - valueStart);
      out += u'"';
      from = a.valueEnd;
    }
    out += Mid(page_, from);
    return out;
  }

 private:
  void ReadTagNames() {
    for (Pos lt = InStr(page_, u"<"); lt != 0; lt = InStr(lt + 1, page_, u"<")) {
      anyTag_ = true;
      Pos end = lt + 1;
      while (end <= Len(page_) && IsPlain(CharAt(page_, end))) ++end;
      if (end > lt + 1) tagNames_.insert(Mid(page_, lt + 1, end - lt - 1));
    }
  }

  void ReadClassAttributes() {
    for (Pos at = InStr(page_, u" class="); at != 0; at = InStr(at + 1, page_, u" class=")) {
      ClassAttribute a;
      a.at = at;
      Pos end = at + 7;
      while (end <= Len(page_) && CharAt(page_, end) != u' ' && CharAt(page_, end) != u'>') ++end;
      if (end > Len(page_)) continue;  // runs to the end: matches neither form
      a.valueEnd = end;
      a.endsInBlank = CharAt(page_, end) == u' ';
      // the element opening must end right at the attribute
      Pos lt = at - 1;
      while (lt >= 1 && IsPlain(CharAt(page_, lt))) --lt;
      if (lt >= 1 && CharAt(page_, lt) == u'<') {
        a.hasElement = true;
        a.element = Mid(page_, lt + 1, at - lt - 1);
      }
      byName_[Mid(page_, at + 7, end - at - 7)].push_back(attrs_.size());
      attrs_.push_back(std::move(a));
    }
  }

  const Text& page_;
  bool anyTag_ = false;
  std::unordered_set<Text> tagNames_;
  std::vector<ClassAttribute> attrs_;
  std::unordered_map<Text, std::vector<std::size_t>> byName_;
};

bool SelectorsArePlain(const std::vector<Text>& rules) {
  for (const Text& piece : rules) {
    const Text rule = Trim(piece);
    if (!IsCheckedRule(rule)) continue;
    for (const Text& selector : RuleSelectors(rule)) {
      if (InStr(selector, u":") != 0) continue;  // never looked up
      if (!IsPlainText(selector)) return false;
    }
  }
  return true;
}

}  // namespace

void KeepUsedRulesDirect(RevisionState& st, const std::vector<Text>& rules) {
  for (const Text& piece : rules) {
    const Text rule = Trim(piece);
    if (IsCheckedRule(rule)) st.StyleSheetText += Check_Class(st, rule);
  }
}

void KeepUsedRules(RevisionState& st, const std::vector<Text>& rules) {
  if (!SelectorsArePlain(rules)) return KeepUsedRulesDirect(st, rules);
  IndexedClassUse use(st.PageText);
  for (const Text& piece : rules) {
    const Text rule = Trim(piece);
    if (IsCheckedRule(rule)) st.StyleSheetText += CheckClassWith(st, rule, use);
  }
  st.PageText = use.Apply();
}

}  // namespace qp::revise
