#include "generate/word/css.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <string>

#include "generate/word/xml_part.h"
#include "text/number.h"

namespace qp::word {

void Declarations::Set(std::string_view property, TextView value) {
  Text name = T(property);
  for (auto& item : items_) {
    if (item.first == name) {
      item.second = Text(value);
      return;
    }
  }
  items_.emplace_back(name, Text(value));
}

void Declarations::Add(std::string_view property, TextView value) {
  items_.emplace_back(T(property), Text(value));
}

void Declarations::Append(const Declarations& other) {
  items_.insert(items_.end(), other.items_.begin(), other.items_.end());
}

void Declarations::Remove(std::string_view property) {
  Text name = T(property);
  std::erase_if(items_, [&](const auto& item) { return item.first == name; });
}

bool Declarations::Has(std::string_view property) const {
  Text name = T(property);
  for (const auto& item : items_) {
    if (item.first == name) return true;
  }
  return false;
}

Text Declarations::Get(std::string_view property) const {
  Text name = T(property);
  for (const auto& item : items_) {
    if (item.first == name) return item.second;
  }
  return {};
}

Text Declarations::Inline() const {
  Text out;
  for (const auto& [name, value] : items_) {
    if (!out.empty()) out += u';';
    out += name + u':' + value;
  }
  return out;
}

Text Declarations::Block() const {
  Text out = u"\t{";
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (i) out += u";\r\n\t";
    out += items_[i].first + u':' + items_[i].second;
  }
  return out + u";}\r\n";
}

Text Pt(double points) {
  double rounded = std::round(points * 100.0) / 100.0;
  if (rounded == 0) return u"0pt";
  std::string s;
  if (rounded == std::floor(rounded)) {
    s = FormatFixedC(rounded, 1);
  } else {
    s = FormatFixedC(rounded, 2);
    while (s.back() == '0') s.pop_back();
  }
  // Word leaves out the zero in front of the point: ".75pt", "-.5pt".
  if (s.rfind("0.", 0) == 0) s.erase(0, 1);
  if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  return T(s) + u"pt";
}

Text TwipsPt(long twips) {
  return Pt(static_cast<double>(twips) / 20.0);
}

ThemeFonts LoadThemeFonts(const pugi::xml_document& theme, std::string_view eastAsiaLanguage) {
  ThemeFonts fonts;
  pugi::xml_node scheme = Child(Child(theme.document_element(), "themeElements"), "fontScheme");
  std::string_view script = eastAsiaLanguage.empty() ? "" : "Jpan";
  if (eastAsiaLanguage.starts_with("ko")) script = "Hang";
  if (eastAsiaLanguage.starts_with("zh")) {
    bool traditional = eastAsiaLanguage.ends_with("TW") || eastAsiaLanguage.ends_with("HK") ||
                       eastAsiaLanguage.ends_with("MO");
    script = traditional ? "Hant" : "Hans";
  }
  auto read = [&](const pugi::xml_node& group, Text& latin, Text& eastAsia, Text& cs) {
    latin = U(Attr(Child(group, "latin"), "typeface").value());
    cs = U(Attr(Child(group, "cs"), "typeface").value());
    eastAsia = U(Attr(Child(group, "ea"), "typeface").value());
    if (eastAsia.empty() && !script.empty()) {
      for (pugi::xml_node f : group.children()) {
        if (LocalName(f) == "font" && std::string_view(Attr(f, "script").value()) == script) {
          eastAsia = U(Attr(f, "typeface").value());
        }
      }
    }
  };
  read(Child(scheme, "majorFont"), fonts.majorLatin, fonts.majorEastAsia, fonts.majorCs);
  read(Child(scheme, "minorFont"), fonts.minorLatin, fonts.minorEastAsia, fonts.minorCs);
  return fonts;
}

void ApplyRunFonts(const pugi::xml_node& rPr, const ThemeFonts& theme, RunFonts& fonts) {
  pugi::xml_node f = Child(rPr, "rFonts");
  if (!f) return;
  // The value names the theme font, whichever slot it fills: Word's English
  // templates give the East Asian slot "minorHAnsi", the Latin font.
  auto themed = [&](std::string_view value) -> Text {
    bool major = value.rfind("major", 0) == 0;
    if (value.find("EastAsia") != std::string_view::npos) {
      return major ? theme.majorEastAsia : theme.minorEastAsia;
    }
    if (value.find("Bidi") != std::string_view::npos) return major ? theme.majorCs : theme.minorCs;
    return major ? theme.majorLatin : theme.minorLatin;
  };
  // A theme reference wins over the name beside it (Word keeps both); the
  // first of the attributes that names a font fills the slot.
  auto slot = [&](std::initializer_list<std::pair<std::string_view, bool>> names, Text& to) {
    for (const auto& [name, isTheme] : names) {
      pugi::xml_attribute a = Attr(f, name);
      if (!a) continue;
      Text v = CleanFontName(isTheme ? themed(a.value()) : U(a.value()));
      if (v.empty()) continue;
      to = v;
      return;
    }
  };
  slot({{"asciiTheme", true}, {"ascii", false}, {"hAnsiTheme", true}, {"hAnsi", false}},
       fonts.ascii);
  slot({{"eastAsiaTheme", true}, {"eastAsia", false}}, fonts.eastAsia);
  slot({{"cstheme", true}, {"cs", false}}, fonts.cs);
  if (pugi::xml_attribute hint = Attr(f, "hint")) {
    fonts.hintEastAsia = std::string_view(hint.value()) == "eastAsia";
  }
}

Text CleanFontName(TextView name) {
  Text out;
  for (char16_t c : name.substr(0, name.find(u';'))) {
    if (c != u'"' && c != u'\'') out += c;
  }
  return Trim(out);
}

Text FontValue(TextView font) {
  Text name = CleanFontName(font);
  bool plain = !name.empty();
  for (char16_t c : name) {
    bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    plain = plain && ok;
  }
  if (plain) return Text(name);
  Text out = u"\"";
  for (char16_t c : name) {
    if (c != u'"' && c != u'\'' && c != u'<' && c != u'>' && c != u'&') out += c;
  }
  return out + u"\"";
}

namespace {

Text ColorValue(std::string_view hex) {
  if (hex.size() != 6) return {};
  for (char c : hex) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return {};
  }
  Text out = u"#";
  for (char c : hex) out += static_cast<char16_t>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

Text HighlightValue(std::string_view name) {
  static constexpr std::pair<std::string_view, std::string_view> kMap[] = {
      {"yellow", "yellow"},      {"green", "lime"},       {"cyan", "aqua"},
      {"magenta", "fuchsia"},    {"blue", "blue"},        {"red", "red"},
      {"darkBlue", "navy"},      {"darkCyan", "teal"},    {"darkGreen", "green"},
      {"darkMagenta", "purple"}, {"darkRed", "maroon"},   {"darkYellow", "olive"},
      {"darkGray", "gray"},      {"lightGray", "silver"}, {"black", "black"},
      {"white", "white"}};
  for (const auto& [from, to] : kMap) {
    if (from == name) return T(to);
  }
  return {};
}

void Shading(const pugi::xml_node& props, Declarations& out) {
  pugi::xml_node shd = Child(props, "shd");
  // A solid pattern shows its pattern colour over the fill.
  std::string_view pattern = Attr(shd, "val").value();
  Text fill = ColorValue(Attr(shd, pattern == "solid" ? "color" : "fill").value());
  if (!fill.empty()) out.Set("background", fill);
}

// Word's raised, sunken, hollow and shadowed letters drawn with text
// shadows, in a colour that shows on a light page: Word draws raised and
// sunken text in white with a grey edge, which would vanish on a page
// without Word's edge.
void TextEffects(const pugi::xml_node& rPr, Declarations& out) {
  bool emboss = Toggle(rPr, "emboss") == 1, engrave = Toggle(rPr, "imprint") == 1;
  bool outline = Toggle(rPr, "outline") == 1, shadow = Toggle(rPr, "shadow") == 1;
  if (!emboss && !engrave && !outline && !shadow) return;
  Text color = out.Get("color");
  Text edge = color.empty() || color == u"#FFFFFF" ? Text(u"#404040") : color;
  Text shadows;
  auto add = [&](TextView one) { shadows += (shadows.empty() ? u"" : u", ") + Text(one); };
  if (emboss || engrave) {
    out.Set("color", u"#A6A6A6");
    add(emboss ? u"-1px -1px 0 #FFFFFF, 1px 1px 0 #404040"
               : u"1px 1px 0 #FFFFFF, -1px -1px 0 #404040");
  } else if (outline) {
    // Hollow letters: the letter in white, its edge in the text's colour.
    out.Set("color", u"#FFFFFF");
    add(u"-1px 0 0 " + edge + u", 1px 0 0 " + edge + u", 0 -1px 0 " + edge + u", 0 1px 0 " + edge);
  }
  if (shadow) add(u"2px 2px 1px #A0A0A0");
  out.Set("text-shadow", shadows);
}

// Emphasis marks (w:em) as CSS text-emphasis: Word's dot, comma and circle
// sit over the letters, the under dot below them.
void EmphasisMarks(const pugi::xml_node& rPr, Declarations& out) {
  std::string mark = ChildVal(rPr, "em");
  if (mark.empty()) return;
  if (mark == "none") {
    out.Set("text-emphasis", u"none");
  } else if (mark == "comma") {
    out.Set("text-emphasis", u"filled sesame");
  } else if (mark == "circle") {
    out.Set("text-emphasis", u"open circle");
  } else if (mark == "dot" || mark == "underDot") {
    out.Set("text-emphasis", u"filled dot");
    if (mark == "underDot") out.Set("text-emphasis-position", u"under right");
  }
}

}  // namespace

Text BorderValue(const pugi::xml_node& side) {
  std::string_view val = Attr(side, "val").value();
  if (!side || val.empty() || val == "none" || val == "nil") return {};
  std::string_view style = "solid";
  if (val == "double" || val.find("Thick") != std::string_view::npos ||
      val.find("thin") != std::string_view::npos || val == "triple") {
    style = "double";
  } else if (val == "dotted") {
    style = "dotted";
  } else if (val.find("dash") != std::string_view::npos ||
             val.find("Dash") != std::string_view::npos) {
    style = "dashed";
  } else if (val == "threeDEmboss" || val == "outset") {
    style = "outset";
  } else if (val == "threeDEngrave" || val == "inset") {
    style = "inset";
  }
  // Eighths of a point; a line thinner than a pixel would vanish, and a
  // double line needs three pixels to show its two strokes.
  double width = static_cast<double>(AttrLong(side, "sz", 4)) / 8.0;
  width = std::clamp(width, style == "double" ? 2.25 : 0.75, 12.0);
  Text color = ColorValue(Attr(side, "color").value());
  if (color.empty()) color = u"windowtext";
  return T(style) + u" " + color + u" " + Pt(width);
}

Text Alignment(const pugi::xml_node& pPr) {
  std::string jc = ChildVal(pPr, "jc");
  if (jc == "center") return u"center";
  if (jc == "right" || jc == "end") return u"right";
  if (jc == "both" || jc == "distribute" || jc == "lowKashida" || jc == "mediumKashida" ||
      jc == "highKashida" || jc == "thaiDistribute") {
    return u"justify";
  }
  if (jc == "left" || jc == "start") return u"left";
  return {};
}

void ParagraphDeclarations(const pugi::xml_node& pPr, Declarations& out) {
  if (!pPr) return;
  // Line heights depend on the font and the grid (line_spacing.h).
  if (pugi::xml_node sp = Child(pPr, "spacing")) {
    if (Attr(sp, "before")) out.Set("margin-top", TwipsPt(AttrLong(sp, "before")));
    if (Attr(sp, "after")) out.Set("margin-bottom", TwipsPt(AttrLong(sp, "after")));
    // Word's automatic spacing, as between paragraphs of a web page.
    auto on = [&](std::string_view name) {
      std::string_view v = Attr(sp, name).value();
      return v == "1" || v == "true" || v == "on";
    };
    if (on("beforeAutospacing")) out.Set("margin-top", u"14.0pt");
    if (on("afterAutospacing")) out.Set("margin-bottom", u"14.0pt");
  }
  Text align = Alignment(pPr);
  if (!align.empty()) out.Set("text-align", align);
  if (Toggle(pPr, "pageBreakBefore") == 1) out.Set("page-break-before", u"always");
  if (Toggle(pPr, "keepNext") == 1) out.Set("page-break-after", u"avoid");
  Shading(pPr, out);
}

Declarations StyleMargins(Declarations& from) {
  static constexpr std::string_view kSides[] = {"margin-top", "margin-right", "margin-bottom",
                                                "margin-left"};
  Text values[4];
  bool allZero = true;
  for (std::size_t i = 0; i < 4; ++i) {
    values[i] = from.Get(kSides[i]);
    from.Remove(kSides[i]);
    if (values[i].empty() || values[i] == u"0pt") values[i] = u"0mm";
    allZero = allZero && values[i] == u"0mm";
  }
  Declarations out;
  if (allZero) {
    out.Set("margin", u"0mm");
  } else {
    for (std::size_t i = 0; i < 4; ++i) out.Set(kSides[i], values[i]);
  }
  // A zero bottom margin alone would read as "not set" to old browsers.
  if (values[2] == u"0mm") out.Add("margin-bottom", u".0001pt");
  return out;
}

double Indent::Side::Points(double charPoints) const {
  if (chars && *chars != 0) return static_cast<double>(*chars) / 100.0 * charPoints;
  return static_cast<double>(twips.value_or(0)) / 20.0;
}

void Indent::Overlay(const pugi::xml_node& pPr) {
  pugi::xml_node ind = Child(pPr, "ind");
  if (!ind) return;
  auto read = [&](std::optional<long>& to, std::string_view name, std::string_view alias,
                  long sign) {
    pugi::xml_attribute a = Attr(ind, name);
    if (!a && !alias.empty()) a = Attr(ind, alias);
    if (a) to = sign * a.as_int();
  };
  read(left_.twips, "left", "start", 1);
  read(left_.chars, "leftChars", "startChars", 1);
  read(right_.twips, "right", "end", 1);
  read(right_.chars, "rightChars", "endChars", 1);
  // A hanging indent and a first-line indent are one setting.
  if (Attr(ind, "hanging")) {
    read(first_.twips, "hanging", {}, -1);
  } else {
    read(first_.twips, "firstLine", {}, 1);
  }
  if (Attr(ind, "hangingChars")) {
    read(first_.chars, "hangingChars", {}, -1);
  } else {
    read(first_.chars, "firstLineChars", {}, 1);
  }
}

void Indent::Write(double charPoints, Declarations& out, const Indent* which) const {
  if (!which) which = this;
  if (which->right_.set()) out.Set("margin-right", Pt(right_.Points(charPoints)));
  if (which->left_.set()) out.Set("margin-left", Pt(left_.Points(charPoints)));
  if (which->first_.set()) out.Set("text-indent", Pt(first_.Points(charPoints)));
}

void RunDeclarations(const pugi::xml_node& rPr, Declarations& out, RunLook& look) {
  if (!rPr) return;
  if (pugi::xml_node sz = Child(rPr, "sz")) {
    long half = AttrLong(sz, "val", -1);
    if (half > 0) out.Set("font-size", Pt(static_cast<double>(half) / 2.0));
  }
  Text color = ColorValue(ChildVal(rPr, "color"));
  if (!color.empty()) out.Set("color", color);
  if (pugi::xml_node sp = Child(rPr, "spacing")) {
    long twips = AttrLong(sp, "val");
    if (twips != 0) out.Set("letter-spacing", TwipsPt(twips));
  }
  // An "off" value undoes what the style turned on.
  int caps = Toggle(rPr, "caps");
  if (caps >= 0) out.Set("text-transform", caps ? u"uppercase" : u"none");
  int smallCaps = Toggle(rPr, "smallCaps");
  if (smallCaps >= 0) out.Set("font-variant", smallCaps ? u"small-caps" : u"normal");
  if (Toggle(rPr, "vanish") == 1) {
    out.Set("display", u"none");
    out.Set("mso-hide", u"all");
  }
  Shading(rPr, out);
  Text border = BorderValue(Child(rPr, "bdr"));
  if (!border.empty()) {
    out.Set("border", border);
    out.Set("padding", u"0pt");
  }
  TextEffects(rPr, out);
  EmphasisMarks(rPr, out);
  Text highlight = HighlightValue(ChildVal(rPr, "highlight"));
  if (!highlight.empty()) out.Set("background", highlight);
  int b = Toggle(rPr, "b");
  if (b >= 0) look.bold = b;
  int i = Toggle(rPr, "i");
  if (i >= 0) look.italic = i;
  if (Child(rPr, "u")) look.underline = ChildVal(rPr, "u", "single") == "none" ? 0 : 1;
  int s = Toggle(rPr, "strike");
  int ds = Toggle(rPr, "dstrike");
  if (s >= 0 || ds >= 0) look.strike = (s == 1 || ds == 1) ? 1 : 0;
  std::string va = ChildVal(rPr, "vertAlign");
  if (va == "superscript") look.vertical = 1;
  if (va == "subscript") look.vertical = 2;
  if (va == "baseline") look.vertical = 0;
}

void LookDeclarations(const RunLook& look, Declarations& out) {
  if (look.bold >= 0) out.Set("font-weight", look.bold ? u"bold" : u"normal");
  if (look.italic >= 0) out.Set("font-style", look.italic ? u"italic" : u"normal");
  if (look.underline == 1) out.Set("text-decoration", u"underline");
  if (look.strike == 1) out.Set("text-decoration", u"line-through");
  if (look.underline == 0 && look.strike != 1) out.Set("text-decoration", u"none");
  if (look.vertical == 1) out.Set("vertical-align", u"super");
  if (look.vertical == 2) out.Set("vertical-align", u"sub");
}

}  // namespace qp::word
