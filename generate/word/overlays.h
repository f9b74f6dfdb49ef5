// The pictures written over (or under) the text, each placed from the top
// left of its paragraph.
#pragma once

namespace qp::word {

class Overlays {
 public:
  // One more overlay, reaching `bottom` px below its paragraph's top.
  void Add(long bottom);

  // The paragraph being written, while it is written: whether overlays
  // were written since it began (in its own runs, or in the text boxes and
  // cells inside it), and how far below its top its own overlays reach.
  // The paragraph around it gets its reach back at the end.
  class Paragraph {
   public:
    explicit Paragraph(Overlays& overlays);
    ~Paragraph() { overlays_.reach_ = outerReach_; }
    Paragraph(const Paragraph&) = delete;
    Paragraph& operator=(const Paragraph&) = delete;
    bool Any() const { return overlays_.count_ != countBefore_; }
    long Reach() const { return overlays_.reach_; }

   private:
    Overlays& overlays_;
    int countBefore_;
    long outerReach_;
  };

 private:
  int count_ = 0;   // overlays written so far
  long reach_ = 0;  // how far below its top the current paragraph's overlays reach, px
};

}  // namespace qp::word
