// The code page 932 converters against their direct form: every BMP
// character, every one- and two-byte sequence, random mixtures, and the
// pages of the corpus.
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "codec_direct.h"
#include "tests/corpus.h"

namespace qp {
namespace {

TEST(Cp932Differential, EveryBmpCharacterAndLoneSurrogates) {
  Text all;
  for (char32_t c = 1; c < 0x10000; ++c) {
    all.push_back(static_cast<char16_t>(c));
    all.push_back(u'x');  // keeps surrogates lone
  }
  ASSERT_EQ(TextToCp932(all), direct::TextToCp932(all));
  // pairs, a pair split by the end, a low surrogate first
  const Text odd = u"a\U0001F600b\xDC00\xD83D\xDE00\xD800";
  EXPECT_EQ(TextToCp932(odd), direct::TextToCp932(odd));
}

TEST(Cp932Differential, EveryOneAndTwoByteSequence) {
  std::string all;
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const std::string two{static_cast<char>(a), static_cast<char>(b)};
      all += two;
      ASSERT_EQ(Cp932ToText(two), direct::Cp932ToText(two)) << a << " " << b;
    }
  }
  EXPECT_EQ(Cp932ToText(all), direct::Cp932ToText(all));
  EXPECT_EQ(Cp932ToText(all.substr(1)), direct::Cp932ToText(all.substr(1)));
}

TEST(Cp932Differential, RandomMixtures) {
  std::mt19937 rng(932);
  const std::u16string pool =
      u"a<>&\r\n 日本語ｶﾅ\u00E9\u00A5\u2014\u301C\uFF5E\uFFFD\xD83D\xDE00\xDC00";
  for (int round = 0; round < 300; ++round) {
    Text t;
    std::string b;
    const int n = static_cast<int>(rng() % 9000);
    for (int i = 0; i < n; ++i) {
      t.push_back(pool[rng() % pool.size()]);
      b.push_back(static_cast<char>(rng() % 4 == 0 ? rng() % 256 : 'a' + rng() % 3));
    }
    ASSERT_EQ(TextToCp932(t), direct::TextToCp932(t)) << round;
    ASSERT_EQ(Cp932ToText(b), direct::Cp932ToText(b)) << round;
  }
}

TEST(Cp932Differential, CorpusPages) {
  namespace fs = std::filesystem;
  const fs::path corpus = fs::path(QP_CORPUS_DIR) / "wordhtml";
  QP_NEED_CORPUS("wordhtml");
  int pages = 0;
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".htm" && ext != ".html")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    const std::string bytes = data.str();
    // read as Shift-JIS whatever they are, as the tool does without options
    const Text text = Cp932ToText(bytes);
    ASSERT_EQ(text, direct::Cp932ToText(bytes)) << entry.path();
    ASSERT_EQ(TextToCp932(text), direct::TextToCp932(text)) << entry.path();
    const Text utf8 = Utf8ToText(bytes);
    ASSERT_EQ(TextToCp932(utf8), direct::TextToCp932(utf8)) << entry.path();
    ++pages;
  }
  EXPECT_GT(pages, 0);
}

}  // namespace
}  // namespace qp
