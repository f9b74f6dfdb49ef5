#include <gtest/gtest.h>

#include "revise/passes.h"

// Every pass links; replaced by the per-pass tests.
TEST(Passes, Link) {
  qp::revise::RevisionState st;
  EXPECT_ANY_THROW(qp::revise::Set_Quote(st));
}
