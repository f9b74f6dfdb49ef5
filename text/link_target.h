// Link targets a published page may carry. A page goes onto a web site, so
// whatever a document names as a link target is read as a browser reads
// it: a target that would run script (javascript:, vbscript:), embed data
// (data:) or reach the reader's own files (file:) never becomes a link.
#pragma once

#include <vector>

#include "text/ustring.h"

namespace qp {

// True when a browser that reads `attributeValue` as the value of an href
// attribute (character references decoded, blanks and control characters
// around it and tabs and line breaks inside it dropped, the scheme's letter
// case ignored) is led to an http:, https:, mailto: or ftp: address, a
// fragment or a relative path.
bool IsSafeHrefValue(TextView attributeValue);

// Removes every href attribute of `page` whose value is not safe. A link
// start tag left with no attribute goes as a whole, with its end tag: the
// link's text stays, unlinked. Comments and the content of script and style
// elements are left alone. Returns the removed targets as a browser would
// have read them, in page order.
std::vector<Text> DropUnsafeLinks(Text& page);

}  // namespace qp
