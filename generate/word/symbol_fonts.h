// Symbol fonts (Symbol, Wingdings, Webdings) map letters to pictures: the
// "l" of a Wingdings bullet shows a black circle. A page read without those
// fonts, or in a browser that does not map them, needs the Unicode
// character the symbol shows instead.
#pragma once

#include <pugixml.hpp>

#include "text/ustring.h"

namespace qp::word {

// Other: a picture font without a mapping here (Wingdings 2 and 3,
// Marlett, ...), whose characters are left alone.
enum class SymbolFont { None, Symbol, Wingdings, Webdings, Other };

// The symbol font a font name stands for (case ignored).
SymbolFont SymbolFontOf(TextView fontName);

// Symbol, Wingdings or Webdings: text in it is written as Unicode, without
// the font.
inline bool IsMappedSymbolFont(SymbolFont font) {
  return font != SymbolFont::None && font != SymbolFont::Other;
}

// The symbol font of a run's own fonts (w:rFonts ascii, else hAnsi).
SymbolFont RunSymbolFont(const pugi::xml_node& rPr);

// The text as Unicode. In a symbol font each character 0x20-0xFF, and its
// private-use form U+F020-U+F0FF, becomes the character the symbol shows.
// Outside a symbol font only the private-use forms are mapped, through the
// Symbol font (the one Word falls back to for them); in Other nothing is.
// Characters without a counterpart stay as they are.
Text SymbolText(TextView text, SymbolFont font);

}  // namespace qp::word
