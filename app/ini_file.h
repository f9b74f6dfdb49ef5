// An INI file held as its lines, read and changed the way the Windows profile
// functions do it: section and key names match without regard to case, blanks
// around names and values are dropped, a new key goes to the end of its
// section and a new section to the end of the file. Every line that is not
// changed keeps its exact bytes (comments, unknown keys, CR LF or LF ends,
// bytes that do not decode).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "text/codec.h"
#include "text/ustring.h"

namespace qp::app {

class IniFile {
 public:
  // `bytes` is the file in code page 932.
  static IniFile Parse(std::string_view bytes);

  // The value of the first `key` in the first `section`, blanks (and one pair
  // of enclosing quotes) removed; nothing when either is missing.
  std::optional<Text> Get(TextView section, TextView key) const;

  // Sets key=value, adding the key or the section when missing. Refuses
  // (false, nothing changed) names that could not be read back as the same
  // entry and values that would break the line.
  bool Set(TextView section, TextView key, TextView value);

  Bytes Serialize() const;

 private:
  struct Line {
    Bytes bytes;  // the line without its end, exactly as read
    Bytes end;    // "\r\n", "\n" or "" (last line without an end)
    Text text;    // the decoded line, for matching only
  };

  // Index of the header line of `section`, or npos.
  std::size_t FindSection(TextView section) const;
  // Index of `key` in the section whose header is at `header`, or npos.
  std::size_t FindKey(std::size_t header, TextView key) const;
  // The line ending new lines get: that of the file's first line, else CR LF.
  Bytes NewLineEnd() const;

  std::vector<Line> lines_;
};

}  // namespace qp::app
