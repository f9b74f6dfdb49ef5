// The head of the page as Word writes it: the html element with the Office
// namespaces, the metas, the title, the document properties and the style
// block (fonts, styles, pages).
#pragma once

#include "generate/word/body_writer.h"
#include "generate/word/style_fonts.h"

namespace qp::word {

// `charset` is the name in the content-type meta ("shift_jis", "utf-8").
Text WriteHead(const ExportState& state, const StyleFonts& fonts, TextView charset);

}  // namespace qp::word
