// The document's styles (styles.xml): definitions by id, their inheritance,
// the default paragraph style, and the class name each gets in the HTML.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "text/ustring.h"

namespace qp::word {

struct StyleDef {
  std::string id;
  Text name;
  char type = 'p';  // 'p' paragraph, 'c' character, 't' table, 'n' numbering
  std::string basedOn;
  pugi::xml_node node, pPr, rPr;  // the w:style element and its properties
  int headingLevel = 0;           // 1..6 for the built-in headings
  Text className;                 // "MsoNormal", "MsoListParagraph", "a0", ...
};

class StyleSheet {
 public:
  void Load(const pugi::xml_document& stylesXml);

  const StyleDef* Find(const std::string& id) const;
  // By the name in the file or by id, without regard to case.
  const StyleDef* FindByName(TextView name) const;
  const StyleDef* DefaultParagraph() const { return Find(defaultParagraphId_); }
  const StyleDef* DefaultOfType(char type) const;
  pugi::xml_node DefaultRunProps() const { return defaultRPr_; }
  pugi::xml_node DefaultParaProps() const { return defaultPPr_; }
  // The style and its ancestors, farthest first; a loop in basedOn ends the chain.
  std::vector<const StyleDef*> Chain(const std::string& id) const;
  const std::vector<StyleDef>& All() const { return styles_; }

 private:
  std::vector<StyleDef> styles_;
  std::map<std::string, std::size_t> byId_;
  std::string defaultParagraphId_;
  std::map<char, std::string> defaultOfType_;
  pugi::xml_node defaultRPr_, defaultPPr_;
};

// The class name Word gives a style: "Mso" and the name in capitalised words
// for the built-in styles, the name's letters and digits for the others.
Text StyleClassName(TextView name, const std::string& id);

}  // namespace qp::word
