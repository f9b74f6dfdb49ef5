// The equation layout on arbitrary XML (seeded with the corpus's equations).
// The measuring half runs in the page-writing process itself, outside the
// drawing helper's cage, so a size it gives must be finite and within the
// picture caps' reach, and the drawing of a measured equation must be a
// well-formed SVG of bounded size.
#include <pugixml.hpp>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "draw/math_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  const qp::draw::MathSize measured = qp::draw::MeasureMath(xml);
  if (!measured.ok) return 0;
  for (double v : {measured.width, measured.height, measured.descent})
    if (!std::isfinite(v) || v < 0 || v > 1e7) std::abort();
  if (measured.descent > measured.height) std::abort();
  const std::string svg = qp::draw::MathSvg(xml, measured.width, measured.height);
  if (svg.empty() || svg.size() > (64u << 20)) std::abort();
  pugi::xml_document doc;
  if (!doc.load_buffer(svg.data(), svg.size())) std::abort();
  return 0;
}
