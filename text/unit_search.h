// Searches over UTF-16 code units, eight units per step. The 1-based helpers
// of ustring.h are built on these; they take and give 0-based indexes and
// npos, and are not meant for the passes themselves.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace qp::units {

// Index of the first `c` at or after `from`, npos when none.
std::size_t FindUnit(std::u16string_view text, char16_t c, std::size_t from);

// Index of the first occurrence of `find` (not empty) beginning at or after
// `from`, npos when none. Compares code units exactly.
std::size_t FindUnits(std::u16string_view text, std::u16string_view find, std::size_t from);

// Two places of a marker: the units allowed at its first and at its second
// character (one each for an exact search, both cases when case is ignored).
struct UnitPair {
  std::vector<char16_t> first;
  std::vector<char16_t> second;
};

// Ascending indexes of every start where some pair occurs: a superset of the
// starts of the markers they were taken from, found eight starts at a time.
std::vector<std::size_t> PairStarts(std::u16string_view text, const std::vector<UnitPair>& pairs);

}  // namespace qp::units
