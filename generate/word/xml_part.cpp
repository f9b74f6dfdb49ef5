#include "generate/word/xml_part.h"

#include <cstdlib>

#include "generate/word/word_app.h"
#include "text/codec.h"
#include "text/failure.h"
#include "text/number.h"

namespace qp::word {

namespace {

// True when the prolog (everything before the root element) declares a
// document type. Looks at the raw bytes in both UTF-8 and UTF-16 forms.
bool HasDoctype(const std::string& bytes) {
  static constexpr std::string_view kKey = "DOCTYPE";
  std::string folded;
  folded.reserve(bytes.size());
  for (char c : bytes) {
    if (c == '\0') continue;  // UTF-16 text reads as ASCII once NULs go
    folded.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  std::size_t at = folded.find("<!");
  while (at != std::string::npos) {
    if (folded.compare(at + 2, kKey.size(), kKey) == 0) return true;
    at = folded.find("<!", at + 2);
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

}  // namespace qp::word
