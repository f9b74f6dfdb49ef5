// The encoding an HTML page declares, and the page's text read in it.
#pragma once

#include <string>
#include <string_view>

#include "text/ustring.h"

namespace qp {

// "utf-8" for a page that starts with a UTF-8 byte-order mark; otherwise the
// charset of the first meta element in the head that names one, in lower
// case ("shift_jis", "utf-8", "windows-1252"); empty when there is none.
std::string DeclaredCharset(std::string_view page);

// The page's text in the encoding it declares, without a byte-order mark.
// UTF-8 as UTF-8; Shift_JIS and its other names, a page that declares
// nothing, and a charset glibc does not know as code page 932, the encoding
// Word writes for Japanese pages; any other charset through glibc.
Text DecodeDeclared(std::string_view page);

}  // namespace qp
