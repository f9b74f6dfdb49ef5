// The corpus written by others: every usable .docx and .doc exports; the
// ones listed as bad end in a raised error, never a crash or a hang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "generate/word/doc_convert.h"
#include "generate/word/engine_document.h"
#include "tests/corpus.h"
#include "text/failure.h"

namespace qp::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> BadFiles() {
  std::set<std::string> bad;
  std::ifstream in(QP_CORPUS_DIR "/MANIFEST_bad.tsv");
  std::string line;
  while (std::getline(in, line)) bad.insert(line.substr(0, line.find('\t')));
  return bad;
}

void ExportFolder(const std::string& folder) {
  fs::path dir = fs::path(QP_CORPUS_DIR) / folder;
  QP_NEED_CORPUS(folder);
  if (folder == "doc") QP_NEED(word::FindConverter().empty() ? "no LibreOffice" : "");
  std::set<std::string> bad = BadFiles();
  fs::path out = fs::temp_directory_path() / ("qp-word-corpus-" + folder);
  fs::create_directories(out);
  int exported = 0, refused = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    std::string name = folder + "/" + e.path().filename().string();
    bool expectBad = bad.count(name) > 0;
    try {
      word::Notes notes;
      word::EngineDocument doc(word::LoadDocumentBytes(e.path(), notes));
      word::Font& normal = doc.StyleFont(u"標準");
      normal.Name = normal.NameFarEast;
      doc.SaveAs(out / "page.htm", word::kFormatHtml);
      ++exported;
      EXPECT_TRUE(fs::file_size(out / "page.htm") > 0) << name;
    } catch (const RuntimeError& err) {
      ++refused;
      EXPECT_TRUE(expectBad) << name << " raised " << err.code();
    }
    fs::remove_all(out / "page.files");
  }
  fs::remove_all(out);
  std::printf("%s: %d exported, %d refused with an error\n", folder.c_str(), exported, refused);
  EXPECT_GT(exported, 0);
}

TEST(WordCorpus, EveryUsableDocxExports) {
  ExportFolder("docx");
}
TEST(WordCorpus, EveryUsableDocExportsThroughLibreOffice) {
  ExportFolder("doc");
}

}  // namespace
}  // namespace qp::test
