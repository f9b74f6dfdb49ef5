// A forward search that remembers its last answer. Walks that search the same
// marker again and again from growing start positions (the next "</span>",
// the next "font-size:") would otherwise rescan the same stretch once per
// element and take time that grows with the square of the page.
//
// Valid only while the text changes by removing occurrences of the marker
// (marking with NUL, overwriting digits): an edit that could create a new
// occurrence in front of the remembered one must call Forget().
#pragma once

#include "text/ustring.h"

namespace qp::revise {

class Finder {
 public:
  explicit Finder(TextView marker) : marker_(marker) {}

  // The first occurrence at or after `start` in `text`, 0 when none.
  Pos Next(TextView text, Pos start) {
    if (known_ && start >= from_ && (hit_ == 0 || start <= hit_)) {
      // no occurrence lies in [from_, hit_), so none in [start, hit_)
      if (hit_ == 0 || MatchAt(text, hit_, marker_)) return hit_;
      start = hit_;  // the remembered one was removed; search on from it
    } else {
      from_ = start;
    }
    hit_ = InStr(start, text, marker_);
    known_ = true;
    return hit_;
  }

  void Forget() { known_ = false; }

 private:
  Text marker_;
  bool known_ = false;
  Pos from_ = 0;
  Pos hit_ = 0;
};

}  // namespace qp::revise
