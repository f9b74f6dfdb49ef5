// Prefix-free access to DrawingML, VML and chart XML: documents bind the
// same namespaces to different prefixes (c:, cdr:, a:, dsp:), so elements
// are found by their local name.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace qp::draw {

// The name after the colon.
std::string_view LocalName(pugi::xml_node node);
// The first child element with this local name; an empty node if none.
pugi::xml_node Child(pugi::xml_node node, std::string_view local);
// Follows a path of local names: Path(n, {"tx", "rich"}).
pugi::xml_node Path(pugi::xml_node node, std::initializer_list<std::string_view> locals);
// An attribute by local name (val, w:val, r:id).
pugi::xml_attribute Attr(pugi::xml_node node, std::string_view local);
// The attribute as a number; `fallback` when absent or not a finite number.
double AttrNumber(pugi::xml_node node, std::string_view local, double fallback);
// The `val` attribute of a child (<c:grouping val="stacked"/>).
std::string_view ChildVal(pugi::xml_node node, std::string_view local);
// A boolean `val` child: true, 1, on; absent means `fallback`, present without
// a value means true.
bool ChildFlag(pugi::xml_node node, std::string_view local, bool fallback);
// The text of every descendant with this local name, in order (a:t, w:t).
std::string TextOf(pugi::xml_node node, std::string_view local);
// A finite number from text, or `fallback`.
double ToNumber(std::string_view text, double fallback);

// The input parsed for reading; false for text that is not well-formed XML.
bool ParseXml(pugi::xml_document& doc, std::string_view xml);

}  // namespace qp::draw
