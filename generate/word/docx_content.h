// Everything the engine reads from one .docx, parsed once at open: the
// parts, the styles and lists, the fonts, the facts and the page setup of
// each section.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "draw/drawing.h"
#include "generate/word/css.h"
#include "generate/word/docx_package.h"
#include "generate/word/numbering.h"
#include "generate/word/style_fonts.h"
#include "generate/word/styles.h"
#include "generate/word/word_app.h"

namespace qp::word {

struct SectionLayout {
  PageSetup page;  // width, left/right margins, gutter (points)
  double pageHeight = 841.9;
  double top = 99.25, bottom = 85.05;
  double header = 42.55, footer = 49.6;
  double gridPitch = 0;   // layout-grid line pitch in points; 0 = no grid
  pugi::xml_node sectPr;  // the section's properties (note numbering and others)
};

struct DocxContent {
  // `drawingsAhead` is called, before the parts are parsed, when the
  // package shows that the page will need drawing (MayDraw).
  explicit DocxContent(std::string bytes, const std::function<void()>& drawingsAhead = {});

  DocxPackage package;
  pugi::xml_document document, styles, numbering, footnotes, endnotes, settings, theme, core;
  Relationships documentRels, footnoteRels, endnoteRels;
  std::string footnotePart, endnotePart;
  StyleSheet styleSheet;
  Numbering lists;
  ThemeFonts themeFonts;
  FontTable fontTable;
  draw::Palette palette;                // the theme's colours and fonts, for drawn objects
  std::vector<SectionLayout> sections;  // in body order; at least one
  Text title, description, keywords, author;
  double tabInterval = 42.0;    // the document's default tab stop, points
  bool japanese = false;        // the document's language is Japanese
  bool otherEastAsian = false;  // its East Asian language is set and not Japanese
  Text language = u"EN-US";     // the document's language in Word's form: "JA", "EN-US", "DE"

  pugi::xml_node Body() const;
  FontSources Fonts() const { return {styleSheet, themeFonts, fontTable, otherEastAsian}; }
};

// True when a package with these part names and this main part will have
// something drawn: a chart, a SmartArt drawing, an EMF or WMF picture, or
// a shape, a group, a canvas or an equation in the body. A guess made
// before the parse, for starting the drawing helper early: what the body
// writer draws decides.
bool MayDraw(const std::vector<std::string>& partNames, std::string_view mainXml);

// The colours of the theme's colour scheme and its minor fonts.
draw::Palette ReadPalette(const pugi::xml_document& theme, const ThemeFonts& fonts);

// A language tag ("de-DE", "en-US") as Word writes it in a page: in capitals,
// without the region when it is the language's home ("DE", "EN-US"); "EN-US"
// for an empty or unusable tag.
Text WordLanguage(std::string_view tag);

// The sections' layouts from w:sectPr elements.
SectionLayout ReadSectionLayout(const pugi::xml_node& sectPr);

}  // namespace qp::word
