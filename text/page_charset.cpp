#include "text/page_charset.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "text/codec.h"

namespace qp {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The head lies well within this; a charset further on would be in the body.
constexpr std::size_t kHeadLimit = 64 * 1024;

std::string Lower(std::string_view bytes) {
  std::string out(bytes);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool IsShiftJis(const std::string& charset) {
  for (const char* name : {"shift_jis", "shift-jis", "sjis", "x-sjis", "ms_kanji", "csshiftjis",
                           "windows-31j", "cp932", "ms932"}) {
    if (charset == name) return true;
  }
  return false;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

}  // namespace

std::string DeclaredCharset(std::string_view page) {
  if (page.starts_with(kUtf8Bom)) return "utf-8";
  std::string head = Lower(page.substr(0, std::min(page.size(), kHeadLimit)));
  head.resize(std::min(head.size(), head.find("</head")));
  for (std::size_t meta = head.find("<meta"); meta != std::string::npos;
       meta = head.find("<meta", meta + 5)) {
    const std::size_t close = std::min(head.size(), head.find('>', meta));
    // "charset", blanks, "=", blanks, then the name, as a browser's prescan
    // reads it; a "charset" with no "=" after it is passed over.
    std::size_t begin = std::string::npos;
    for (std::size_t at = head.find("charset", meta); at < close;
         at = head.find("charset", at + 7)) {
      std::size_t p = at + 7;
      while (p < close && IsBlank(head[p])) ++p;
      if (p >= close || head[p] != '=') continue;
      ++p;
      while (p < close && (IsBlank(head[p]) || head[p] == '"' || head[p] == '\'')) ++p;
      begin = p;
      break;
    }
    if (begin == std::string::npos) continue;
    std::size_t end = begin;
    while (end < close && std::string_view("\"'; \t\r\n/").find(head[end]) == std::string::npos) {
      ++end;
    }
    if (end > begin) return head.substr(begin, end - begin);
  }
  return {};
}

Text DecodeDeclared(std::string_view page) {
  const std::string charset = DeclaredCharset(page);
  if (page.starts_with(kUtf8Bom)) page.remove_prefix(kUtf8Bom.size());
  if (charset == "utf-8" || charset == "utf8") return Utf8ToText(page);
  if (charset.empty() || IsShiftJis(charset)) return Cp932ToText(page);
  std::optional<Text> text = DecodeCharset(page, charset);
  return text ? std::move(*text) : Cp932ToText(page);
}

}  // namespace qp
