// Test programs run from folders of their own, where the Drawer would not
// find the drawing helper beside them: they name the one this build made.
#include <cstdlib>

namespace {

[[maybe_unused]] const int kNamed = setenv("QP_DRAW_HELPER", QP_DRAW_HELPER_BUILD, 0);

}  // namespace
