// The EMF+ player on arbitrary bytes (seeded with EMF+ pictures, so that
// the fuzzer starts inside the records): an SVG it gives is well-formed and
// of bounded size, and what it hands to GDI starts with an EMF header.
#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "draw/emfplus.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string emf(reinterpret_cast<const char*>(data), size);
  auto gdi = [](std::string_view handed) -> std::string {
    if (handed.size() < 108 || handed[0] != 1) std::abort();
    return "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
  };
  const std::optional<std::string> svg = qp::draw::EmfPlusToSvg(emf, 320, 200, gdi);
  if (!svg) return 0;
  if (svg->size() > (64u << 20)) std::abort();
  pugi::xml_document doc;
  if (!doc.load_buffer(svg->data(), svg->size())) std::abort();
  return 0;
}
