// One export of a document as Word's HTML: the body and head written into
// one text, encoded as the web options ask, and the pictures beside it.
#pragma once

#include <filesystem>
#include <vector>

#include "generate/word/docx_content.h"
#include "generate/word/pictures.h"
#include "generate/word/style_fonts.h"
#include "generate/word/word_app.h"

namespace qp::word {

struct RenderedPage {
  Text html;  // with CR LF line ends
  std::vector<PictureFile> pictures;
  std::vector<Text> notes;  // what the page lacks or holds in another form
};

// The page for a file named `stem` + ".htm" (pictures referenced as
// "stem.files/image001.png"). `charset` names the encoding in the head.
// Drawings are drawn by `drawer` (the document's, perhaps started already),
// or by a drawer of this page's own.
RenderedPage RenderHtml(DocxContent& doc, const StyleFonts& fonts, const Text& stem,
                        TextView charset, draw::Drawer* drawer = nullptr);

// Writes `fileName` and its folder STEM.files. Encoding 932 writes
// Shift-JIS (characters without a form there as "&#N;"); 65001 and every
// other value write UTF-8. Raises kSaveFailed when a file cannot be written.
// The export's notes are added to `notes`.
void ExportHtml(DocxContent& doc, const StyleFonts& fonts, const WebOptions& options,
                const std::filesystem::path& fileName, Notes& notes, draw::Drawer& drawer);

}  // namespace qp::word
