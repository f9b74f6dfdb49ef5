// Helpers for the pass examples: texts written with visible stand-ins for the
// characters a reader cannot see, pass runners, and real pages from the corpus.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "revise/passes.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::revise::testing {

// "¶" (or "⏎") is CR LF, "↵" a lone LF, "→" a tab, "␀" a NUL, "␁" the character 1.
inline Text V(std::string_view utf8) {
  Text out;
  for (char16_t c : Utf8ToText(utf8)) {
    switch (c) {
      case u'¶':
      case u'⏎':
        out += u"\r\n";
        break;
      case u'↵':
        out += u'\n';
        break;
      case u'→':
        out += u'\t';
        break;
      case u'␀':
        out += u'\0';
        break;
      case u'␁':
        out += u'\x01';
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The reverse, for readable failure messages.
inline std::string Show(TextView text) {
  Text out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      out += u'¶';
      ++i;
    } else if (c == u'\n') {
      out += u'↵';
    } else if (c == u'\t') {
      out += u'→';
    } else if (c == 0) {
      out += u'␀';
    } else if (c == 1) {
      out += u'␁';
    } else {
      out += c;
    }
  }
  return TextToUtf8(out);
}

struct Example {
  std::string input;
  std::string expected;
};

using PassOnState = std::function<void(RevisionState&)>;

// Runs `pass` over `input` placed in `buffer` and returns that buffer.
inline Text Run(const PassOnState& pass, Text RevisionState::*buffer, const Text& input) {
  RevisionState st;
  st.*buffer = input;
  pass(st);
  return st.*buffer;
}

inline void ExpectExamples(const PassOnState& pass, Text RevisionState::*buffer,
                           const std::vector<Example>& examples) {
  for (const Example& e : examples) {
    const Text got = Run(pass, buffer, V(e.input));
    EXPECT_EQ(Show(got), Show(V(e.expected))) << "input: " << e.input;
  }
}

// The failure a pass ends in, or none.
struct Outcome {
  bool failed = false;
  std::string location;
  int step = 0;
  std::int32_t code = 0;
};

inline Outcome Attempt(const std::function<void()>& body) {
  Outcome o;
  try {
    body();
  } catch (const Failure& f) {
    o = {true, f.location(), f.step(), f.code()};
  }
  return o;
}

inline void ExpectFailure(const PassOnState& pass, Text RevisionState::*buffer,
                          std::string_view input, std::string_view location, std::int32_t code,
                          int step = 0) {
  RevisionState st;
  st.*buffer = V(input);
  const Outcome o = Attempt([&] { pass(st); });
  ASSERT_TRUE(o.failed) << "no failure for: " << input;
  EXPECT_EQ(o.location, location) << input;
  EXPECT_EQ(o.code, code) << input;
  if (step != 0) {
    EXPECT_EQ(o.step, step) << input;
  }
}

inline bool HasNulOrOne(TextView text) {
  return text.find(u'\0') != TextView::npos || text.find(u'\x01') != TextView::npos;
}

// A page Word saved, read as the revision reads it: code page 932 unless it
// starts with a UTF-8 byte-order mark, every lone LF made CR LF.
inline Text ReadPage(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const bool utf8 = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  const Text text = utf8 ? Utf8ToText(std::string_view(bytes).substr(3)) : Cp932ToText(bytes);
  Text out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
    out += text[i];
  }
  return out;
}

// Every page under the corpus's wordhtml folder (supporting files included:
// they are Word's HTML too), in a stable order.
inline std::vector<std::filesystem::path> CorpusPages() {
  std::vector<std::filesystem::path> pages;
  const std::filesystem::path root = std::filesystem::path(QP_CORPUS_DIR) / "wordhtml";
  if (!std::filesystem::exists(root)) return pages;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const auto ext = entry.path().extension();
    if (entry.is_regular_file() && (ext == ".htm" || ext == ".html")) pages.push_back(entry.path());
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

}  // namespace qp::revise::testing
