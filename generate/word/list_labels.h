// Number formats of list labels, the Japanese ones included.
#pragma once

#include <string_view>

#include "text/ustring.h"

namespace qp::word {

// `n` in the w:numFmt format `format` ("decimal", "upperRoman",
// "aiueoFullWidth", "decimalEnclosedCircle", ...). Unknown formats give
// decimal digits, "none" gives "".
Text FormatListNumber(long n, std::string_view format);

}  // namespace qp::word
