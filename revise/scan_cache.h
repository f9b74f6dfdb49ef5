// Searches for walks that only move forward over a text they delete from by
// marking (marks turn characters into NUL and never create a marker). They
// give the same answers as a fresh InStrRev or InStr at each point without
// searching the same stretch again, so a walk over many thousands of
// attributes stays linear.
#pragma once

#include "text/ustring.h"

namespace qp::revise {

// The last `marker` lying wholly at or before a point that never moves back.
// Marks may be made ahead of the point between calls, never behind it.
class LastSeen {
 public:
  explicit LastSeen(TextView marker) : marker_(marker) {}

  Pos At(const Text& text, Pos point) {
    for (;;) {
      if (!known_) {
        next_ = InStr(from_, text, marker_);
        known_ = true;
      } else if (next_ != 0 && !MatchAt(text, next_, marker_)) {
        next_ = InStr(next_ + 1, text, marker_);  // marked since it was found
      }
      if (next_ == 0 || next_ + Len(marker_) - 1 > point) return last_;
      last_ = next_;
      from_ = next_ + 1;
      known_ = false;
    }
  }

 private:
  Text marker_;
  Pos last_ = 0;
  Pos from_ = 1;
  Pos next_ = 0;
  bool known_ = false;
};

// The first `marker` at or after a point that never moves back.
class NextSeen {
 public:
  explicit NextSeen(TextView marker) : marker_(marker) {}

  Pos From(const Text& text, Pos point) {
    if (searched_ && (next_ == 0 || (next_ >= point && MatchAt(text, next_, marker_)))) {
      return next_;
    }
    next_ = InStr(searched_ && next_ >= point ? next_ + 1 : point, text, marker_);
    searched_ = true;
    return next_;
  }

 private:
  Text marker_;
  Pos next_ = 0;
  bool searched_ = false;
};

}  // namespace qp::revise
