// Line ends at the input edge: Word writes CR LF and the revision relies on
// it, so pages whose line ends were converted elsewhere are read back.
#pragma once

#include "text/unit_search.h"
#include "text/ustring.h"

namespace qp {

// Every LF that does not follow a CR becomes CR LF. The stretches between
// lone LFs are copied as blocks; a text without any is one copy.
inline Text LoneLfToCrLf(TextView text) {
  Text out;
  out.reserve(text.size() + 16);
  std::size_t from = 0;
  for (std::size_t lf = units::FindUnit(text, u'\n', 0); lf != TextView::npos;
       lf = units::FindUnit(text, u'\n', lf + 1)) {
    if (lf > 0 && text[lf - 1] == u'\r') continue;
    out.append(text, from, lf - from);
    out += u'\r';
    from = lf;
  }
  out.append(text, from);
  return out;
}

}  // namespace qp
