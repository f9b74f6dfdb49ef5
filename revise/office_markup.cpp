// Del_Xml_State: strips from the source text everything that only Office
// applications read. Every step deletes by marking and removes its marks when
// it ends, so later steps see a text without NUL characters.
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
    trap.Step(1);
    DropHtmlAttributes(text);
    Compact(text);

    trap.Step(2);
    for (const Text& meta : Split(kOfficeMeta, u"|")) {
      MarkSpans(text, 1, meta, u">", 2, Compare::Binary);
    }
    Compact(text);

    trap.Step(3);
    MarkSpans(text, 1, u"<!--[", u"]-->", 0, Compare::Binary);
    Compact(text);

    trap.Step(4);
    MarkSpans(text, 1, u"<![", u"]>", 0, Compare::Binary);
    Compact(text);

    trap.Step(5);
    for (const Text& rel : Split(kOfficeLinks, u"|")) {
      MarkSpans(text, 1, u"<link rel=" + rel, u">", 2, Compare::TextCompare);
    }
    Compact(text);

    trap.Step(6);
    for (const Text& opening : Split(kOfficeTags, u"|")) {
      MarkSpans(text, 1, opening, u">", 0, Compare::Binary);
    }
    Compact(text);

    trap.Step(7);
    MarkVmlAttributes(text);
    Compact(text);

    trap.Step(8);
    Del_Std_Property(st, u"mso-");
    Compact(text);

    trap.Step(9);
    for (const Text& property : Split(kOfficeProperties, u"|")) {
      if (!property.empty()) Del_Std_Property(st, property);
    }
    Compact(text);

    trap.Step(10);
    MarkSpans(text, 1, u"<param", u">", 2, Compare::Binary);
    Compact(text);

    trap.Step(11);
    MarkDivIds(text);
    Compact(text);

    trap.Step(12);
    // The comment that wraps the style sheet stands before the body and stays.
    const Pos body = InStr(text, u"<body");
    if (body == 0 && !text.empty()) Raise(err::kInvalidArgument, u"no <body in the text");
    if (body != 0) MarkSpans(text, body, u"<!--", u">", 2, Compare::Binary);
    Compact(text);

    trap.Step(13);
    for (const Text& attribute : Split(kExcelAttributes, u"|")) {
      MarkExcelAttribute(text, attribute);
    }
    Compact(text);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::revise
