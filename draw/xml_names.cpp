#include "draw/xml_names.h"

#include <cmath>
#include <string>

#include "text/number.h"

namespace qp::draw {

std::string_view LocalName(pugi::xml_node node) {
  std::string_view name = node.name();
  const auto colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(pugi::xml_node node, std::string_view local) {
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && LocalName(c) == local) return c;
  return {};
}

pugi::xml_node Path(pugi::xml_node node, std::initializer_list<std::string_view> locals) {
  for (std::string_view local : locals) node = Child(node, local);
  return node;
}

pugi::xml_attribute Attr(pugi::xml_node node, std::string_view local) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    std::string_view name = a.name();
    const auto colon = name.find(':');
    if (colon != std::string_view::npos) {
      if (name.substr(0, colon) == "xmlns") continue;
      name = name.substr(colon + 1);
    }
    if (name == local) return a;
  }
  return {};
}

double ToNumber(std::string_view text, double fallback) {
  std::string s(text.substr(0, 64));
  char* end = nullptr;
  const double v = ParseDoubleC(s.c_str(), &end);
  if (end == s.c_str() || !std::isfinite(v)) return fallback;
  return v;
}

double AttrNumber(pugi::xml_node node, std::string_view local, double fallback) {
  const pugi::xml_attribute a = Attr(node, local);
  return a ? ToNumber(a.value(), fallback) : fallback;
}

std::string_view ChildVal(pugi::xml_node node, std::string_view local) {
  return Attr(Child(node, local), "val").value();
}

bool ChildFlag(pugi::xml_node node, std::string_view local, bool fallback) {
  const pugi::xml_node c = Child(node, local);
  if (!c) return fallback;
  const pugi::xml_attribute a = Attr(c, "val");
  if (!a) return true;
  const std::string_view v = a.value();
  return v == "1" || v == "true" || v == "on";
}

std::string TextOf(pugi::xml_node node, std::string_view local) {
  std::string out;
  for (pugi::xml_node n = node.first_child(); n && n != node;) {
    if (n.type() == pugi::node_element && LocalName(n) == local) {
      out += n.text().get();
      if (out.size() > 100000) break;
    } else if (n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n != node && !n.next_sibling()) n = n.parent();
    if (n == node) break;
    n = n.next_sibling();
  }
  return out;
}

bool ParseXml(pugi::xml_document& doc, std::string_view xml) {
  return doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata_single,
                         pugi::encoding_utf8);
}

}  // namespace qp::draw
