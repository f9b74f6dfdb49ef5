// The messages between the Drawer and the drawing helper, decoded from
// arbitrary bytes: a request as the helper reads it, a picture as the
// process that writes the page reads the helper's answer (the helper may
// be in an attacker's hands). Whatever decodes packs to bytes of the same
// length that decode to the same request; anything else (a crash,
// undefined behaviour) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "draw/request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qp::draw::Request r;
  if (qp::draw::UnpackRequest(bytes, r)) {
    const std::string packed =
        qp::draw::PackRequest(r.kind, r.source, &r.palette, r.width, r.height);
    qp::draw::Request again;
    if (packed.size() != bytes.size() || !qp::draw::UnpackRequest(packed, again) ||
        qp::draw::PackRequest(again.kind, again.source, &again.palette, again.width,
                              again.height) != packed) {
      std::abort();
    }
  }
  qp::draw::Picture p;
  (void)qp::draw::UnpackPicture(bytes, p);
  return 0;
}
