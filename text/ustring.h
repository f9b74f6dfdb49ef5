// 1-based text helpers. Every position the revision counts goes through these;
// only this layer converts to 0-based indexes. "Not found" is 0.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qp {

using Text = std::u16string;
using TextView = std::u16string_view;
using Pos = long;  // 1-based character position; 0 = not found / none

// Binary compares character codes exactly; TextCompare ignores the case of
// ASCII letters (and full-width Latin letters), as the profile and link
// searches need.
enum class Compare { Binary = 0, TextCompare = 1 };

inline Pos Len(TextView t) { return static_cast<Pos>(t.size()); }

// First occurrence of `find` beginning at or after `start` (start >= 1).
// An empty `find` yields `start` when start <= Len(text) + 1.
Pos InStr(Pos start, TextView text, TextView find, Compare cmp = Compare::Binary);
inline Pos InStr(TextView text, TextView find, Compare cmp = Compare::Binary) {
  return InStr(1, text, find, cmp);
}

// First occurrence beginning at or after `start` and before `limit`; 0 when
// there is none in that stretch. Searches whose hit only counts ahead of a
// known position stop there instead of running to the end of the text.
Pos InStrBefore(Pos start, TextView text, TextView find, Pos limit);

// Every occurrence of each of `finds` (overlapping ones included), as
// ascending positions, found in one sweep over the text.
std::vector<std::vector<Pos>> InStrAll(TextView text, const std::vector<Text>& finds,
                                       Compare cmp = Compare::Binary);

// Last occurrence lying wholly at or before `start`; start < 0 means the end.
Pos InStrRev(TextView text, TextView find, Pos start = -1, Compare cmp = Compare::Binary);

// Characters from `start` (1-based), at most `length` of them (< 0: to the end).
Text Mid(TextView text, Pos start, Pos length = -1);
Text Left(TextView text, Pos length);
Text Right(TextView text, Pos length);

// Every non-overlapping occurrence, left to right, in one sweep; inserted text
// is not searched again. An empty `find` changes nothing.
Text Replace(TextView text, TextView find, TextView with, Compare cmp = Compare::Binary);
// In-place form; returns the number of replacements.
std::size_t ReplaceAll(Text& text, TextView find, TextView with, Compare cmp = Compare::Binary);

// True when `find` occurs at `pos` (1-based).
bool MatchAt(TextView text, Pos pos, TextView find, Compare cmp = Compare::Binary);

// Deletion by marking: overwrite `length` characters from `start` with NUL,
// clamped to the end of the text (the text never grows).
void MarkDeleted(Text& text, Pos start, Pos length);
// Marks the stretch start..end inclusive.
inline void MarkRange(Text& text, Pos start, Pos end) { MarkDeleted(text, start, end - start + 1); }
// Removes every NUL; returns true when any was removed.
bool Compact(Text& text);

// Blanks (U+0020 only) trimmed, as the revision's trims do.
Text Trim(TextView text);
Text TrimLeft(TextView text);
Text TrimRight(TextView text);

// Cut at every `separator` (no limit); an empty text gives one empty piece.
std::vector<Text> Split(TextView text, TextView separator);

bool EqualsNoCase(TextView a, TextView b);
char16_t FoldCase(char16_t c);
Text LowerCase(TextView text);

// ASCII literal to Text, for markers written in the code as plain strings.
Text T(std::string_view ascii);

}  // namespace qp
