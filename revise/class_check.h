// How Check_Class sees the page. The direct form searches and rewrites
// PageText for every selector; the driver's step over all rules uses an index
// of the page's class attributes instead (class_index.cpp), with the same
// answers in the same order.
#pragma once

#include "revise/state.h"

namespace qp::revise {

class ClassUse {
 public:
  virtual ~ClassUse() = default;
  // `opening` ("<h1") stands anywhere in the page (a prefix match).
  virtual bool HasElement(TextView opening) = 0;
  // elementOpen + " class=" + name, then a blank or ">". An empty elementOpen
  // stands for any element.
  virtual bool HasClass(TextView elementOpen, TextView name) = 0;
  // Every " class=name" followed by a blank or ">" gets its name quoted.
  virtual void QuoteClass(TextView name) = 0;
};

// Searches and rewrites PageText directly.
class PageClassUse : public ClassUse {
 public:
  explicit PageClassUse(Text& page) : page_(page) {}
  bool HasElement(TextView opening) override;
  bool HasClass(TextView elementOpen, TextView name) override;
  void QuoteClass(TextView name) override;

 private:
  Text& page_;
};

// Check_Class with the page seen through `use`.
Text CheckClassWith(RevisionState& st, TextView rule, ClassUse& use);

// Selectors of a rule as Check_Class cuts them; empty when it has no " {".
std::vector<Text> RuleSelectors(TextView rule);

}  // namespace qp::revise
