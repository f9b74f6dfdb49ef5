// Fixture texts for the driver's tests, written with visible stand-ins:
// "⏎" is CR LF, "→" a tab, "␀" NUL and "␁" the code-1 mark.
#pragma once

#include <string>
#include <string_view>

#include "revise/state.h"
#include "text/codec.h"

namespace qp::revise::test {

inline Text V(std::string_view utf8) {
  Text out;
  for (char16_t c : Utf8ToText(utf8)) {
    switch (c) {
      case u'⏎': out += u"\r\n"; break;
      case u'→': out += u'\t'; break;
      case u'␀': out += u'\0'; break;
      case u'␁': out += u'\x0001'; break;
      default: out += c;
    }
  }
  return out;
}

// The reverse, for readable failure messages.
inline std::string S(TextView text) {
  Text out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      out += u'⏎';
      ++i;
    } else if (c == u'\t') {
      out += u'→';
    } else if (c == u'\0') {
      out += u'␀';
    } else if (c == u'\x0001') {
      out += u'␁';
    } else {
      out += c;
    }
  }
  return TextToUtf8(out);
}

inline RevisionState StateWithPage(std::string_view page) {
  RevisionState st;
  st.PageText = V(page);
  return st;
}

}  // namespace qp::revise::test
