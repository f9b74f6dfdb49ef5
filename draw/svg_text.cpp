#include "draw/svg_text.h"

#include <algorithm>
#include <cmath>

#include "text/number.h"

namespace qp::draw {
namespace {

// Decodes one UTF-8 sequence at i; malformed bytes come back as U+FFFD.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i++]);
  if (b < 0x80) return b;
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
  if (extra < 0 || b >= 0xF8) return 0xFFFD;
  char32_t cp = b & (0x3F >> extra);
  for (; extra > 0; --extra) {
    if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
  }
  return cp;
}

bool IsWide(char32_t cp) {
  return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
         (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
         (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
         (cp >= 0xFFE0 && cp <= 0xFFE6) || cp >= 0x20000;
}

double Advance(char32_t cp) {
  if (IsWide(cp)) return 1.0;
  if (cp == ' ') return 0.28;
  if (cp == 'i' || cp == 'l' || cp == 'j' || cp == '.' || cp == ',' || cp == '\'' || cp == '|' ||
      cp == '!' || cp == ':' || cp == ';')
    return 0.25;
  if (cp == 'm' || cp == 'w' || cp == 'M' || cp == 'W') return 0.85;
  if (cp >= 'A' && cp <= 'Z') return 0.65;
  if (cp >= '0' && cp <= '9') return 0.55;
  return 0.52;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Num(double value) {
  if (!std::isfinite(value)) return "0";
  value = std::clamp(value, -1e7, 1e7);
  std::string s = FormatFixedC(value, 2);
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0" || s.empty()) s = "0";
  return s;
}

std::string Num4(double value) {
  if (!std::isfinite(value)) return "1";
  value = std::clamp(value, -1e7, 1e7);
  std::string s = FormatFixedC(value, 6);
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0" || s.empty()) s = "0";
  return s;
}

std::string Escape(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, i);
    switch (cp) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // XML 1.0 allows tab, LF, CR and the characters from U+0020 on,
        // without surrogates and U+FFFE/U+FFFF
        if (cp == '\t' || cp == '\n' || cp == '\r') {
          out += ' ';
        } else if (cp >= 0x20 && !(cp >= 0xD800 && cp <= 0xDFFF) && cp != 0xFFFE && cp != 0xFFFF &&
                   cp <= 0x10FFFF) {
          AppendUtf8(out, cp);
        }
    }
  }
  return out;
}

std::string FontFamily(const Palette& palette, std::string_view first) {
  std::string out;
  auto add = [&](std::string_view name) {
    if (name.empty() || name.size() > 64) return;
    std::string clean(name);
    // quotes and semicolons inside a name would end the CSS string
    std::erase_if(clean,
                  [](char ch) { return ch == '\'' || ch == '"' || ch == ';' || ch == '\\'; });
    const std::string quoted = "'" + Escape(clean) + "'";
    if (out.find(quoted) != std::string::npos) return;
    if (!out.empty()) out += ", ";
    out += quoted;
  };
  add(first);
  add(palette.latinFont);
  add(palette.eastAsianFont);
  add("Carlito");
  add("Liberation Sans");
  add("IPAPGothic");
  add("IPAGothic");
  add("Noto Sans CJK JP");
  out += out.empty() ? "sans-serif" : ", sans-serif";
  return out;
}

double ClampSide(double px) {
  if (!std::isfinite(px) || px < 1) return 1;
  return std::min(px, kMaxSidePx);
}

std::string SvgOpen(double widthPx, double heightPx) {
  const std::string w = Num(ClampSide(widthPx)), h = Num(ClampSide(heightPx));
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
         w + "px\" height=\"" + h + "px\" viewBox=\"0 0 " + w + " " + h + "\">\n";
}

double TextWidth(std::string_view utf8, double fontPx) {
  double em = 0;
  for (std::size_t i = 0; i < utf8.size();) em += Advance(NextCodePoint(utf8, i));
  return em * fontPx;
}

std::vector<std::string> WrapText(std::string_view utf8, double fontPx, double maxWidth,
                                  std::size_t maxLines) {
  std::vector<std::string> lines;
  std::string line, word;
  double lineW = 0, wordW = 0;
  auto flushLine = [&] {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
    line.clear();
    lineW = 0;
  };
  auto placeWord = [&] {
    if (word.empty()) return;
    if (lineW > 0 && lineW + wordW > maxWidth) flushLine();
    line += word;
    lineW += wordW;
    word.clear();
    wordW = 0;
  };
  for (std::size_t i = 0; i < utf8.size() && lines.size() < maxLines;) {
    const std::size_t start = i;
    const char32_t cp = NextCodePoint(utf8, i);
    const double a = Advance(cp) * fontPx;
    if (cp == '\n') {
      placeWord();
      flushLine();
      continue;
    }
    if (IsWide(cp)) {
      placeWord();
      word.assign(utf8.substr(start, i - start));
      wordW = a;
      placeWord();
      continue;
    }
    // a word longer than the line breaks where it must
    if (wordW + a > maxWidth && !word.empty()) {
      placeWord();
      flushLine();
    }
    word.append(utf8.substr(start, i - start));
    wordW += a;
    if (cp == ' ') placeWord();
  }
  placeWord();
  if (!line.empty() || lines.empty()) flushLine();
  if (lines.size() > maxLines) lines.resize(maxLines);
  return lines;
}

std::string FitText(std::string_view utf8, double fontPx, double maxWidth) {
  if (TextWidth(utf8, fontPx) <= maxWidth) return std::string(utf8);
  std::string out;
  double w = TextWidth("\xE2\x80\xA6", fontPx);
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t start = i;
    w += Advance(NextCodePoint(utf8, i)) * fontPx;
    if (w > maxWidth) break;
    out.append(utf8.substr(start, i - start));
  }
  return out + "\xE2\x80\xA6";
}

}  // namespace qp::draw
