// Toget_Style: moves every single-quoted inline style attribute of the page
// into a numbered class rule ("c1", "c2", ...) appended to the style sheet.
// The rules read "body .c1", which the browser ranks above the named
// styles. Classes are numbered by element name first (in order of first appearance),
// then by style text within each name.
#include <unordered_map>
#include <unordered_set>

#include "revise/passes.h"
#include "revise/scan_cache.h"
#include "revise/style_consolidation_steps.h"
#include "text/failure.h"
#include "text/number.h"

namespace qp::revise {

namespace {

constexpr char16_t kStyleOpener[] = u" style='";
constexpr Pos kStyleOpenerLength = 8;
constexpr Pos kSelectorColumn = 11;
// In Word's page an inline style wins over the element's named style, such
// as "p.MsoListParagraph" (one class and one element). "body .c1" has the
// same weight and stands after every named rule in the sheet, so it wins
// the same way; ".c1" alone would lose.
constexpr TextView kClassScope = u"body .";

// Members in order of first insertion; a member equal to an earlier one
// without regard to case is refused.
class FoldedSet {
 public:
  bool Add(TextView key) { return keys_.insert(LowerCase(key)).second; }

 private:
  std::unordered_set<Text> keys_;
};

struct StyleEntry {
  Text element;
  Text attribute;  // from the blank before "style" through the closing "'"
};

struct Gathered {
  std::vector<StyleEntry> entries;
  std::vector<Text> elements;
};

Gathered GatherStyles(const Text& page) {
  Gathered found;
  FoldedSet entryKeys;
  FoldedSet elementKeys;
  LastSeen lastOpen(u"<");
  LastSeen lastClose(u">");
  Pos s = InStr(page, kStyleOpener);
  while (s != 0) {
    const Pos lt = lastOpen.At(page, s);
    if (!(lastClose.At(page, s) < lt && lt < s)) RaiseStructure();  // not inside a tag
    const Pos blank = InStr(lt + 1, page, u" ");
    Text element = Mid(page, lt + 1, blank - lt - 1);
    const Pos gt = InStr(s + kStyleOpenerLength, page, u">");
    const Pos quote = gt == 0 ? 0 : InStrBefore(s + kStyleOpenerLength, page, u"'", gt);
    if (quote == 0) RaiseStructure();  // the value does not close inside the tag
    Text attribute = Mid(page, s, quote - s + 1);
    // The key keeps element and attribute apart by the bar; they are held
    // apart here as well, so a bar inside a style value cannot split them.
    if (entryKeys.Add(element + u"|" + attribute)) found.entries.push_back({element, attribute});
    if (elementKeys.Add(element)) found.elements.push_back(std::move(element));
    s = InStr(gt, page, kStyleOpener);
  }
  return found;
}

// ".c1        {margin:0mm}" with CR LF; the braces of all rules in one column.
Text RuleLine(TextView selector, TextView declarations) {
  Text line(selector);
  if (Len(selector) < kSelectorColumn) {
    line.append(static_cast<std::size_t>(kSelectorColumn - Len(selector)), u' ');
  } else {
    line.append(static_cast<std::size_t>(kSelectorColumn), u' ');
    line += u"\r\n";
  }
  return line + u"{" + Text(declarations) + u"}\r\n";
}

}  // namespace

void Toget_Style(RevisionState& st) {
  Trap trap("Mod_HtmlRev -> Toget_Style");
  try {
    trap.Step(1);
    const Gathered gathered = GatherStyles(st.PageText);

    trap.Step(2);
    std::unordered_map<Text, std::vector<const StyleEntry*>> byElement;
    for (const StyleEntry& entry : gathered.entries) byElement[entry.element].push_back(&entry);
    StyleClasses classes;
    long counter = 0;
    for (const Text& element : gathered.elements) {
      const auto bucket = byElement.find(element);  // the element part must match exactly
      if (bucket == byElement.end()) continue;
      for (const StyleEntry* entry : bucket->second) {
        ++counter;
        const Text name = u"c" + FormatInteger(counter);
        const Text declarations =
            Mid(entry->attribute, kStyleOpenerLength + 1, Len(entry->attribute) - 9);
        st.StyleSheetText += RuleLine(Text(kClassScope) + name, declarations);
        classes.firstOf.emplace(entry->attribute, classes.inOrder.size());
        classes.inOrder.emplace_back(entry->attribute, u" class=\"" + name + u"\"");
      }
    }
    ReplaceStyleAttributes(st.PageText, classes);

    trap.Step(3);
    MergeClassAttributes(st.PageText);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::revise
