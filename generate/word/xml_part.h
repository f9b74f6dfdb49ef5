// XML parts of a package, parsed with pugixml. Markup declarations are
// refused outright: a part that carries a DOCTYPE is not one Word wrote, and
// entity tricks start there.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "text/ustring.h"

namespace qp::word {

// Raises kFileCorrupt for a DOCTYPE or a part that is not well-formed XML;
// the failure's text names the part and, for broken XML, pugixml's offset
// and description.
void ParseXmlPart(pugi::xml_document& doc, const std::string& bytes, const std::string& partName);

// The element's local name (after its prefix), so that a part written with
// other prefixes than Word's still reads.
std::string_view LocalName(const pugi::xml_node& node);
std::string_view LocalName(const pugi::xml_attribute& attr);

// First child / attribute by local name; empty when missing.
pugi::xml_node Child(const pugi::xml_node& node, std::string_view local);
pugi::xml_attribute Attr(const pugi::xml_node& node, std::string_view local);
// The w:val attribute of the named child, or `fallback` when either is missing.
std::string ChildVal(const pugi::xml_node& node, std::string_view local,
                     std::string_view fallback = {});
// An on/off property (<w:b/>, <w:b w:val="0"/>): -1 absent, 0 off, 1 on.
int Toggle(const pugi::xml_node& props, std::string_view local);
// A whole-number attribute; `fallback` when missing or not a number.
long AttrLong(const pugi::xml_node& node, std::string_view local, long fallback = 0);

Text U(std::string_view utf8);

// The element's XML with the namespace declarations of its ancestors, so
// that it reads as a document of its own (for the drawing worker).
std::string FragmentXml(const pugi::xml_node& node);

}  // namespace qp::word
