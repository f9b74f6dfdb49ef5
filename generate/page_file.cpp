// Writing the finished page: code page 932 first, UTF-8 with a byte-order
// mark when the user chose it. Each write replaces the page in one step.
#include "generate/assembly_steps.h"
#include "generate/file_patterns.h"
#include "generate/generation.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::gen {

void WritePage(const Text& path, const Text& page) {
  // Characters without a code page 932 form become "&#N;", so nothing of the
  // text is lost.
  Bytes bytes = TextToCp932(page);
  bytes += "\r\n";
  RemoveStaleTemporaries(ToPath(path));
  ReplaceFileContent(ToPath(path), bytes);
}

// "Mod_HtmlRev -> Cnv_Encode"
void Cnv_Encode(const Text& path) {
  Trap trap("Mod_HtmlRev -> Cnv_Encode");
  try {
    trap.Step(1);
    const fs::path file = ToPath(path);
    const Text text = Cp932ToText(ReadWholeFile(file));

    trap.Step(2);
    Bytes bytes = "\xEF\xBB\xBF";
    bytes += TextToUtf8(text);

    trap.Step(4);
    ReplaceFileContent(file, bytes);
  } catch (...) {
    trap.Fail();
  }
}

}  // namespace qp::gen
