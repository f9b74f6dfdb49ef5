#include "generate/word/html_text.h"

namespace qp::word {

Text EscapeText(TextView text) {
  Text out;
  out.reserve(text.size() + 16);
  std::size_t i = 0;
  while (i < text.size()) {
    char16_t c = text[i];
    if (c == u' ' && i + 1 < text.size() && text[i + 1] == u' ') {
      std::size_t n = 0;
      while (i < text.size() && text[i] == u' ') ++n, ++i;
      out += u"<span style='mso-spacerun:yes'>";
      for (std::size_t k = 1; k < n; ++k) out += u"&nbsp;";
      out += u" </span>";
      continue;
    }
    if (const char16_t* reference = MarkupReference(c)) {
      out += reference;
    } else if (c == 0x00A0) {
      out += u"&nbsp;";
    } else if (c >= 0x20 || c == u'\t') {
      out += c;
    }
    ++i;
  }
  return out;
}

Text EscapeHref(TextView url) {
  Text out;
  for (char16_t c : url) {
    switch (c) {
      case u'&':
        out += u"&amp;";
        break;
      case u'"':
        out += u"%22";
        break;
      case u' ':
        out += u"%20";
        break;
      case u'<':
        out += u"%3C";
        break;
      case u'>':
        out += u"%3E";
        break;
      default:
        if (c >= 0x20) out += c;
    }
  }
  return out;
}

Text FoldLines(TextView html, std::size_t width) {
  Text out;
  out.reserve(html.size() + html.size() / 40);
  std::size_t lineStart = 0;  // index in `out`
  std::size_t lastBlank = Text::npos;
  for (std::size_t i = 0; i < html.size(); ++i) {
    char16_t c = html[i];
    out += c;
    if (c == u'\n') {
      lineStart = out.size();
      lastBlank = Text::npos;
      continue;
    }
    if (c == u' ' && i > 0 && html[i - 1] != u'>' && html[i - 1] != u' ' && i + 1 < html.size() &&
        html[i + 1] != u' ' && html[i + 1] != u'\r') {
      lastBlank = out.size() - 1;
    }
    if (out.size() - lineStart > width && lastBlank != Text::npos) {
      out.replace(lastBlank, 1, u"\r\n");
      lineStart = lastBlank + 2;
      lastBlank = Text::npos;
    }
  }
  return out;
}

bool IsEastAsian(char16_t c) {
  return (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0xD800 && c <= 0xDBFF);
}

}  // namespace qp::word
