// Word's formatting properties as the style declarations Word writes for
// them: lengths in points in Word's own number form, one declaration per
// property, later settings replacing earlier ones.
#pragma once

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "text/ustring.h"

namespace qp::word {

class Declarations {
 public:
  // Replaces an earlier declaration of the same property in place.
  void Set(std::string_view property, TextView value);
  // Appends a second declaration of a property already set, as Word writes
  // "margin-bottom:0mm;margin-bottom:.0001pt".
  void Add(std::string_view property, TextView value);
  // Appends the other's declarations after these.
  void Append(const Declarations& other);
  void Remove(std::string_view property);
  bool Has(std::string_view property) const;
  Text Get(std::string_view property) const;  // "" when not set
  bool empty() const { return items_.empty(); }
  // "a:b;c:d", as inside a style attribute.
  Text Inline() const;
  // One declaration a line, tab-indented, as in the style block.
  Text Block() const;

 private:
  std::vector<std::pair<Text, Text>> items_;
};

// Points in Word's form: "21.0pt", "10.5pt", ".75pt", "-21.0pt", "0pt".
Text Pt(double points);
Text TwipsPt(long twips);

struct ThemeFonts {
  Text majorLatin, minorLatin, majorEastAsia, minorEastAsia, majorCs, minorCs;
};
// The theme's fonts; where it names no East Asian font, the one it gives
// the script of `eastAsiaLanguage` ("ja-JP": Jpan, "ko-KR": Hang), none
// when no language is given.
ThemeFonts LoadThemeFonts(const pugi::xml_document& theme, std::string_view eastAsiaLanguage);

struct RunFonts {
  Text ascii, eastAsia;
  Text cs;                    // for right-to-left and complex scripts
  bool hintEastAsia = false;  // w:hint: characters both scripts share take the East Asian font
};
// Overlays the fonts named by rPr/rFonts (direct or through the theme).
void ApplyRunFonts(const pugi::xml_node& rPr, const ThemeFonts& theme, RunFonts& fonts);
// The first name of a list such as "ＭＳ 明朝;MS Mincho" (as LibreOffice
// writes the fonts of a .doc), without quotes or blanks around it.
Text CleanFontName(TextView name);
// A font name as a declaration value: the first name of a list, quoted
// when it holds anything but ASCII letters and digits.
Text FontValue(TextView font);

// On/off look of a run: -1 not set, 0 off, 1 on.
struct RunLook {
  int bold = -1, italic = -1, underline = -1, strike = -1;
  int vertical = 0;  // 1 superscript, 2 subscript
};

// Paragraph properties other than the indents and the line height
// (spacing before and after, alignment, shading, breaks).
void ParagraphDeclarations(const pugi::xml_node& pPr, Declarations& out);

// Moves the four margins out of `from` into the form Word writes in its
// style block: "margin:0mm" and "margin-bottom:.0001pt" when all are zero,
// otherwise each of the four, the ".0001pt" following a zero bottom.
Declarations StyleMargins(Declarations& from);

// A paragraph's indents through the layers that set them (document
// defaults, list level, style, the paragraph itself): each w:ind attribute
// replaces the same one of a lower layer. A count of characters other than
// 0 wins over the length beside it; "0" lets the length show again, which
// is how a paragraph undoes the character indent of its style.
class Indent {
 public:
  void Overlay(const pugi::xml_node& pPr);
  bool empty() const { return !left_.set() && !right_.set() && !first_.set(); }
  // margin-right, margin-left and text-indent for the sides `which` sets
  // (this one's own when null); a character is `charPoints` wide.
  void Write(double charPoints, Declarations& out, const Indent* which = nullptr) const;
  // The left indent and the first line's indent (negative when hanging) in points.
  double LeftPoints(double charPoints) const { return left_.Points(charPoints); }
  double FirstPoints(double charPoints) const { return first_.Points(charPoints); }

 private:
  struct Side {
    std::optional<long> twips, chars;  // chars in hundredths
    bool set() const { return twips || chars; }
    double Points(double charPoints) const;
  };
  Side left_, right_, first_;  // first: negative for a hanging indent
};
// Run properties other than the fonts; the look goes to `look`.
void RunDeclarations(const pugi::xml_node& rPr, Declarations& out, RunLook& look);
// The look as declarations, for style rules (where there are no tags).
void LookDeclarations(const RunLook& look, Declarations& out);
// A border element (w:top, w:bdr, ...) as a border value, "solid #4F81BD
// 1.5pt", "double windowtext 2.25pt"; "" for none.
Text BorderValue(const pugi::xml_node& side);
// The alignment value of a w:jc ("center", "right", "justify", "left"), or "".
Text Alignment(const pugi::xml_node& pPr);

}  // namespace qp::word
