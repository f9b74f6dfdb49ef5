// What a metafile player wrote, made safe to hand to librsvg. libemf2svg
// puts an EMF's text into CDATA sections without escaping "]]>", so a
// hostile EMF can close the section and write markup of its own: an image
// or a use of a file, an XInclude, a style sheet. The SVG is parsed and
// written again with nothing that reaches outside the document.
#pragma once

#include <string>
#include <string_view>

namespace qp::draw {

// `svg` with every element of another namespace (XInclude, XHTML),
// every script, style sheet and foreignObject, every processing
// instruction and document type declaration, every namespace declaration
// but SVG's and XLink's on the root, every event handler and xml:base,
// every link that is not to the document itself or a PNG or JPEG data
// URL, and every url() that is not to the document itself removed. ""
// when `svg` is not well-formed XML.
std::string SafeSvg(std::string_view svg);

}  // namespace qp::draw
