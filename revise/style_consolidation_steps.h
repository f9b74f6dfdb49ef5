// The page-side halves of Toget_Style.
#pragma once

#include <unordered_map>

#include "text/ustring.h"

namespace qp::revise {

// Each style attribute text (" style='...'") and the class attribute
// (` class="c1"`) that takes its place; the first class named for an
// attribute text wins, as when the classes replace one after another.
struct StyleClasses {
  std::vector<std::pair<Text, Text>> inOrder;
  std::unordered_map<Text, std::size_t> firstOf;  // attribute text -> index in inOrder
};

// Replaces every occurrence of each attribute text by its class attribute,
// with the result of replacing them class by class over the whole page.
void ReplaceStyleAttributes(Text& page, const StyleClasses& classes);

// Merges the class attributes of tags that now carry two into one and
// removes every NUL character of the page.
void MergeClassAttributes(Text& page);

}  // namespace qp::revise
