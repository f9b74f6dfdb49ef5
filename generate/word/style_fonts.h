// The font of a style as the object model shows it (Styles(name).Font),
// resolved through the document defaults and the style's ancestors. Fonts
// the caller has taken (and perhaps changed) override what the file says,
// for the style and for every style based on it.
#pragma once

#include <map>
#include <string>

#include "generate/word/docx_content.h"
#include "generate/word/word_app.h"

namespace qp::word {

using StyleFonts = std::map<std::string, Font>;  // by style id

Font ResolveStyleFont(const DocxContent& doc, const std::string& styleId, const StyleFonts& taken);

}  // namespace qp::word
