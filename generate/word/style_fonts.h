// Fonts: the font of a style as the object model shows it
// (Styles(name).Font), and the font table's word on what a font looks like,
// for the generic family a browser falls back to.
#pragma once

#include <map>
#include <string>

#include <pugixml.hpp>

#include "generate/word/word_app.h"
#include "text/ustring.h"

namespace qp::word {

class StyleSheet;
struct ThemeFonts;

// The fonts of fontTable.xml by name.
class FontTable {
 public:
  void Load(const pugi::xml_document& fontTable);
  // "serif", "sans-serif" or "monospace": from the table's w:family and
  // w:pitch, else from the name; empty for symbol fonts and for names that
  // tell nothing.
  Text Generic(TextView name) const;
  // Whether the font is made for Japanese, Chinese or Korean: the table
  // gives it such a character set, or its name is written in such letters.
  bool EastAsian(TextView name) const;

 private:
  std::map<Text, Text> generic_;    // by name; "" where the table says nothing
  std::map<Text, bool> eastAsian_;  // by name, from the table's w:charset
};

// What a style's font is resolved from: the document's styles, theme fonts
// and font table, and whether its East Asian language is set and not
// Japanese.
struct FontSources {
  const StyleSheet& styles;
  const ThemeFonts& theme;
  const FontTable& table;
  bool otherEastAsian;
};

using StyleFonts = std::map<std::string, Font>;  // by style id

// The style's font resolved through the document defaults and the style's
// ancestors; Word's default size where none names one, and for a style id
// that names no style, the defaults' font. Fonts the caller has taken (and
// perhaps changed) override what the file says, for the style and for every
// style based on it. The run gives Western text the East Asian font, as
// Japanese pages set all their text in it; in a document whose East Asian
// language is set and not Japanese (English templates say en-US there), or
// whose East Asian slot names a Western font (Times New Roman in English
// templates), the East Asian font is the Latin one, so that Arial or
// Calibri stays as it is.
Font ResolveStyleFont(const FontSources& doc, const std::string& styleId, const StyleFonts& taken);

// The text without the characters Shift-JIS lacks. A Shift-JIS page writes
// them as "&#N;", whose ";" would end a declaration inside its quotes (a
// style or font named in simplified Chinese) once the declarations stand in
// a style block.
Text WithoutUnencodable(TextView text);

// A font-family value as Word writes it: the font, then its generic family.
Text FontFamilyValue(const FontTable& table, TextView name);

}  // namespace qp::word
