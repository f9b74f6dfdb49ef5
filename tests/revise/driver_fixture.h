// Fixture texts for the driver's tests, written with visible stand-ins:
// "⏎" is CR LF, "→" a tab, "␀" NUL and "␁" the code-1 mark.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "revise/state.h"
#include "text/codec.h"
#include "text/line_ends.h"
#include "fixtures.h"

namespace qp::revise::test {

// The driver's fixtures write CR LF as "⏎"; the pass examples' helpers read
// it as well as their own "¶".
using testing::V;
inline std::string S(TextView text) {
  std::string shown = testing::Show(text);
  for (std::size_t at = shown.find("¶"); at != std::string::npos; at = shown.find("¶", at))
    shown.replace(at, std::string("¶").size(), "⏎");
  return shown;
}

inline RevisionState StateWithPage(std::string_view page) {
  RevisionState st;
  st.PageText = V(page);
  return st;
}

}  // namespace qp::revise::test

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace qp::revise::test {

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

// A page as quillpage-revise reads it when told its encoding: UTF-8 when it
// says so near its start (or has a byte-order mark), else Shift-JIS; lone LF
// as CR LF.
inline Text LoadPage(const std::filesystem::path& path) {
  const std::string bytes = ReadBytes(path);
  Text text;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    text = Utf8ToText(bytes.substr(3));
  } else if (bytes.substr(0, 4096).find("charset=utf-8") != std::string::npos) {
    text = Utf8ToText(bytes);
  } else {
    text = Cp932ToText(bytes);
  }
  return LoneLfToCrLf(text);
}

using testing::CorpusPages;

inline PageInfoRecord DefaultInfo() {
  PageInfoRecord info;
  info.LayoutGrid = 1;
  info.IndentFlag = 1;
  info.FontSizeFlag = 1;
  info.BodyMargin = 1;
  return info;
}

}  // namespace qp::revise::test
