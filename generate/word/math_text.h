// Equations (Office Math, m:oMath) as readable linear text: fractions as
// a/b, scripts as <sub> and <sup>, sums, products, integrals and roots as
// their signs, delimiters as the brackets they show.
#pragma once

#include <pugixml.hpp>

#include "text/ustring.h"

namespace qp::word {

// The HTML of an m:oMath or m:oMathPara element; "" when it shows nothing.
Text MathHtml(const pugi::xml_node& math);

}  // namespace qp::word
