// Code page 932 conversion the direct way: glibc converting UTF-16 as it
// stands, each character without a form found where iconv stops, and
// Windows' five lone bytes, which glibc lacks, taken from their table
// directly. Slow on pages with many references; kept to check the
// converters against it.
#pragma once

#include <iconv.h>

#include <cerrno>
#include <string>
#include <utility>

#include "text/codec.h"

namespace qp::direct {

inline void AppendReference(Bytes& out, char32_t cp) {
  out += "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
}

// Windows' lone bytes and their characters.
constexpr std::pair<unsigned char, char16_t> kLoneBytes[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

inline Bytes TextToCp932(TextView t) {
  iconv_t cd = iconv_open("CP932", "UTF-16LE");
  Bytes out;
  std::size_t runStart = 0;
  for (std::size_t i = 0; i <= t.size(); ++i) {
    const bool end = i == t.size();
    const bool oneWay = !end && (t[i] == 0x00A2 || t[i] == 0x00A3 || t[i] == 0x00A5 ||
                                 t[i] == 0x00AC || t[i] == 0x2014 || t[i] == 0x2016 ||
                                 t[i] == 0x203E || t[i] == 0x2212 || t[i] == 0x301C);
    char lone = 0;
    for (const auto& [byte, c] : kLoneBytes) {
      if (!end && t[i] == c) lone = static_cast<char>(byte);
    }
    if (!end && !oneWay && lone == 0) continue;
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(t.data() + runStart));
    std::size_t inLeft = (i - runStart) * 2;
    while (inLeft > 0) {
      char buf[64];
      char* o = buf;
      std::size_t oLeft = sizeof buf;
      const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
      out.append(buf, static_cast<std::size_t>(o - buf));
      if (r != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) continue;
      const char16_t* at = reinterpret_cast<const char16_t*>(in);
      char32_t cp = at[0];
      std::size_t used = 1;
      if (cp >= 0xD800 && cp <= 0xDBFF && inLeft >= 4 && at[1] >= 0xDC00 && at[1] <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (at[1] - 0xDC00);
        used = 2;
      }
      AppendReference(out, cp);
      in += used * 2;
      inLeft -= used * 2;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    if (lone != 0) {
      out += lone;
    } else if (!end) {
      AppendReference(out, t[i]);
    }
    runStart = i + 1;
  }
  iconv_close(cd);
  return out;
}

inline Text Cp932ToText(std::string_view b) {
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  Text out;
  char* in = const_cast<char*>(b.data());
  std::size_t inLeft = b.size();
  while (inLeft > 0) {
    char16_t buf[64];
    char* o = reinterpret_cast<char*>(buf);
    std::size_t oLeft = sizeof buf;
    const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buf, static_cast<std::size_t>(reinterpret_cast<char16_t*>(o) - buf));
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    char16_t c = u'\uFFFD';
    for (const auto& [byte, character] : kLoneBytes) {
      if (static_cast<unsigned char>(*in) == byte) c = character;
    }
    out.push_back(c);
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

}  // namespace qp::direct
