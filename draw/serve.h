// The drawing helper's work: one packed request in (draw/request.h), one
// packed Picture out. Runs only in the helper, where the drawing libraries
// are linked and the process is confined.
#pragma once

#include <string>
#include <string_view>

namespace qp::draw {

// Draws what `packed` asks for. Anything that did not come out as a
// picture gets its placeholder here, where librsvg is at hand; a request
// that cannot be decoded throws.
std::string ServeRequest(std::string_view packed);

}  // namespace qp::draw
