// What a document pays for its drawing helper: the first object of each
// Drawer (starting the helper, loading the drawing libraries, confinement,
// then drawing; a shape without text, which does not wait for fontconfig)
// against the objects after it
// (drawing alone), and the whole of a document of six objects until its
// helper has ended, over fresh Drawers. Prints medians in ms.
//   draw_helper_bench [DOCUMENTS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "draw/picture.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QP_DRAW_HELPER", QP_DRAW_HELPER_BUILD, 0);
  const int documents = argc > 1 ? std::atoi(argv[1]) : 30;
  const std::string shape =
      "<wps:wsp xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" "
      "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><wps:spPr><a:xfrm>"
      "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"952500\" cy=\"476250\"/></a:xfrm><a:prstGeom "
      "prst=\"ellipse\"/><a:solidFill><a:srgbClr val=\"4472C4\"/></a:solidFill></wps:spPr>"
      "<wps:bodyPr/></wps:wsp>";
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  std::vector<double> first, later, whole;
  for (int i = 0; i < documents; ++i) {
    auto start = Clock::now();
    auto drawer = std::make_unique<qp::draw::Drawer>();
    auto t0 = Clock::now();
    qp::draw::Picture a = drawer->Shape(shape, {}, 100, 50);
    auto t1 = Clock::now();
    for (int j = 0; j < 5; ++j) {
      // A size of its own: a request the Drawer has answered is not drawn again.
      auto t2 = Clock::now();
      qp::draw::Picture b = drawer->Shape(shape, {}, 100 + j + 1, 50);
      later.push_back(ms(Clock::now() - t2));
      if (b.png.empty() || !b.note.empty()) std::fprintf(stderr, "not drawn: %s\n", b.note.c_str());
    }
    if (a.png.empty() || !a.note.empty()) std::fprintf(stderr, "not drawn: %s\n", a.note.c_str());
    first.push_back(ms(t1 - t0));
    drawer.reset();
    whole.push_back(ms(Clock::now() - start));
  }
  std::printf("first object (helper start + draw): %.2f ms\n", Median(first));
  std::printf("later objects (draw):               %.2f ms\n", Median(later));
  std::printf("helper start per document:          %.2f ms\n", Median(first) - Median(later));
  std::printf("whole document (6 objects, helper ended): %.2f ms\n", Median(whole));
  return 0;
}
