// The positions of every "<" and ">" of a text, recorded in one sweep, for
// walks that ask many times where the tag around a point begins and ends.
// Several walks over the same text may share one record: each answer is a
// binary search, where a tracker that only moves forward would have to
// sweep the text again for every walk.
//
// Valid while the text keeps its length and changes only by marking (NUL
// never is a "<" or ">"): a recorded position that no longer holds its
// character is passed over, so every answer is that of a fresh search.
#pragma once

#include <algorithm>
#include <vector>

#include "text/ustring.h"
#include "text/walk.h"

namespace qp::revise {

class TagMarks {
 public:
  explicit TagMarks(const Text& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'<') opens_.push_back(static_cast<Pos>(i) + 1);
      if (text[i] == u'>') closes_.push_back(static_cast<Pos>(i) + 1);
    }
  }

  // The last "<" at or before `point`, 0 when none.
  Pos LastOpen(const Text& text, Pos point) const { return Last(text, opens_, u'<', point); }
  // The last ">" at or before `point`, 0 when none.
  Pos LastClose(const Text& text, Pos point) const { return Last(text, closes_, u'>', point); }
  // The first ">" at or after `point`, 0 when none.
  Pos NextClose(const Text& text, Pos point) const {
    for (auto it = std::lower_bound(closes_.begin(), closes_.end(), point); it != closes_.end();
         ++it) {
      if (Holds(text, *it, u'>')) return *it;
    }
    return 0;
  }

 private:
  static bool Holds(const Text& text, Pos at, char16_t c) { return CharAt(text, at) == c; }
  static Pos Last(const Text& text, const std::vector<Pos>& at, char16_t c, Pos point) {
    for (auto it = std::upper_bound(at.begin(), at.end(), point); it != at.begin();) {
      --it;
      if (Holds(text, *it, c)) return *it;
    }
    return 0;
  }

  std::vector<Pos> opens_;
  std::vector<Pos> closes_;
};

}  // namespace qp::revise
