#include "generate/word/head_writer.h"

#include <set>

#include "generate/word/html_text.h"
#include "generate/word/line_spacing.h"
#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

// The style rule of one paragraph or character style: its properties
// resolved through its ancestors.
Text StyleRule(const ExportState& state, const StyleDef& style, const StyleFonts& fonts,
               std::set<Text>& fontNames) {
  const DocxContent& doc = state.doc;
  Declarations d;
  bool isDefault = doc.styleSheet.DefaultParagraph() == &style;
  RunLook look;
  Indent indent;
  LineRule lines;
  if (style.type == 'p') {
    ParagraphDeclarations(doc.styleSheet.DefaultParaProps(), d);
    indent.Overlay(doc.styleSheet.DefaultParaProps());
    lines.Overlay(doc.styleSheet.DefaultParaProps());
    Declarations ignored;
    RunDeclarations(doc.styleSheet.DefaultRunProps(), ignored, look);
  }
  for (const StyleDef* s : doc.styleSheet.Chain(style.id)) {
    if (style.type == 'p') {
      ParagraphDeclarations(s->pPr, d);
      indent.Overlay(s->pPr);
      lines.Overlay(s->pPr);
    }
    RunDeclarations(s->rPr, d, look);
  }
  if (style.type == 'p') {
    Font font = ResolveStyleFont(doc.Fonts(), style.id, fonts);
    indent.Write(font.Size, d);
    // Without the section's grid, which paragraphs add for themselves.
    Text lineHeight = LineHeightValue(lines, font.Size, 0, MinLineFactor(doc));
    if (!lineHeight.empty()) d.Set("line-height", lineHeight);
    d.Set("font-size", Pt(font.Size));
    if (!font.Name.empty()) {
      d.Set("font-family", FontFamilyValue(doc.fontTable, font.Name));
      fontNames.insert(CleanFontName(font.Name));
    }
    if (!font.NameFarEast.empty()) {
      d.Set("mso-fareast-font-family", FontValue(font.NameFarEast));
      fontNames.insert(CleanFontName(font.NameFarEast));
    }
    if (style.headingLevel && look.bold < 0) look.bold = 0;
  } else {
    RunFonts runFonts;
    for (const StyleDef* s : doc.styleSheet.Chain(style.id)) {
      ApplyRunFonts(s->rPr, doc.themeFonts, runFonts);
    }
    if (!runFonts.ascii.empty()) {
      d.Set("font-family", FontFamilyValue(doc.fontTable, runFonts.ascii));
    }
    if (!runFonts.eastAsia.empty()) {
      d.Set("mso-fareast-font-family", FontValue(runFonts.eastAsia));
    }
  }
  LookDeclarations(look, d);
  Declarations rule;
  if (isDefault) rule.Set("mso-style-parent", u"\"\"");
  if (style.type == 'p') rule.Append(StyleMargins(d));
  rule.Append(d);
  Text selector;
  if (style.headingLevel) {
    selector = u"h" + T(std::to_string(style.headingLevel));
  } else if (style.type == 'p') {
    selector = u"p." + style.className + u", li." + style.className + u", div." + style.className;
  } else {
    selector = u"span." + style.className;
  }
  if (!isDefault) {
    Text name;
    for (char16_t c : style.name) {
      if (Text(u"{};<>\"'\\").find(c) == Text::npos && c >= 0x20) name += c;
    }
    rule.Set("mso-style-name", u"\"" + name + u"\"");
  }
  return selector + u"\r\n" + rule.Block();
}

Text StyleRules(const ExportState& state, const StyleFonts& fonts, std::set<Text>& fontNames) {
  Text out;
  std::set<std::string> written;
  const StyleDef* normal = state.doc.styleSheet.DefaultParagraph();
  // The default paragraph style comes first, the others in the file's order.
  if (normal) {
    out += u" " + StyleRule(state, *normal, fonts, fontNames);
    written.insert(normal->id);
  }
  for (const StyleDef& s : state.doc.styleSheet.All()) {
    if (written.count(s.id) || !state.usedStyles.count(s.id)) continue;
    if (s.type != 'p' && s.type != 'c') continue;
    out += StyleRule(state, s, fonts, fontNames);
  }
  out +=
      u"a:link, span.MsoHyperlink\r\n\t{color:blue;\r\n\ttext-decoration:underline;\r\n"
      u"\ttext-underline:single;}\r\n"
      u"a:visited, span.MsoHyperlinkFollowed\r\n\t{color:purple;\r\n"
      u"\ttext-decoration:underline;\r\n\ttext-underline:single;}\r\n";
  return out;
}

Text PageRules(const DocxContent& doc) {
  Text out =
      u" /* Page Definitions */\r\n @page\r\n\t{mso-page-border-surround-header:no;\r\n"
      u"\tmso-page-border-surround-footer:no;}\r\n";
  for (std::size_t i = 0; i < doc.sections.size(); ++i) {
    const SectionLayout& s = doc.sections[i];
    Text name = u"Section" + T(std::to_string(i + 1));
    Declarations d;
    d.Set("size", Pt(s.page.PageWidth) + u" " + Pt(s.pageHeight));
    d.Set("margin", Pt(s.top) + u" " + Pt(s.page.RightMargin) + u" " + Pt(s.bottom) + u" " +
                        Pt(s.page.LeftMargin));
    d.Set("mso-header-margin", Pt(s.header));
    d.Set("mso-footer-margin", Pt(s.footer));
    if (s.page.Gutter > 0) d.Set("mso-gutter-margin", Pt(s.page.Gutter));
    d.Set("mso-paper-source", u"0");
    if (s.gridPitch > 0) d.Set("layout-grid", Pt(s.gridPitch));
    out += u"@page " + name + u"\r\n" + d.Block() + u"div." + name + u"\r\n\t{page:" + name +
           u";}\r\n";
  }
  return out;
}

Text Property(std::string_view name, TextView value) {
  if (value.empty()) return {};
  Text tag = T(name);
  return u"  <o:" + tag + u">" + EscapeText(value) + u"</o:" + tag + u">\r\n";
}

}  // namespace

Text WriteHead(const ExportState& state, const StyleFonts& fonts, TextView charset) {
  const DocxContent& doc = state.doc;
  Text out =
      u"<html xmlns:v=\"urn:schemas-microsoft-com:vml\"\r\n"
      u"xmlns:o=\"urn:schemas-microsoft-com:office:office\"\r\n"
      u"xmlns:w=\"urn:schemas-microsoft-com:office:word\"\r\n"
      u"xmlns=\"http://www.w3.org/TR/REC-html40\">\r\n\r\n<head>\r\n"
      u"<meta http-equiv=Content-Type content=\"text/html; charset=" +
      Text(charset) +
      u"\">\r\n<meta name=ProgId content=Word.Document>\r\n"
      u"<meta name=Generator content=\"Quillpage engine\">\r\n"
      u"<meta name=Originator content=\"Quillpage engine\">\r\n";
  if (!state.pictures.Files().empty()) {
    out += u"<link rel=File-List href=\"" + state.stem + u".files/filelist.xml\">\r\n";
  }
  out += u"<title>" + EscapeText(doc.title) + u"</title>\r\n";
  out += u"<!--[if gte mso 9]><xml>\r\n <o:DocumentProperties>\r\n" + Property("Title", doc.title) +
         Property("Description", doc.description) + Property("Keywords", doc.keywords) +
         Property("Author", doc.author) + u" </o:DocumentProperties>\r\n</xml><![endif]-->\r\n";

  std::set<Text> fontNames;
  Text styles = StyleRules(state, fonts, fontNames);
  Text block = u" /* Font Definitions */\r\n";
  for (const Text& name : fontNames) {
    block += u"@font-face\r\n\t{font-family:" + FontValue(name) + u";}\r\n";
  }
  block += u" /* Style Definitions */\r\n" + styles + PageRules(doc);
  if (charset == u"shift_jis") block = WithoutUnencodable(block);
  out += u"<style>\r\n<!--\r\n" + block + u"-->\r\n</style>\r\n";
  out += u"</head>\r\n\r\n";
  return out;
}

}  // namespace qp::word
