#include "generate/word/styles.h"

#include <set>

#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

// Built-in style names (as styles.xml spells them, folded to lower case)
// that Word writes with the "Mso" prefix.
constexpr std::string_view kBuiltIn[] = {
    "normal",
    "title",
    "subtitle",
    "body text",
    "body text 2",
    "body text 3",
    "body text indent",
    "list paragraph",
    "no spacing",
    "quote",
    "intense quote",
    "caption",
    "footnote text",
    "endnote text",
    "header",
    "footer",
    "hyperlink",
    "followedhyperlink",
    "footnote reference",
    "endnote reference",
    "toc 1",
    "toc 2",
    "toc 3",
    "toc 4",
    "list bullet",
    "list number",
    "plain text",
    "date",
    "closing",
    "salutation",
    "signature",
    "normal (web)",
    "block text",
    "table grid",
    "normal table",
    "balloon text",
    "comment text",
    "comment reference",
    "strong",
    "emphasis",
    "page number",
    "line number",
    "list",
    "list 2",
    "body text first indent",
    "normal indent",
    "document map",
    "index 1",
};

bool IsBuiltIn(TextView folded) {
  for (std::string_view b : kBuiltIn) {
    if (folded == T(b)) return true;
  }
  return false;
}

bool IsAsciiAlnum(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

int HeadingLevelOf(TextView folded) {
  if (folded.size() == 9 && folded.substr(0, 8) == u"heading " && folded[8] >= u'1' &&
      folded[8] <= u'6') {
    return folded[8] - u'0';
  }
  return 0;
}

}  // namespace

Text StyleClassName(TextView name, const std::string& id) {
  Text folded = LowerCase(name);
  Text out;
  if (IsBuiltIn(folded)) {
    out = u"Mso";
    bool upper = true;
    for (char16_t c : name) {
      if (!IsAsciiAlnum(c)) {
        upper = true;
        continue;
      }
      out += upper && c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
      upper = false;
    }
    return out;
  }
  for (char16_t c : name) {
    if (IsAsciiAlnum(c)) out += c;
  }
  if (out.empty()) {
    for (char c : id) {
      if (IsAsciiAlnum(static_cast<char16_t>(c))) out += static_cast<char16_t>(c);
    }
  }
  if (out.empty()) out = u"s";
  // A class name may not begin with a digit.
  if (out[0] >= u'0' && out[0] <= u'9') out.insert(0, u"s");
  return out;
}

void StyleSheet::Load(const pugi::xml_document& stylesXml) {
  pugi::xml_node root = stylesXml.document_element();
  pugi::xml_node defaults = Child(root, "docDefaults");
  defaultRPr_ = Child(Child(defaults, "rPrDefault"), "rPr");
  defaultPPr_ = Child(Child(defaults, "pPrDefault"), "pPr");
  std::set<Text> taken;
  for (pugi::xml_node s : root.children()) {
    if (LocalName(s) != "style") continue;
    StyleDef def;
    def.id = Attr(s, "styleId").value();
    if (def.id.empty() || byId_.count(def.id)) continue;
    def.name = U(ChildVal(s, "name", def.id));
    std::string type = Attr(s, "type").value();
    def.type = type == "character" ? 'c' : type == "table" ? 't' : type == "numbering" ? 'n' : 'p';
    def.basedOn = ChildVal(s, "basedOn");
    def.node = s;
    def.pPr = Child(s, "pPr");
    def.rPr = Child(s, "rPr");
    Text folded = LowerCase(def.name);
    if (def.type == 'p') def.headingLevel = HeadingLevelOf(folded);
    std::string isDefault = Attr(s, "default").value();
    if (isDefault == "1" || isDefault == "true" || isDefault == "on") {
      if (!defaultOfType_.count(def.type)) defaultOfType_[def.type] = def.id;
    }
    Text cls = StyleClassName(def.name, def.id);
    Text unique = cls;
    for (int n = 0; taken.count(LowerCase(unique)); ++n) unique = cls + T(std::to_string(n));
    taken.insert(LowerCase(unique));
    def.className = unique;
    byId_[def.id] = styles_.size();
    styles_.push_back(std::move(def));
  }
  if (!defaultOfType_.count('p') && !byId_.count("Normal")) {
    // Every document has a Normal style, even one whose file defines none.
    StyleDef normal;
    normal.id = "Normal";
    normal.name = u"Normal";
    normal.className = u"MsoNormal";
    byId_[normal.id] = styles_.size();
    styles_.push_back(std::move(normal));
  }
  if (defaultOfType_.count('p')) {
    defaultParagraphId_ = defaultOfType_['p'];
  } else if (byId_.count("Normal")) {
    defaultParagraphId_ = "Normal";
  } else {
    for (const StyleDef& s : styles_) {
      if (s.type == 'p' && LowerCase(s.name) == u"normal") defaultParagraphId_ = s.id;
    }
  }
}

const StyleDef* StyleSheet::Find(const std::string& id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : &styles_[it->second];
}

const StyleDef* StyleSheet::FindByName(TextView name) const {
  for (const StyleDef& s : styles_) {
    if (EqualsNoCase(s.name, name)) return &s;
  }
  for (const StyleDef& s : styles_) {
    if (EqualsNoCase(U(s.id), name)) return &s;
  }
  return nullptr;
}

const StyleDef* StyleSheet::DefaultOfType(char type) const {
  auto it = defaultOfType_.find(type);
  return it == defaultOfType_.end() ? nullptr : Find(it->second);
}

std::vector<const StyleDef*> StyleSheet::Chain(const std::string& id) const {
  std::vector<const StyleDef*> chain;
  const StyleDef* s = Find(id);
  while (s && chain.size() < 32) {
    bool seen = false;
    for (const StyleDef* c : chain) seen = seen || c == s;
    if (seen) break;
    chain.insert(chain.begin(), s);
    s = s->basedOn.empty() ? nullptr : Find(s->basedOn);
  }
  return chain;
}

}  // namespace qp::word
