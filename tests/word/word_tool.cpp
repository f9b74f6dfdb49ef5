// word_tool export IN OUT.htm [encoding]: exports a document as the engine
//   does for a run (the corpus script uses it);
// word_tool sample OUT.docx: writes the project's sample document.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "generate/word/engine_document.h"
#include "tests/word/docx_builder.h"
#include "text/codec.h"
#include "text/failure.h"

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  try {
    if (command == "sample" && argc == 3) {
      qp::test::SampleDocument().WriteTo(argv[2]);
      return 0;
    }
    if (command == "export" && argc >= 4) {
      qp::word::Notes notes;
      qp::word::EngineDocument doc(qp::word::LoadDocumentBytes(argv[2], notes));
      doc.GetWebOptions().Encoding = argc > 4 ? std::atoi(argv[4]) : 932;
      // As the run does: the Normal style's Western font becomes its East Asian one.
      qp::word::Font& normal = doc.StyleFont(u"標準");
      normal.Name = normal.NameFarEast;
      doc.SaveAs(argv[3], qp::word::kFormatHtml);
      for (const qp::Text& note : doc.notes().List()) {
        std::fprintf(stderr, "word_tool: %s\n", qp::TextToUtf8(note).c_str());
      }
      return 0;
    }
  } catch (const qp::RuntimeError& e) {
    std::fprintf(stderr, "error %d: %s\n", static_cast<int>(e.code()), e.what());
    return 2;
  }
  std::fprintf(stderr,
               "usage: word_tool export IN OUT.htm [encoding] | word_tool sample OUT.docx\n");
  return 1;
}
