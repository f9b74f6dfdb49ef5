#include "generate/word/docx_content.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "generate/word/xml_part.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::word {

namespace {

double TwipsAttr(const pugi::xml_node& node, std::string_view name, double fallback) {
  pugi::xml_attribute a = Attr(node, name);
  return a ? static_cast<double>(AttrLong(node, name)) / 20.0 : fallback;
}

Text CoreText(const pugi::xml_document& core, std::string_view local) {
  pugi::xml_node n = Child(core.document_element(), local);
  return U(n.text().get());
}

void CollectSections(const pugi::xml_node& body, std::vector<SectionLayout>& out) {
  for (pugi::xml_node child : body.children()) {
    if (LocalName(child) == "p") {
      pugi::xml_node sect = Child(Child(child, "pPr"), "sectPr");
      if (sect) out.push_back(ReadSectionLayout(sect));
    } else if (LocalName(child) == "sectPr") {
      out.push_back(ReadSectionLayout(child));
    }
  }
}

// A scheme colour: a:srgbClr val, or a:sysClr lastClr (the system colour
// as Word last saw it).
bool SchemeColour(const pugi::xml_node& slot, std::uint32_t& rgb) {
  for (pugi::xml_node c : slot.children()) {
    std::string_view local = LocalName(c);
    std::string_view hex = local == "srgbClr"  ? Attr(c, "val").value()
                           : local == "sysClr" ? Attr(c, "lastClr").value()
                                               : "";
    if (hex.size() != 6) continue;
    const std::string digits(hex);  // strtoul's end points into it
    char* end = nullptr;
    unsigned long v = std::strtoul(digits.c_str(), &end, 16);
    if (end && *end == 0) {
      rgb = static_cast<std::uint32_t>(v);
      return true;
    }
  }
  return false;
}

// A language attribute of the Normal style's run properties, else of the
// document defaults.
std::string LanguageAttr(const StyleSheet& styles, std::string_view name) {
  const StyleDef* normal = styles.DefaultParagraph();
  for (pugi::xml_node rPr : {normal ? normal->rPr : pugi::xml_node(), styles.DefaultRunProps()}) {
    pugi::xml_attribute a = Attr(Child(rPr, "lang"), name);
    if (a && *a.value()) return a.value();
  }
  return {};
}

}  // namespace

draw::Palette ReadPalette(const pugi::xml_document& theme, const ThemeFonts& fonts) {
  draw::Palette palette;
  pugi::xml_node scheme = Child(Child(theme.document_element(), "themeElements"), "clrScheme");
  std::vector<std::uint32_t> accents;
  for (int i = 1; i <= 6; ++i) {
    std::uint32_t rgb = 0;
    if (!SchemeColour(Child(scheme, "accent" + std::to_string(i)), rgb)) break;
    accents.push_back(rgb);
  }
  if (accents.size() == 6) palette.accents = accents;
  SchemeColour(Child(scheme, "dk1"), palette.dark1);
  SchemeColour(Child(scheme, "lt1"), palette.light1);
  SchemeColour(Child(scheme, "dk2"), palette.dark2);
  SchemeColour(Child(scheme, "lt2"), palette.light2);
  palette.latinFont = TextToUtf8(fonts.minorLatin);
  palette.eastAsianFont = TextToUtf8(fonts.minorEastAsia);
  // Shapes whose style refers to an effect (wps:style/a:effectRef) take it
  // from here; a theme whose effects run past 64 KB is not Office's.
  const pugi::xml_node effects =
      Child(Child(Child(theme.document_element(), "themeElements"), "fmtScheme"), "effectStyleLst");
  if (effects) palette.effectStyles = FragmentXml(effects);
  if (palette.effectStyles.size() > 64 * 1024) palette.effectStyles.clear();
  return palette;
}

Text WordLanguage(std::string_view tag) {
  // Languages whose home region is not their own code in capitals.
  static constexpr std::string_view kHomes[] = {"JA-JP", "KO-KR", "CS-CZ", "DA-DK", "EL-GR",
                                                "HE-IL", "SV-SE", "UK-UA", "ET-EE", "SL-SI",
                                                "VI-VN", "HI-IN", "CA-ES", "NB-NO", "SQ-AL"};
  std::string word;
  for (char c : tag) {
    // written unquoted into the body tag: letters, digits and "-" only
    if (c == '_') c = '-';
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') return u"EN-US";
    word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (word.empty()) return u"EN-US";
  const std::size_t dash = word.find('-');
  if (dash != std::string::npos && word.find('-', dash + 1) == std::string::npos) {
    const std::string_view language = std::string_view(word).substr(0, dash);
    bool home = language == std::string_view(word).substr(dash + 1);
    for (std::string_view h : kHomes) home = home || h == word;
    if (home) word.resize(dash);
  }
  return T(word);
}

SectionLayout ReadSectionLayout(const pugi::xml_node& sectPr) {
  SectionLayout s;
  s.sectPr = sectPr;
  pugi::xml_node size = Child(sectPr, "pgSz");
  pugi::xml_node mar = Child(sectPr, "pgMar");
  s.page.PageWidth = static_cast<float>(TwipsAttr(size, "w", s.page.PageWidth));
  s.pageHeight = TwipsAttr(size, "h", s.pageHeight);
  s.page.LeftMargin = static_cast<float>(TwipsAttr(mar, "left", s.page.LeftMargin));
  s.page.RightMargin = static_cast<float>(TwipsAttr(mar, "right", s.page.RightMargin));
  s.page.Gutter = static_cast<float>(TwipsAttr(mar, "gutter", s.page.Gutter));
  s.top = TwipsAttr(mar, "top", s.top);
  s.bottom = TwipsAttr(mar, "bottom", s.bottom);
  s.header = TwipsAttr(mar, "header", s.header);
  s.footer = TwipsAttr(mar, "footer", s.footer);
  pugi::xml_node grid = Child(sectPr, "docGrid");
  std::string type = Attr(grid, "type").value();
  if (type == "lines" || type == "linesAndChars" || type == "snapToChars") {
    s.gridPitch = TwipsAttr(grid, "linePitch", 0);
  }
  return s;
}

bool MayDraw(const std::vector<std::string>& partNames, std::string_view mainXml) {
  for (const std::string& name : partNames) {
    // The package's own thumbnail (docProps/thumbnail.emf) is not shown.
    if (!name.starts_with("word/")) continue;
    if (name.starts_with("word/charts/") || name.starts_with("word/diagrams/drawing")) return true;
    std::string ext = name.substr(name.size() < 4 ? 0 : name.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".emf" || ext == ".wmf") return true;
  }
  // Nearly every element of a body is "<w:...": one look past each "<".
  static constexpr std::string_view kDrawn[] = {"wps:wsp",    "wpg:wgp", "wpc:wpc", "m:oMath",
                                                "v:rect",     "v:oval",  "v:line",  "v:roundrect",
                                                "v:polyline", "v:arc",   "v:curve"};
  const char* p = mainXml.data();
  const char* end = p + mainXml.size();
  while ((p = static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)))) !=
         nullptr) {
    ++p;
    if (end - p < 2 || (p[0] == 'w' && p[1] == ':')) continue;
    std::string_view rest(p, static_cast<std::size_t>(end - p));
    for (std::string_view tag : kDrawn) {
      if (!rest.starts_with(tag)) continue;
      // A horizontal rule is a rule on the page, not a drawing.
      std::string_view start = rest.substr(0, rest.find('>'));
      if (start.find(" o:hr=\"t\"") == std::string_view::npos) return true;
    }
  }
  return false;
}

DocxContent::DocxContent(std::string bytes, const std::function<void()>& drawingsAhead)
    : package(std::move(bytes)) {
  const std::string& main = package.MainPartName();
  {
    const std::string xml = package.ReadXml(main);
    if (drawingsAhead && MayDraw(package.PartNames(), xml)) drawingsAhead();
    ParseXmlPart(document, xml, main);
  }
  if (!Child(document.document_element(), "body")) {
    Raise(err::kFileCorrupt, T("The document part holds no body."));
  }
  documentRels = package.RelationshipsOf(main);
  auto target = [&](std::string_view type) {
    for (const auto& [id, rel] : documentRels) {
      if (rel.type == type && !rel.external) return rel.target;
    }
    return std::string();
  };
  package.LoadXml(target("styles"), styles);
  package.LoadXml(target("settings"), settings);
  package.LoadXml(target("theme"), theme);
  footnotePart = target("footnotes");
  endnotePart = target("endnotes");
  if (package.LoadXml(footnotePart, footnotes))
    footnoteRels = package.RelationshipsOf(footnotePart);
  if (package.LoadXml(endnotePart, endnotes)) endnoteRels = package.RelationshipsOf(endnotePart);
  package.LoadXml(package.TargetOfType("", "core-properties"), core);

  styleSheet.Load(styles);
  package.LoadXml(target("numbering"), numbering);
  lists.Load(numbering, styleSheet);
  // The theme's East Asian font is that of the script the document's East
  // Asian language writes, as Word's settings or the defaults name it.
  std::string themeLanguage =
      Attr(Child(settings.document_element(), "themeFontLang"), "eastAsia").value();
  if (themeLanguage.empty()) themeLanguage = LanguageAttr(styleSheet, "eastAsia");
  themeFonts = LoadThemeFonts(theme, themeLanguage);
  pugi::xml_document fonts;
  package.LoadXml(target("fontTable"), fonts);
  fontTable.Load(fonts);
  palette = ReadPalette(theme, themeFonts);

  title = CoreText(core, "title");
  description = CoreText(core, "description");
  keywords = CoreText(core, "keywords");
  author = CoreText(core, "creator");

  CollectSections(Body(), sections);
  if (sections.empty()) sections.push_back(SectionLayout());

  pugi::xml_node tab = Child(settings.document_element(), "defaultTabStop");
  if (tab) tabInterval = static_cast<double>(AttrLong(tab, "val", 840)) / 20.0;
  const std::string val = LanguageAttr(styleSheet, "val");
  const std::string eastAsia = LanguageAttr(styleSheet, "eastAsia");
  japanese = val.rfind("ja", 0) == 0 || eastAsia.rfind("ja", 0) == 0;
  otherEastAsian = !eastAsia.empty() && eastAsia.rfind("ja", 0) != 0;
  language = japanese ? u"JA" : WordLanguage(val);
}

pugi::xml_node DocxContent::Body() const {
  return Child(document.document_element(), "body");
}

}  // namespace qp::word
