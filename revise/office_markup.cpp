// Del_Xml_State: strips from the source text everything that only Office
// applications read. Every step deletes by marking and removes its marks when
// it ends, so later steps see a text without NUL characters.
#include <vector>

#include "revise/office_markup_steps.h"
#include "revise/passes.h"
#include "text/failure.h"

namespace qp::revise {

namespace {

// Meta elements Word writes for itself.
constexpr char16_t kOfficeMeta[] =
    u"<meta name=ProgId|<meta name=Generator|<meta name=Originator|"
    u"<meta http-equiv=Content-Type";
// Link relations of the supporting files; each follows "<link rel=".
constexpr char16_t kOfficeLinks[] =
    u"file-list|edit-time-data|ole-object-data|original-file|preview|themeData|"
    u"colorSchemeMapping|dataStoreItem|plchdr";
constexpr char16_t kOfficeTags[] = u"<o:|</o:|<v:|</v:|<w:|</w:|<x:|</x:|<p:|</p:";
// "anguage" without its l, so it catches every name that contains language.
// The trailing bar gives an empty last entry, which is skipped.
constexpr char16_t kOfficeProperties[] =
    u"text-justify|tab-stops|tab-interval|anguage|text-underline|text-effect|"
    u"text-line-through|font-color|horiz-align|list-image-1|list-image-2|list-image-3|"
    u"separator-image|table-border-color-dark|table-border-color-light|vert-align|"
    u"vnd.ms-excel.numberformat|page-break-after|page-break-before|layout-grid-mode|";
constexpr char16_t kExcelAttributes[] = u" x:publishsource| x:str| x:num";

// "<html ...>" becomes "<html>".
void DropHtmlAttributes(Text& text) {
  const Pos a = InStr(text, u"<html");
  if (a == 0) return;
  const Pos e = InStr(a + 5, text, u">");
  if (e > a + 5) MarkRange(text, a + 5, e - 1);
}

}  // namespace

void Del_Xml_State(RevisionState& st) {
  Trap trap("Mod_HtmlRev -> Del_Xml_State");
  try {
    Text& text = st.SourceText;
    // Markers of one list are found in one sweep over the text; each step
    // removes its marks only when it made any (after the first, which also
    // clears any NUL the text came with).
    const auto sweep = [&text](std::vector<Occurrences> markers, Pos extra, TextView closing) {
      bool marked = false;
      for (Occurrences& opening : markers) marked |= MarkSpans(text, 1, opening, closing, extra);
      return marked;
    };
    trap.Step(1);
    DropHtmlAttributes(text);
    Compact(text);

    trap.Step(2);
    if (sweep(Occurrences::Record(text, Split(kOfficeMeta, u"|")), 2, u">")) Compact(text);

    trap.Step(3);
    if (MarkSpans(text, 1, u"<!--[", u"]-->", 0)) Compact(text);

    trap.Step(4);
    if (MarkSpans(text, 1, u"<![", u"]>", 0)) Compact(text);

    trap.Step(5);
    std::vector<Text> links;
    for (const Text& rel : Split(kOfficeLinks, u"|")) links.push_back(u"<link rel=" + rel);
    if (sweep(Occurrences::Record(text, links, Compare::TextCompare), 2, u">")) Compact(text);

    trap.Step(6);
    if (sweep(Occurrences::Record(text, Split(kOfficeTags, u"|")), 0, u">")) Compact(text);

    trap.Step(7);
    if (MarkVmlAttributes(text)) Compact(text);

    trap.Step(8);
    Occurrences mso(u"mso-");
    if (DelStdProperty(st, mso, TagMarks(text))) Compact(text);

    trap.Step(9);
    std::vector<Text> properties;
    for (Text& property : Split(kOfficeProperties, u"|")) {
      if (!property.empty()) properties.push_back(std::move(property));
    }
    bool marked = false;
    const TagMarks tags(text);
    for (Occurrences& property : Occurrences::Record(text, properties)) {
      marked |= DelStdProperty(st, property, tags);
    }
    if (marked) Compact(text);

    trap.Step(10);
    if (MarkSpans(text, 1, u"<param", u">", 2)) Compact(text);

    trap.Step(11);
    if (MarkDivIds(text)) Compact(text);

    trap.Step(12);
    // The comment that wraps the style sheet stands before the body and stays.
    const Pos body = InStr(text, u"<body");
    if (body == 0 && !text.empty()) Raise(err::kInvalidArgument, u"no <body in the text");
    if (body != 0 && MarkSpans(text, body, u"<!--", u">", 2)) Compact(text);

    trap.Step(13);
    marked = false;
    for (const Text& attribute : Split(kExcelAttributes, u"|")) {
      marked |= MarkExcelAttribute(text, attribute);
    }
    if (marked) Compact(text);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::revise
