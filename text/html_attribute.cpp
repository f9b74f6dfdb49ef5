#include "text/html_attribute.h"

namespace qp {

const char16_t* MarkupReference(char16_t c) {
  switch (c) {
    case u'&':
      return u"&amp;";
    case u'<':
      return u"&lt;";
    case u'>':
      return u"&gt;";
    default:
      return nullptr;
  }
}

bool IsControl(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

Text BlankControls(TextView value) {
  Text out(value);
  for (char16_t& c : out) {
    if (IsControl(c)) c = u' ';
  }
  return out;
}

Text EscapeAttributeValue(TextView value) {
  Text out;
  out.reserve(value.size());
  for (const char16_t c : value) {
    if (const char16_t* reference = MarkupReference(c)) {
      out += reference;
    } else if (c == u'"') {
      out += u"&quot;";
    } else {
      out += IsControl(c) ? u' ' : c;
    }
  }
  return out;
}

}  // namespace qp
