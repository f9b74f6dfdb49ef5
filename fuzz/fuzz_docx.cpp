// The .docx reader and the HTML export on arbitrary bytes: opening either
// works or raises the engine's own error, and an opened document always
// renders. Anything else (a crash, a foreign exception, a hang) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "generate/word/docx_content.h"
#include "generate/word/html_export.h"
#include "generate/word/style_fonts.h"
#include "text/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    qp::word::DocxContent doc(std::move(bytes));
    const qp::word::StyleFonts fonts;
    (void)qp::word::RenderHtml(doc, fonts, u"fuzz", u"shift_jis");
  } catch (const qp::RuntimeError&) {
  } catch (const qp::Failure&) {
  }
  return 0;
}
