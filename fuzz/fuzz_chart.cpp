// The chart renderer on arbitrary chart XML: it always gives a well-formed
// SVG document of bounded size, placeholder or chart.
#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "draw/chart.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  qp::draw::Palette palette;
  palette.latinFont = "Calibri";
  const qp::draw::Drawing d = qp::draw::ChartSvg(xml, palette, 480, 288);
  if (d.svg.empty() || d.svg.size() > (16u << 20)) std::abort();
  pugi::xml_document doc;
  if (!doc.load_buffer(d.svg.data(), d.svg.size())) std::abort();
  return 0;
}
