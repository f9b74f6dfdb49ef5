// Whole pages through the revision, compared byte for byte: real pages Word
// saved, each page's expected output known by its length and hash (listed in
// golden.tsv, so no corpus text lives in the project).
//
// Regenerate after a reviewed change:
//   QP_REGENERATE_GOLDEN=1 build/tests/revise/revise_tests --gtest_filter='Golden.*'
// writes every output and a new manifest to build/golden/; review the pages
// line by line, then copy build/golden/golden.tsv over tests/revise/golden.tsv.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "driver_fixture.h"
#include "revise/passes.h"
#include "tests/corpus.h"

namespace qp::revise {
namespace {

namespace fs = std::filesystem;
using test::S;
using test::V;

std::uint64_t Fnv1a64(const std::string& bytes) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 0x100000001b3ULL;
  }
  return h;
}

struct GoldenCase {
  std::string page;     // under corpus/wordhtml
  std::string options;  // "utf8", "centering", "fixwidth", "nofont", "noindent", comma-separated
  std::size_t length = 0;
  std::uint64_t hash = 0;
};

std::vector<GoldenCase> ReadManifest() {
  std::vector<GoldenCase> cases;
  std::istringstream in(test::ReadBytes(fs::path(QP_TEST_DATA_DIR).parent_path() / "golden.tsv"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    GoldenCase c;
    std::istringstream fields(line);
    std::string length, hash;
    std::getline(fields, c.page, '\t');
    std::getline(fields, c.options, '\t');
    std::getline(fields, length, '\t');
    std::getline(fields, hash, '\t');
    c.length = std::stoull(length);
    c.hash = std::stoull(hash, nullptr, 16);
    cases.push_back(c);
  }
  return cases;
}

// The page bytes as quillpage-revise writes them.
std::string Revise(const GoldenCase& c) {
  PageInfoRecord info = test::DefaultInfo();
  RevisionContext context;
  const auto has = [&](const char* o) { return c.options.find(o) != std::string::npos; };
  if (has("utf8")) context.Encod = 1;
  if (has("centering")) info.Centering = 1;
  if (has("fixwidth")) {
    info.FixWidth = 1;
    info.TextWidth = 425.2f;
  }
  if (has("nofont")) info.FontSizeFlag = 0;
  if (has("noindent")) info.IndentFlag = 0;
  info.PageTitle = u"Title \"quoted\" & <b>";
  Text page = test::LoadPage(fs::path(QP_CORPUS_DIR) / "wordhtml" / c.page);
  Rev_Html_State(page, info, context);
  const std::string sjis = TextToCp932(page + u"\r\n");
  return context.Encod == 1 ? "\xEF\xBB\xBF" + TextToUtf8(Cp932ToText(sjis)) : sjis;
}

TEST(Golden, CorpusPagesReviseToTheReviewedBytes) {
  QP_NEED_CORPUS("wordhtml");
  const bool regenerate = std::getenv("QP_REGENERATE_GOLDEN") != nullptr;
  const fs::path outDir = fs::path(QP_BINARY_DIR) / "golden";
  std::string manifest = "# page\toptions\tbytes\tfnv1a64 of the output\n";
  if (regenerate) fs::create_directories(outDir);
  int n = 0;
  for (const GoldenCase& c : ReadManifest()) {
    const std::string out = Revise(c);
    char row[64];
    std::snprintf(row, sizeof row, "\t%zu\t%016" PRIx64 "\n", out.size(), Fnv1a64(out));
    manifest += c.page + "\t" + c.options + row;
    if (regenerate) {
      std::ofstream(outDir / (std::to_string(++n) + "-" + fs::path(c.page).filename().string()),
                    std::ios::binary)
          << out;
      continue;
    }
    EXPECT_EQ(out.size(), c.length) << c.page << " " << c.options;
    EXPECT_EQ(Fnv1a64(out), c.hash) << c.page << " " << c.options;
  }
  if (regenerate) std::ofstream(outDir / "golden.tsv", std::ios::binary) << manifest;
}

}  // namespace
}  // namespace qp::revise
