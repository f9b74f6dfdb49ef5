#include "draw/svg_safety.h"

#include <pugixml.hpp>

#include <cstring>
#include <sstream>
#include <vector>

namespace qp::draw {

namespace {

constexpr std::string_view kSvgNamespace = "http://www.w3.org/2000/svg";
constexpr std::string_view kXlinkNamespace = "http://www.w3.org/1999/xlink";

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A link librsvg may follow: within the document, or pixels carried in it.
bool LocalLink(std::string_view value) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                            value.front() == '\n' || value.front() == '\r')) {
    value.remove_prefix(1);
  }
  return StartsWith(value, "#") || StartsWith(value, "data:image/png;") ||
         StartsWith(value, "data:image/jpeg;");
}

// True when every url( in `value` (in any case) names a fragment.
bool LocalUrls(std::string_view value) {
  std::string lower = Lower(value);
  for (std::size_t at = lower.find("url("); at != std::string::npos;
       at = lower.find("url(", at + 4)) {
    std::size_t i = at + 4;
    while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\'' || lower[i] == '"')) ++i;
    if (i >= lower.size() || lower[i] != '#') return false;
  }
  return true;
}

bool SafeAttribute(const pugi::xml_attribute& a, bool root) {
  std::string_view name = a.name(), value = a.value();
  std::string lower = Lower(name);
  if (name == "xmlns") return root && value == kSvgNamespace;
  if (name == "xmlns:xlink") return root && value == kXlinkNamespace;
  if (StartsWith(lower, "xmlns") || StartsWith(lower, "on") || lower == "xml:base") return false;
  if (lower == "href" || lower == "xlink:href") return LocalLink(value);
  if (name.find(':') != std::string_view::npos && lower != "xml:space") return false;
  return LocalUrls(value) && Lower(value).find("@import") == std::string::npos;
}

bool SafeElement(const pugi::xml_node& e) {
  std::string lower = Lower(e.name());
  return lower.find(':') == std::string::npos && lower != "script" && lower != "style" &&
         lower != "foreignobject" && lower != "iframe" && lower != "handler";
}

void Clean(pugi::xml_node node, bool root) {
  std::vector<pugi::xml_attribute> badAttributes;
  for (pugi::xml_attribute a : node.attributes()) {
    if (!SafeAttribute(a, root)) badAttributes.push_back(a);
  }
  for (pugi::xml_attribute a : badAttributes) node.remove_attribute(a);
  std::vector<pugi::xml_node> badChildren;
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element) {
      if (SafeElement(child)) {
        Clean(child, false);
      } else {
        badChildren.push_back(child);
      }
    } else if (child.type() != pugi::node_pcdata && child.type() != pugi::node_cdata) {
      badChildren.push_back(child);
    }
  }
  for (pugi::xml_node child : badChildren) node.remove_child(child);
}

}  // namespace

std::string SafeSvg(std::string_view svg) {
  pugi::xml_document doc;
  // Processing instructions, the document type and comments are not even
  // read; entities other than XML's own stay unexpanded text.
  unsigned options = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol;
  if (!doc.load_buffer(svg.data(), svg.size(), options, pugi::encoding_utf8)) return {};
  pugi::xml_node root = doc.document_element();
  if (std::strcmp(root.name(), "svg") != 0) return {};
  Clean(root, true);
  // Whatever besides the root sits at the top (nothing, as read) goes too.
  for (pugi::xml_node n = doc.first_child(); n;) {
    pugi::xml_node next = n.next_sibling();
    if (n != root) doc.remove_child(n);
    n = next;
  }
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

}  // namespace qp::draw
