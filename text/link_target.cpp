#include "text/link_target.h"

#include <string_view>

namespace qp {

namespace {

bool IsAsciiAlpha(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsAsciiDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

char16_t AsciiLower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool IsHtmlSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// The named references whose characters can make or hide a scheme (letters,
// "+", ".", ":", tab, line feed). Every other named reference stands for a
// character outside ASCII or one no scheme holds, so leaving it undecoded
// reads the scheme as a browser does.
struct NamedReference {
  std::u16string_view name;
  std::u16string_view text;
};
constexpr NamedReference kSchemeReferences[] = {
    {u"colon", u":"}, {u"Tab", u"\t"},   {u"NewLine", u"\n"},
    {u"plus", u"+"},  {u"period", u"."}, {u"fjlig", u"fj"},
};

// Appends the character of a numeric reference's value, as the HTML parser
// maps it: nothing valid becomes U+FFFD.
void AppendCodePoint(Text& out, unsigned long value) {
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    out += u'\xFFFD';
  } else if (value > 0xFFFF) {
    value -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (value >> 10));
    out += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
  } else {
    out += static_cast<char16_t>(value);
  }
}

// Decodes the references at `value[i]` == '&'; returns the index after it.
std::size_t DecodeReference(TextView value, std::size_t i, Text& out) {
  std::size_t j = i + 1;
  if (j < value.size() && value[j] == u'#') {
    ++j;
    const bool hex = j < value.size() && (value[j] == u'x' || value[j] == u'X');
    if (hex) ++j;
    const std::size_t digitsStart = j;
    unsigned long code = 0;
    for (; j < value.size(); ++j) {
      const char16_t c = value[j];
      int digit = -1;
      if (IsAsciiDigit(c)) digit = c - u'0';
      if (hex && AsciiLower(c) >= u'a' && AsciiLower(c) <= u'f') digit = AsciiLower(c) - u'a' + 10;
      if (digit < 0) break;
      if (code <= 0x10FFFF) code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
    }
    if (j == digitsStart) {
      out += u'&';
      return i + 1;
    }
    if (j < value.size() && value[j] == u';') ++j;  // optional, as browsers read it
    AppendCodePoint(out, code);
    return j;
  }
  while (j < value.size() && (IsAsciiAlpha(value[j]) || IsAsciiDigit(value[j]))) ++j;
  if (j < value.size() && value[j] == u';') {
    const TextView name = value.substr(i + 1, j - i - 1);
    for (const NamedReference& ref : kSchemeReferences) {
      if (ref.name == name) {
        out += ref.text;
        return j + 1;
      }
    }
  }
  out += u'&';
  return i + 1;
}

// The target as the URL parser receives it.
Text AsBrowserReadsIt(TextView attributeValue) {
  Text decoded;
  for (std::size_t i = 0; i < attributeValue.size();) {
    if (attributeValue[i] == u'&') {
      i = DecodeReference(attributeValue, i, decoded);
    } else {
      decoded += attributeValue[i++];
    }
  }
  Text url;
  for (char16_t c : decoded) {
    if (c == u'\t' || c == u'\n' || c == u'\r') continue;
    if (url.empty() && c <= 0x20) continue;
    url += c;
  }
  while (!url.empty() && url.back() <= 0x20) url.pop_back();
  return url;
}

bool IsSafeUrl(TextView url) {
  // A scheme is a letter, then letters, digits, "+", "-", "." up to ":".
  // Anything else is a path, a query or a fragment relative to the page.
  if (url.empty() || !IsAsciiAlpha(url[0])) return true;
  Text scheme(1, AsciiLower(url[0]));
  for (std::size_t i = 1; i < url.size(); ++i) {
    const char16_t c = url[i];
    if (c == u':') {
      return scheme == u"http" || scheme == u"https" || scheme == u"mailto" || scheme == u"ftp";
    }
    if (!IsAsciiAlpha(c) && !IsAsciiDigit(c) && c != u'+' && c != u'-' && c != u'.') return true;
    scheme += AsciiLower(c);
  }
  return true;
}

bool StartsWithNoCase(TextView text, std::size_t at, TextView prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (std::size_t k = 0; k < prefix.size(); ++k) {
    if (AsciiLower(text[at + k]) != prefix[k]) return false;
  }
  return true;
}

// Index of the end tag "</name" (followed by a blank, "/" or ">") at or after
// `from`; npos when there is none.
std::size_t FindEndTag(TextView page, std::size_t from, TextView lowerName) {
  for (std::size_t at = page.find(u"</", from); at != TextView::npos;
       at = page.find(u"</", at + 2)) {
    const std::size_t after = at + 2 + lowerName.size();
    if (StartsWithNoCase(page, at + 2, lowerName) &&
        (after == page.size() || IsHtmlSpace(page[after]) || page[after] == u'>' ||
         page[after] == u'/')) {
      return at;
    }
  }
  return TextView::npos;
}

struct StartTag {
  Text lowerName;
  std::size_t end = 0;  // index after ">", or the page's size when unclosed
  // Spans [first, second) of the unsafe href attributes, with the blanks
  // before them.
  std::vector<std::pair<std::size_t, std::size_t>> unsafe;
  std::vector<Text> targets;
  int attributes = 0;
};

// Reads the start tag at `page[at]` == '<' as the HTML tokenizer does.
StartTag ReadStartTag(TextView page, std::size_t at) {
  StartTag tag;
  std::size_t i = at + 1;
  while (i < page.size() && !IsHtmlSpace(page[i]) && page[i] != u'/' && page[i] != u'>') {
    tag.lowerName += AsciiLower(page[i++]);
  }
  for (;;) {
    const std::size_t before = i;
    while (i < page.size() && (IsHtmlSpace(page[i]) || page[i] == u'/')) ++i;
    if (i >= page.size()) {
      tag.end = page.size();
      return tag;
    }
    if (page[i] == u'>') {
      tag.end = i + 1;
      return tag;
    }
    Text name(1, AsciiLower(page[i++]));
    while (i < page.size() && !IsHtmlSpace(page[i]) && page[i] != u'/' && page[i] != u'>' &&
           page[i] != u'=') {
      name += AsciiLower(page[i++]);
    }
    std::size_t j = i;
    while (j < page.size() && IsHtmlSpace(page[j])) ++j;
    TextView value;
    if (j < page.size() && page[j] == u'=') {
      ++j;
      while (j < page.size() && IsHtmlSpace(page[j])) ++j;
      if (j < page.size() && (page[j] == u'"' || page[j] == u'\'')) {
        const std::size_t close = page.find(page[j], j + 1);
        const std::size_t valueEnd = close == TextView::npos ? page.size() : close;
        value = page.substr(j + 1, valueEnd - j - 1);
        j = close == TextView::npos ? page.size() : close + 1;
      } else {
        const std::size_t start = j;
        while (j < page.size() && !IsHtmlSpace(page[j]) && page[j] != u'>') ++j;
        value = page.substr(start, j - start);
      }
      i = j;
    }
    ++tag.attributes;
    if (name == u"href" && !IsSafeHrefValue(value)) {
      tag.unsafe.emplace_back(before, i);
      tag.targets.push_back(AsBrowserReadsIt(value));
    }
  }
}

}  // namespace

bool IsSafeHrefValue(TextView attributeValue) {
  return IsSafeUrl(AsBrowserReadsIt(attributeValue));
}

std::vector<Text> DropUnsafeLinks(Text& page) {
  std::vector<Text> dropped;
  const TextView in(page);
  Text out;
  std::size_t copied = 0;  // in[copied..] is not yet in `out`
  bool dropNextAnchorEnd = false;
  for (std::size_t at = in.find(u'<'); at != TextView::npos; at = in.find(u'<', at + 1)) {
    if (in.substr(at, 4) == u"<!--") {
      const std::size_t close = in.find(u"-->", at + 4);
      if (close == TextView::npos) break;
      at = close + 2;
      continue;
    }
    if (at + 1 < in.size() && in[at + 1] == u'/' && dropNextAnchorEnd &&
        FindEndTag(in, at, u"a") == at) {
      const std::size_t close = in.find(u'>', at);
      const std::size_t end = close == TextView::npos ? in.size() : close + 1;
      out.append(in.substr(copied, at - copied));
      copied = end;
      dropNextAnchorEnd = false;
      continue;
    }
    if (at + 1 >= in.size() || !IsAsciiAlpha(in[at + 1])) continue;
    const StartTag tag = ReadStartTag(in, at);
    if (tag.lowerName == u"a") dropNextAnchorEnd = false;  // a new link closes the last
    if (!tag.unsafe.empty()) {
      dropped.insert(dropped.end(), tag.targets.begin(), tag.targets.end());
      if (tag.lowerName == u"a" && tag.attributes == static_cast<int>(tag.unsafe.size())) {
        out.append(in.substr(copied, at - copied));
        dropNextAnchorEnd = true;
      } else {
        for (const auto& [first, second] : tag.unsafe) {
          out.append(in.substr(copied, first - copied));
          copied = second;
        }
        out.append(in.substr(copied, tag.end - copied));
      }
      copied = tag.end;
    }
    if (tag.end == 0 || tag.end >= in.size()) break;
    at = tag.end - 1;
    // Script and style text is not markup: a "<a href" inside it is no link.
    if (tag.lowerName == u"script" || tag.lowerName == u"style") {
      const std::size_t close = FindEndTag(in, tag.end, tag.lowerName);
      if (close == TextView::npos) break;
      at = close;
    }
  }
  if (dropped.empty()) return dropped;
  out.append(in.substr(copied));
  page = std::move(out);
  return dropped;
}

}  // namespace qp
