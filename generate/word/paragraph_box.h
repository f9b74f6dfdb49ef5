// What a paragraph's box owes to its neighbours and its section: its line
// height on the section's grid, the space Word leaves out between
// paragraphs of one style, and the borders that neighbours with the same
// borders share, as Word draws one box round them.
#pragma once

#include <pugixml.hpp>

#include "generate/word/css.h"
#include "text/ustring.h"

namespace qp::word {

struct DocxContent;
struct StyleDef;

// The declarations the paragraph `p` (of `style`, in a section whose line
// grid has `gridPitch` points, 0 for none) adds to its own style attribute.
void ParagraphBoxDeclarations(const DocxContent& doc, const pugi::xml_node& p,
                              const StyleDef* style, double gridPitch, Declarations& out);

}  // namespace qp::word
