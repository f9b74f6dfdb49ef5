#include "generate/word/xml_part.h"

#include <cstdlib>
#include <sstream>

#include "generate/word/word_app.h"
#include "text/codec.h"
#include "text/failure.h"
#include "text/number.h"

namespace qp::word {

namespace {

// True when the prolog (everything before the root element) declares a
// document type. "<!DOCTYPE" in a comment, or anywhere after the root
// element's start (a comment or CDATA section of the text), declares none.
// UTF-16 text is read as ASCII once its NULs go.
bool HasDoctype(const std::string& bytes) {
  std::string stripped;
  std::string_view t(bytes);
  const bool utf16 = bytes.size() >= 2 &&
                     (bytes[0] == '\0' || bytes[1] == '\0' ||
                      bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0);
  if (utf16) {
    for (char c : bytes) {
      if (c != '\0') stripped.push_back(c);
    }
    t = stripped;
  }
  static constexpr std::string_view kKey = "DOCTYPE";
  for (std::size_t at = t.find('<'); at != std::string_view::npos; at = t.find('<', at)) {
    if (t.substr(at, 4) == "<!--") {
      at = t.find("-->", at + 4);
      if (at == std::string_view::npos) return false;
      continue;
    }
    if (t.substr(at, 2) == "<?") {
      at = t.find("?>", at + 2);
      if (at == std::string_view::npos) return false;
      continue;
    }
    if (t.substr(at, 2) != "<!") return false;  // the root element
    const std::string_view key = t.substr(at + 2, kKey.size());
    if (key.size() < kKey.size()) return false;
    for (std::size_t i = 0; i < kKey.size(); ++i) {
      const char c = key[i] >= 'a' && key[i] <= 'z' ? static_cast<char>(key[i] - 32) : key[i];
      if (c != kKey[i]) return false;
    }
    return true;
  }
  return false;
}

std::string_view AfterColon(const char* name) {
  std::string_view n(name);
  std::size_t colon = n.find(':');
  return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

}  // namespace

void ParseXmlPart(pugi::xml_document& doc, const std::string& bytes, const std::string& partName) {
  const std::string part = "The part " + partName + " of the document";
  if (HasDoctype(bytes)) Raise(err::kFileCorrupt, U(part + " declares a DOCTYPE."));
  pugi::xml_parse_result result =
      doc.load_buffer(bytes.data(), bytes.size(),
                      pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_auto);
  if (!result) {
    // where and why, for the failure report and the notes
    Raise(err::kFileCorrupt, U(part + " is not well-formed XML (at byte " +
                               std::to_string(result.offset) + ": " + result.description() + ")."));
  }
}

std::string_view LocalName(const pugi::xml_node& node) {
  return AfterColon(node.name());
}
std::string_view LocalName(const pugi::xml_attribute& attr) {
  return AfterColon(attr.name());
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view local) {
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && LocalName(c) == local) return c;
  }
  return {};
}

pugi::xml_attribute Attr(const pugi::xml_node& node, std::string_view local) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    if (LocalName(a) == local) return a;
  }
  return {};
}

std::string ChildVal(const pugi::xml_node& node, std::string_view local,
                     std::string_view fallback) {
  pugi::xml_node c = Child(node, local);
  pugi::xml_attribute a = c ? Attr(c, "val") : pugi::xml_attribute();
  return a ? std::string(a.value()) : std::string(fallback);
}

int Toggle(const pugi::xml_node& props, std::string_view local) {
  pugi::xml_node c = Child(props, local);
  if (!c) return -1;
  pugi::xml_attribute a = Attr(c, "val");
  if (!a) return 1;
  std::string_view v = a.value();
  return (v == "0" || v == "false" || v == "off" || v == "none") ? 0 : 1;
}

long AttrLong(const pugi::xml_node& node, std::string_view local, long fallback) {
  pugi::xml_attribute a = Attr(node, local);
  if (!a || !*a.value()) return fallback;
  char* end = nullptr;
  double v = ParseDoubleC(a.value(), &end);
  if (end == a.value()) return fallback;
  if (v > 1e9) v = 1e9;
  if (v < -1e9) v = -1e9;
  return static_cast<long>(v);
}

Text U(std::string_view utf8) {
  return Utf8ToText(utf8);
}

std::string FragmentXml(const pugi::xml_node& node) {
  pugi::xml_document doc;
  pugi::xml_node copy = doc.append_copy(node);
  for (pugi::xml_node up = node.parent(); up; up = up.parent()) {
    for (pugi::xml_attribute a : up.attributes()) {
      std::string_view name = a.name();
      if ((name == "xmlns" || name.rfind("xmlns:", 0) == 0) && !copy.attribute(a.name())) {
        copy.append_attribute(a.name()) = a.value();
      }
    }
  }
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
  return out.str();
}

}  // namespace qp::word
