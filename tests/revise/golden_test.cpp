// Whole pages through the revision, compared with reviewed expectations:
// real pages Word saved (golden.tsv lists them with their options), each
// expected page kept in golden/ as a sketch that a person can read and a
// diff can show, without any of the corpus's text in the project. A sketch
// holds the page's byte count and hash, then one line per page line: the
// line's digest, then the line with the document's words as "w" and the
// attribute values that hold its text or name its files as "v". Markup,
// blanks, references and the style rules (the program's own) stand as
// written, so a change in what the revision writes shows in the diff.
//
// After a reviewed change:
//   QP_UPDATE_GOLDENS=1 build/tests/revise/revise_tests --gtest_filter='Golden.*'
//   git diff tests/revise/golden
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "driver_fixture.h"
#include "revise/passes.h"
#include "tests/corpus.h"

namespace qp::revise {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(QP_TEST_DATA_DIR).parent_path() / "golden";

std::uint64_t Fnv1a64(std::string_view bytes) {
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

  // golden/<folder>-<page>[.<options>].txt
  std::string FileName() const {
    std::string stem = fs::path(page).replace_extension().string();
    std::replace(stem.begin(), stem.end(), '/', '-');
    return stem + (options.empty() ? "" : "." + options) + ".txt";
  }
};

std::vector<GoldenCase> ReadCases() {
  std::vector<GoldenCase> cases;
  std::istringstream in(test::ReadBytes(kGoldenDir.parent_path() / "golden.tsv"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    GoldenCase c;
    std::istringstream fields(line);
    std::getline(fields, c.page, '\t');
    std::getline(fields, c.options, '\t');
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

// Attributes whose values come from the document: its links, pictures,
// their texts and its shapes' names (the sections' ids are the program's).
bool HoldsDocumentText(TextView name, TextView value) {
  static const TextView kNames[] = {u"href",  u"src",        u"alt",      u"title", u"name",
                                    u"value", u"background", u"longdesc", u"id"};
  const Text lower = LowerCase(name);
  if (lower == u"id" && value.starts_with(u"divsec")) return false;
  return std::find(std::begin(kNames), std::end(kNames), lower) != std::end(kNames);
}

// One tag from its "<" at `i`, with the values of HoldsDocumentText as "v".
std::size_t SketchTag(TextView line, std::size_t i, Text& out) {
  Text name;
  while (i < line.size() && line[i] != u'>') {
    const char16_t c = line[i];
    if (c == u'=') {
      const char16_t quote = i + 1 < line.size() ? line[i + 1] : 0;
      const bool quoted = quote == u'"' || quote == u'\'';
      const std::size_t start = i + (quoted ? 2 : 1);
      std::size_t end = start;
      while (end < line.size() &&
             (quoted ? line[end] != quote : line[end] != u' ' && line[end] != u'>')) {
        ++end;
      }
      if (HoldsDocumentText(name, line.substr(start, end - start))) {
        out += quoted ? Text{u'=', quote, u'v', quote} : Text(u"=v");
        i = quoted && end < line.size() ? end + 1 : end;
        name.clear();
        continue;
      }
    }
    name = c == u' ' || c == u'<' ? Text() : name + c;
    out += c;
    ++i;
  }
  if (i < line.size()) out += line[i++];
  return i;
}

// The length of the character reference at `i` ("&nbsp;", "&#65533;"), or 0.
std::size_t ReferenceAt(TextView line, std::size_t i) {
  if (line[i] != u'&') return 0;
  std::size_t end = i + 1;
  while (end < line.size() && end - i < 10 &&
         ((line[end] >= u'a' && line[end] <= u'z') || (line[end] >= u'A' && line[end] <= u'Z') ||
          (line[end] >= u'0' && line[end] <= u'9') || line[end] == u'#')) {
    ++end;
  }
  return end < line.size() && line[end] == u';' && end > i + 1 ? end + 1 - i : 0;
}

Text Sketch(TextView line) {
  Text out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == u'<') {
      i = SketchTag(line, i, out);
    } else if (std::size_t ref = ReferenceAt(line, i); ref != 0 || line[i] == u' ') {
      ref = std::max<std::size_t>(ref, 1);
      out += line.substr(i, ref);
      i += ref;
    } else {
      while (i < line.size() && line[i] != u'<' && line[i] != u' ' && ReferenceAt(line, i) == 0) {
        ++i;
      }
      out += u'w';
    }
  }
  return out;
}

std::string Sketch(const GoldenCase& c, const std::string& bytes) {
  char head[160];
  std::snprintf(head, sizeof head, "# %s%s%s: %zu bytes, fnv1a64 %016" PRIx64 "\n", c.page.c_str(),
                c.options.empty() ? "" : " ", c.options.c_str(), bytes.size(), Fnv1a64(bytes));
  std::string out = head;
  const bool utf8 = c.options.find("utf8") != std::string::npos;
  const Text text = utf8 ? Utf8ToText(std::string_view(bytes).substr(3)) : Cp932ToText(bytes);
  bool inStyle = false;
  for (const Text& line : Split(text, u"\r\n")) {
    char digest[16];
    std::snprintf(digest, sizeof digest, "%08" PRIx32 " ",
                  static_cast<std::uint32_t>(Fnv1a64(TextToUtf8(line))));
    if (line.starts_with(u"</style>")) inStyle = false;
    out += digest + TextToUtf8(inStyle ? line : Sketch(line)) + "\n";
    if (line.starts_with(u"<style")) inStyle = true;
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The lines that differ, with their line numbers, by a longest common
// subsequence of the two sketches; at most `limit` lines.
std::string LineDiff(const std::string& expected, const std::string& actual, int limit = 40) {
  const std::vector<std::string> a = Lines(expected), b = Lines(actual);
  std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1, 0));
  for (std::size_t i = a.size(); i-- > 0;) {
    for (std::size_t j = b.size(); j-- > 0;) {
      common[i][j] =
          a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  std::string out;
  std::size_t i = 0, j = 0;
  const auto line = [&](char sign, std::size_t n, const std::string& text) {
    if (limit-- > 0) out += sign + std::to_string(n + 1) + "\t" + text + "\n";
  };
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      ++i, ++j;
    } else if (i < a.size() && (j == b.size() || common[i + 1][j] >= common[i][j + 1])) {
      line('-', i, a[i]), ++i;
    } else {
      line('+', j, b[j]), ++j;
    }
  }
  if (limit < 0) out += "... and " + std::to_string(-limit) + " more lines\n";
  return out;
}

TEST(Golden, CorpusPagesReviseToTheReviewedPages) {
  QP_NEED_CORPUS("wordhtml");
  const bool update = std::getenv("QP_UPDATE_GOLDENS") != nullptr;
  const std::vector<GoldenCase> cases = ReadCases();
  ASSERT_FALSE(cases.empty());
  for (const GoldenCase& c : cases) {
    const std::string sketch = Sketch(c, Revise(c));
    const fs::path file = kGoldenDir / c.FileName();
    if (update) std::ofstream(file, std::ios::binary) << sketch;
    const std::string expected = test::ReadBytes(file);
    EXPECT_TRUE(expected == sketch) << c.FileName() << " differs (- expected, + written):\n"
                                    << LineDiff(expected, sketch);
  }
}

TEST(Golden, SketchKeepsMarkupAndHidesTheDocumentsText) {
  EXPECT_EQ(TextToUtf8(Sketch(u"<p class=\"c1\">日本語の 文&nbsp;&nbsp;text<br>x&amp;y</p>")),
            "<p class=\"c1\">w w&nbsp;&nbsp;w<br>w&amp;w</p>");
  EXPECT_EQ(TextToUtf8(Sketch(u"<a href=\"a b.htm\" name=x><img src='i.png' alt=\"t\" "
                              u"width=\"9\" id=\"図 1\"></a><div id=\"divsec1\"> & <")),
            "<a href=\"v\" name=v><img src='v' alt=\"v\" width=\"9\" id=\"v\"></a>"
            "<div id=\"divsec1\"> w <");
}

}  // namespace
}  // namespace qp::revise
