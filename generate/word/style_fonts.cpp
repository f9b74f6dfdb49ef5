#include "generate/word/style_fonts.h"

#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

void Overlay(const pugi::xml_node& rPr, const ThemeFonts& theme, Font& font) {
  RunFonts fonts{font.Name, font.NameFarEast};
  ApplyRunFonts(rPr, theme, fonts);
  font.Name = fonts.ascii;
  font.NameFarEast = fonts.eastAsia;
  long half = AttrLong(Child(rPr, "sz"), "val", -1);
  if (half > 0 && half < 3276) font.Size = static_cast<float>(half) / 2.0f;
}

}  // namespace

Font ResolveStyleFont(const DocxContent& doc, const std::string& styleId, const StyleFonts& taken) {
  Font font;
  font.Size = 10.0f;  // Word's size when nothing names one
  Overlay(doc.styleSheet.DefaultRunProps(), doc.themeFonts, font);
  for (const StyleDef* s : doc.styleSheet.Chain(styleId)) {
    auto it = taken.find(s->id);
    if (it != taken.end()) {
      font = it->second;
    } else {
      Overlay(s->rPr, doc.themeFonts, font);
    }
  }
  if (font.NameFarEast.empty()) font.NameFarEast = font.Name;
  return font;
}

}  // namespace qp::word
