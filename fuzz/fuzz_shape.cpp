// The shape renderer on arbitrary drawing XML: an SVG it gives is
// well-formed and of bounded size.
#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "draw/shape.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  const qp::draw::Drawing d = qp::draw::ShapeSvg(xml, qp::draw::Palette{}, 320, 200);
  if (d.svg.empty()) return 0;  // not XML: nothing drawn, and `note` says so
  if (d.svg.size() > (64u << 20)) std::abort();
  pugi::xml_document doc;
  if (!doc.load_buffer(d.svg.data(), d.svg.size())) std::abort();
  return 0;
}
