#include "revise/state.h"

namespace qp::revise {

bool ClassNameCollection::Add(TextView classAttribute) {
  if (!keys_.insert(LowerCase(classAttribute)).second) return false;
  items_.emplace_back(classAttribute);
  return true;
}

bool ClassNameCollection::Contains(TextView classAttribute) const {
  return keys_.count(LowerCase(classAttribute)) != 0;
}

}  // namespace qp::revise
