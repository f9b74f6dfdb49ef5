#include "generate/word/pending_boxes.h"

#include <algorithm>
#include <optional>
#include <string>

namespace qp::word {

namespace {

// Adds "clear" for `side` to the style of the table that `html` opens, and
// the gap above it (px, at most an inch).
void ClearFloat(char side, long gap, Text& html) {
  std::size_t end = html.find(u'>');
  if (end == Text::npos || html.rfind(u"<table", 0) != 0) return;
  Text clear = side == 'r' ? u"clear:right" : u"clear:left";
  if (gap > 0) clear += u";margin-top:" + T(std::to_string(std::min(gap, 96L))) + u"px";
  if (html[end - 1] == u'\'') {
    html.insert(end - 1, u";" + clear);
  } else {
    html.insert(end, u" style='" + clear + u"'");
  }
}

}  // namespace

void PendingBoxes::Place(const Text& paragraph, Text& out) {
  // What goes before the paragraph in the order it stands down the page; a
  // float below another on its side clears it, as Word shows them one
  // under the other.
  std::stable_sort(blocks_.begin(), blocks_.end(), [](const Block& a, const Block& b) {
    if (a.before != b.before) return a.before;
    return a.before && a.top < b.top;
  });
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    Block& b = blocks_[i];
    if (!b.before) continue;
    std::optional<long> lowest;  // the bottom of the lowest float above it on its side
    for (std::size_t k = 0; k < i && b.side; ++k) {
      const Block& above = blocks_[k];
      if (above.before && above.side == b.side && above.bottom <= b.top) {
        lowest = std::max(lowest.value_or(above.bottom), above.bottom);
      }
    }
    if (lowest) ClearFloat(b.side, b.top - *lowest, b.html);
    out += b.html;
  }
  out += paragraph;
  for (const Block& b : blocks_) {
    if (!b.before) out += b.html;
  }
}

}  // namespace qp::word
