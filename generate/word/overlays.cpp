#include "generate/word/overlays.h"

#include <algorithm>

namespace qp::word {

void Overlays::Add(long bottom) {
  ++count_;
  reach_ = std::max(reach_, bottom);
}

Overlays::Paragraph::Paragraph(Overlays& overlays)
    : overlays_(overlays), countBefore_(overlays.count_), outerReach_(overlays.reach_) {
  overlays_.reach_ = 0;
}

}  // namespace qp::word
