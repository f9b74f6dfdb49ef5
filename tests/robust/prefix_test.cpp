// Every truncated prefix of real documents, each in a string of its own (so
// that the sanitizer build sees a read past the end of any longer than the
// string keeps inside itself), opens to the engine's own error and never to
// a crash or a foreign exception.
#include <gtest/gtest.h>

#include "generate/word/docx_content.h"
#include "generate/word/html_export.h"
#include "generate/word/word_app.h"
#include "tests/corpus.h"
#include "tests/robust/robust_support.h"
#include "text/failure.h"

namespace qp::robust {
namespace {

// 0 when the bytes open and render; else the raised error number.
int OpenError(std::string bytes) {
  try {
    word::DocxContent content(std::move(bytes));
    (void)word::RenderHtml(content, {}, u"prefix", u"shift_jis");
    return 0;
  } catch (const RuntimeError& e) {
    return e.code();
  } catch (const Failure& f) {
    return f.code();
  }
}

TEST(RobustPrefixes, EveryPrefixOfRealDocumentsFailsCleanly) {
  // A Japanese document with a layout grid, one with lists, one with a
  // picture: three writers, three shapes of package.
  for (const char* name :
       {"aspose_Asian_typography.docx", "pandoc_lists.docx", "tika_testWORD_1img.docx"}) {
    SCOPED_TRACE(name);
    QP_NEED_CORPUS("docx/" + std::string(name));
    const std::string whole = ReadFile(fs::path(QP_CORPUS_DIR) / "docx" / name);
    ASSERT_FALSE(whole.empty()) << "empty in the corpus";
    ASSERT_EQ(OpenError(whole), 0);
    int failures = 0;
    for (std::size_t n = 0; n < whole.size() && failures < 5; ++n) {
      // A string of its own: past the 15 bytes a string keeps inside itself,
      // its heap buffer holds just the prefix and the terminator, so the
      // sanitizer sees a read beyond the prefix's end.
      const int code = OpenError(whole.substr(0, n));
      if (code != word::err::kFileOpenFailed && code != word::err::kFileCorrupt) {
        ADD_FAILURE() << "prefix of " << n << " bytes gave error " << code;
        ++failures;
      }
    }
  }
}

// A package cut inside its entries but still holding a central directory:
// the local data are short or garbled while the directory looks fine.
TEST(RobustPrefixes, DocumentsWithDamagedEntriesFailCleanly) {
  QP_NEED_CORPUS("docx/aspose_Asian_typography.docx");
  const std::string whole =
      ReadFile(fs::path(QP_CORPUS_DIR) / "docx" / "aspose_Asian_typography.docx");
  ASSERT_FALSE(whole.empty());
  const std::size_t directory = whole.find(std::string("PK\x01\x02", 4));
  ASSERT_NE(directory, std::string::npos);
  for (std::size_t at = 0; at < directory; at += 7) {
    std::string damaged = whole;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    const int code = OpenError(damaged);
    EXPECT_TRUE(code == 0 || code == word::err::kFileOpenFailed || code == word::err::kFileCorrupt)
        << "byte " << at << " changed gave error " << code;
  }
}

}  // namespace
}  // namespace qp::robust
