// The occurrences of one marker for a walk that only moves forward over a
// text being marked. Either searched afresh at each step, or taken from a
// record made in one sweep for several markers at once; marks never create a
// marker, so a recorded occurrence that still matches is exactly what a
// fresh search would find.
#pragma once

#include <vector>

#include "text/ustring.h"

namespace qp::revise {

class Occurrences {
 public:
  explicit Occurrences(TextView marker, Compare cmp = Compare::Binary)
      : marker_(marker), cmp_(cmp) {}

  // One record per marker, all made in one sweep over `text`.
  static std::vector<Occurrences> Record(const Text& text, const std::vector<Text>& markers,
                                         Compare cmp = Compare::Binary) {
    std::vector<std::vector<Pos>> hits = InStrAll(text, markers, cmp);
    std::vector<Occurrences> all;
    all.reserve(markers.size());
    for (std::size_t k = 0; k < markers.size(); ++k) {
      all.emplace_back(markers[k], cmp);
      all.back().recorded_ = true;
      all.back().at_ = std::move(hits[k]);
    }
    return all;
  }

  const Text& marker() const { return marker_; }

  // The first occurrence at or after `from`, 0 when none; `from` never
  // moves back between calls.
  Pos Next(const Text& text, Pos from) {
    if (!recorded_) return InStr(from, text, marker_, cmp_);
    while (next_ < at_.size() && (at_[next_] < from || !MatchAt(text, at_[next_], marker_, cmp_))) {
      ++next_;
    }
    return next_ < at_.size() ? at_[next_] : 0;
  }

 private:
  Text marker_;
  Compare cmp_;
  bool recorded_ = false;
  std::vector<Pos> at_;
  std::size_t next_ = 0;
};

}  // namespace qp::revise
