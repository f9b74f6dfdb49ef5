// Line ends at the input edge: Word writes CR LF and the revision relies on
// it, so pages whose line ends were converted elsewhere are read back.
#pragma once

#include "text/ustring.h"

namespace qp {

// Every LF that does not follow a CR becomes CR LF.
inline Text LoneLfToCrLf(TextView text) {
  Text out;
  out.reserve(text.size() + text.size() / 32);
  char16_t previous = 0;
  for (char16_t c : text) {
    if (c == u'\n' && previous != u'\r') out += u'\r';
    out += c;
    previous = c;
  }
  return out;
}

}  // namespace qp
