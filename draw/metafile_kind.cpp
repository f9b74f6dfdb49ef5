#include "draw/metafile_kind.h"

#include <cstdint>
#include <string>

namespace qp::draw {

std::uint32_t Le32(std::string_view b, std::size_t at) {
  if (at > b.size() || b.size() - at < 4) return 0;
  std::uint32_t v = 0;
  for (std::size_t i = 4; i-- > 0;) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
  return v;
}

MetafileKind SniffMetafile(std::string_view b) {
  // EMF: an EMR_HEADER record first, with the " EMF" signature in it.
  if (Le32(b, 0) == 1 && b.size() >= 88 && b.substr(40, 4) == " EMF") return MetafileKind::Emf;
  // WMF: the placeable header, or a bare header (memory or disk metafile,
  // nine words long).
  if (Le32(b, 0) == 0x9AC6CDD7u) return MetafileKind::Wmf;
  if (b.size() >= 18 && (b.substr(0, 4) == std::string_view("\1\0\x09\0", 4) ||
                         b.substr(0, 4) == std::string_view("\2\0\x09\0", 4))) {
    return MetafileKind::Wmf;
  }
  return MetafileKind::None;
}

}  // namespace qp::draw
