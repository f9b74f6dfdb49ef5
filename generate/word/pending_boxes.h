// The blocks that go with the paragraph being written: its text boxes and
// the pictures that stand on their own, floating ones before it (in the
// order they stand down the page) and the others after it.
#pragma once

#include <utility>
#include <vector>

#include "text/ustring.h"

namespace qp::word {

class PendingBoxes {
 public:
  struct Block {
    Text html;
    bool before = false;  // goes before the paragraph
    // A float's side and its extent down the page (px from where it is
    // placed): floats of one side that stand one below the other clear
    // each other instead of lining up.
    char side = 0;
    long top = 0, bottom = 0;
  };

  void Add(Block block) { blocks_.push_back(std::move(block)); }
  // Appends the paragraph with its blocks to `out`.
  void Place(const Text& paragraph, Text& out);

  // The paragraph being written, while it is written: its blocks are its
  // own, and the paragraph around it (a text box's or a cell's paragraph
  // is inside another) gets its blocks back at the end.
  class Paragraph {
   public:
    explicit Paragraph(PendingBoxes& boxes) : boxes_(boxes) { outer_.swap(boxes_.blocks_); }
    ~Paragraph() { boxes_.blocks_.swap(outer_); }
    Paragraph(const Paragraph&) = delete;
    Paragraph& operator=(const Paragraph&) = delete;

   private:
    PendingBoxes& boxes_;
    std::vector<Block> outer_;
  };

 private:
  std::vector<Block> blocks_;
};

}  // namespace qp::word
