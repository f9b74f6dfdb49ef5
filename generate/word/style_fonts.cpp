#include "generate/word/style_fonts.h"

#include <string_view>

#include "generate/word/css.h"
#include "generate/word/styles.h"
#include "generate/word/xml_part.h"
#include "text/codec.h"

namespace qp::word {

namespace {

void Overlay(const pugi::xml_node& rPr, const ThemeFonts& theme, Font& font) {
  RunFonts fonts;
  fonts.ascii = font.Name;
  fonts.eastAsia = font.NameFarEast;
  ApplyRunFonts(rPr, theme, fonts);
  font.Name = fonts.ascii;
  font.NameFarEast = fonts.eastAsia;
  long half = AttrLong(Child(rPr, "sz"), "val", -1);
  if (half > 0 && half < 3276) font.Size = static_cast<float>(half) / 2.0f;
}

bool Contains(TextView folded, std::u16string_view part) {
  return folded.find(part) != TextView::npos;
}

// Names of the fonts met in documents, by the look their words promise.
// ＭＳ ゴシック has letters of one width; its proportional kin do not.
Text GenericByName(TextView name) {
  Text folded = LowerCase(name);
  static constexpr std::u16string_view kMono[] = {u"courier", u"mono", u"consolas", u"console",
                                                  u"typewriter"};
  static constexpr std::u16string_view kSans[] = {
      u"gothic",  u"ゴシック", u"arial",    u"helvetica", u"calibri", u"verdana",
      u"tahoma",  u"segoe",    u"meiryo",   u"メイリオ",  u"sans",    u"trebuchet",
      u"candara", u"corbel",   u"franklin", u"futura",    u"gill",    u"lucida"};
  static constexpr std::u16string_view kSerif[] = {
      u"mincho",     u"明朝",   u"times",  u"century", u"georgia",  u"garamond",
      u"cambria",    u"serif",  u"roman",  u"book",    u"palatino", u"bodoni",
      u"constantia", u"教科書", u"batang", u"song",    u"宋",       u"明體"};
  if (EqualsNoCase(name, u"ＭＳ ゴシック") || EqualsNoCase(name, u"MS Gothic")) return u"monospace";
  for (std::u16string_view part : kMono) {
    if (Contains(folded, part)) return u"monospace";
  }
  for (std::u16string_view part : kSans) {
    if (Contains(folded, part)) return u"sans-serif";
  }
  for (std::u16string_view part : kSerif) {
    if (Contains(folded, part)) return u"serif";
  }
  return {};
}

}  // namespace

Font ResolveStyleFont(const FontSources& doc, const std::string& styleId, const StyleFonts& taken) {
  Font font;
  Overlay(doc.styles.DefaultRunProps(), doc.theme, font);
  for (const StyleDef* s : doc.styles.Chain(styleId)) {
    auto it = taken.find(s->id);
    if (it != taken.end()) {
      font = it->second;
    } else {
      Overlay(s->rPr, doc.theme, font);
    }
  }
  if (font.NameFarEast.empty() || doc.otherEastAsian || !doc.table.EastAsian(font.NameFarEast)) {
    font.NameFarEast = font.Name;
  }
  return font;
}

void FontTable::Load(const pugi::xml_document& fontTable) {
  for (pugi::xml_node f : fontTable.document_element().children()) {
    if (LocalName(f) != "font") continue;
    Text name = CleanFontName(U(Attr(f, "name").value()));
    if (name.empty() || generic_.count(name)) continue;
    std::string family = ChildVal(f, "family");
    std::string pitch = ChildVal(f, "pitch");
    Text generic;
    if (ChildVal(f, "charset") == "02") {
      generic = u"-";  // a symbol font: its letters are pictures
    } else if (family == "roman") {
      generic = u"serif";
    } else if (family == "swiss") {
      generic = u"sans-serif";
    } else if (family == "modern") {
      generic = pitch == "fixed" ? u"monospace" : u"sans-serif";
    }
    generic_[name] = generic;
    // SHIFTJIS, HANGUL, JOHAB, GB2312, CHINESEBIG5
    std::string charset = ChildVal(f, "charset");
    eastAsian_[name] =
        charset == "80" || charset == "81" || charset == "82" || charset == "86" || charset == "88";
  }
}

bool FontTable::EastAsian(TextView name) const {
  Text clean = CleanFontName(name);
  for (char16_t c : clean) {
    if (c >= 0x2E80) return true;  // ＭＳ 明朝, 微软雅黑, 맑은 고딕
  }
  auto it = eastAsian_.find(clean);
  if (it != eastAsian_.end() && it->second) return true;
  // Names a document may use without listing the font in its table.
  static constexpr std::u16string_view kKnown[] = {
      u"mincho", u"ms gothic", u"ms pgothic", u"ms ui gothic", u"yu gothic", u"malgun",
      u"meiryo", u"simsun",    u"simhei",     u"mingliu",      u"batang",    u"gulim",
      u"dotum",  u"gungsuh",   u"yahei",      u"jhenghei"};
  Text folded = LowerCase(clean);
  for (std::u16string_view part : kKnown) {
    if (Contains(folded, part)) return true;
  }
  return false;
}

Text FontTable::Generic(TextView name) const {
  Text clean = CleanFontName(name);
  auto it = generic_.find(clean);
  if (it != generic_.end() && !it->second.empty()) {
    return it->second == u"-" ? Text() : it->second;
  }
  return GenericByName(clean);
}

Text WithoutUnencodable(TextView text) {
  Text out;
  std::map<char16_t, bool> known;
  for (char16_t c : text) {
    if (c >= 0x80) {
      auto it = known.find(c);
      if (it == known.end()) {
        it = known.emplace(c, TextToCp932(Text(1, c)).rfind("&#", 0) != 0).first;
      }
      if (!it->second) continue;
    }
    out += c;
  }
  return out;
}

Text FontFamilyValue(const FontTable& table, TextView name) {
  Text generic = table.Generic(name);
  return generic.empty() ? FontValue(name) : FontValue(name) + u"," + generic;
}

}  // namespace qp::word
