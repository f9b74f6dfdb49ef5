#include "text/codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <stdexcept>

namespace qp {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(Text& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

void AppendReference(Bytes& out, char32_t cp) {
  out += "&#";
  out += std::to_string(static_cast<unsigned long>(cp));
  out += ';';
}

// glibc's CP932 maps these one way only (Unicode to bytes); Windows' table has
// no code page 932 form for them, so they are written as references.
bool IsOneWayInGlibc(char16_t c) {
  switch (c) {
    case 0x00A2:
    case 0x00A3:
    case 0x00A5:
    case 0x00AC:
    case 0x2014:
    case 0x2016:
    case 0x203E:
    case 0x2212:
    case 0x301C:
      return true;
    default:
      return false;
  }
}

// Windows' table reads the lone bytes 0x80, 0xA0 and 0xFD to 0xFF as
// U+0080, U+F8F0 and U+F8F1 to U+F8F3 and writes those characters back as the
// same bytes; glibc's CP932 knows none of the five either way.
char16_t LoneByteCharacter(unsigned char b) {
  if (b == 0x80) return 0x0080;
  if (b == 0xA0) return 0xF8F0;
  if (b >= 0xFD) return static_cast<char16_t>(0xF8F1 + (b - 0xFD));
  return static_cast<char16_t>(kReplacement);
}

// The lone byte for `c`, or 0 when `c` is not one of the five.
char LoneByteOf(char16_t c) {
  if (c == 0x0080) return '\x80';
  if (c == 0xF8F0) return '\xA0';
  if (c >= 0xF8F1 && c <= 0xF8F3) return static_cast<char>(0xFD + (c - 0xF8F1));
  return 0;
}

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// glibc's own form of characters is UCS-4 in host order ("WCHAR_T"). A
// conversion between it and CP932 is a single step, which stops exactly at a
// character without a form; from UTF-16 the conversion is a chain of two
// steps, and each stop makes glibc convert the whole buffered stretch again
// to find the spot, so a page with a few thousand references spent most of
// its time there.
constexpr const char* kCodePoints = "WCHAR_T";
static_assert(sizeof(wchar_t) == sizeof(char32_t), "glibc's WCHAR_T is UCS-4");

// Converts code points that are neither one-way characters nor surrogates;
// those without a code page 932 form become references.
void EncodeRun(iconv_t cd, const char32_t* points, std::size_t count, Bytes& out) {
  char* in = reinterpret_cast<char*>(const_cast<char32_t*>(points));
  std::size_t inLeft = count * sizeof(char32_t);
  char buf[8192];
  while (inLeft > 0) {
    char* o = buf;
    std::size_t oLeft = sizeof buf;
    const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buf, static_cast<std::size_t>(o - buf));
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ: the code point at `in` has no form here
    char32_t cp = 0;
    std::memcpy(&cp, in, sizeof cp);
    AppendReference(out, cp);
    in += sizeof(char32_t);
    inLeft -= sizeof(char32_t);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
}

// Decodes `b` with `cd` (to kCodePoints); a byte it cannot decode becomes
// undecodable(byte), and the next byte starts afresh.
template <typename Undecodable>
Text Decode(iconv_t cd, std::string_view b, Undecodable undecodable) {
  Text out;
  out.reserve(b.size());
  char* in = const_cast<char*>(b.data());
  std::size_t inLeft = b.size();
  char32_t buf[4096];
  while (inLeft > 0) {
    char* o = reinterpret_cast<char*>(buf);
    std::size_t oLeft = sizeof buf;
    const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    const auto got = static_cast<std::size_t>(reinterpret_cast<char32_t*>(o) - buf);
    // mostly the BMP; narrowed as a block, not one push_back at a time
    char16_t units[std::size(buf)];
    bool bmp = true;
    for (std::size_t k = 0; k < got; ++k) {
      units[k] = static_cast<char16_t>(buf[k]);
      bmp &= buf[k] < 0x10000;
    }
    if (bmp) {
      out.append(units, got);
    } else {
      for (std::size_t k = 0; k < got; ++k) AppendUtf16(out, buf[k]);
    }
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    out.push_back(undecodable(static_cast<unsigned char>(*in)));
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace

// A bad sequence gives one U+FFFD per maximal invalid subpart, as browsers
// decode: the lead byte and the continuation bytes that could still have
// made a character go together; the byte that breaks the sequence starts
// afresh. The second byte's range excludes overlong forms, surrogates and
// code points past U+10FFFF.
Text Utf8ToText(std::string_view b) {
  Text out;
  out.reserve(b.size());
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(b[k]); };
  std::size_t i = 0;
  const std::size_t n = b.size();
  while (i < n) {
    const unsigned char c = byte(i++);
    if (c < 0x80) {
      out.push_back(c);
      continue;
    }
    int extra = 0;
    char32_t cp = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, cp = c & 0x0F;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, cp = c & 0x07;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      out.push_back(static_cast<char16_t>(kReplacement));
      continue;
    }
    for (; extra > 0 && i < n && byte(i) >= low && byte(i) <= high; --extra, ++i) {
      cp = (cp << 6) | (byte(i) & 0x3F);
      low = 0x80;
      high = 0xBF;
    }
    if (extra > 0) {
      out.push_back(static_cast<char16_t>(kReplacement));
    } else {
      AppendUtf16(out, cp);
    }
  }
  return out;
}

Bytes TextToUtf8(TextView t) {
  Bytes out;
  out.reserve(t.size() + t.size() / 2);
  for (std::size_t i = 0; i < t.size(); ++i) {
    char32_t cp = t[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 &&
        t[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (t[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

Bytes TextToCp932(TextView t) {
  Iconv cd("CP932", kCodePoints);
  Bytes out;
  out.reserve(t.size() + t.size() / 2);
  // code points gather in a buffer that goes to iconv whenever it is full or
  // a character that iconv must not see comes
  char32_t run[4096];
  std::size_t n = 0;
  const auto flush = [&] {
    if (n > 0) EncodeRun(cd.get(), run, n, out);
    n = 0;
  };
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char16_t c = t[i];
    if (c >= 0xD800 && c <= 0xDFFF) {
      const bool pair = c <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF;
      flush();
      // code page 932 has no character beyond the BMP, and a lone surrogate
      // is written as a reference of its own code unit
      AppendReference(out, pair ? 0x10000 + ((c - 0xD800u) << 10) + (t[++i] - 0xDC00u) : c);
      continue;
    }
    if (IsOneWayInGlibc(c)) {
      flush();
      AppendReference(out, c);
      continue;
    }
    if (const char lone = LoneByteOf(c)) {
      flush();
      out.push_back(lone);
      continue;
    }
    run[n++] = c;
    if (n == std::size(run)) flush();
  }
  flush();
  return out;
}

Text Cp932ToText(std::string_view b) {
  Iconv cd(kCodePoints, "CP932");
  return Decode(cd.get(), b, LoneByteCharacter);
}

std::optional<Text> DecodeCharset(std::string_view bytes, const std::string& charset) {
  const iconv_t cd = iconv_open(kCodePoints, charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  Text text = Decode(cd, bytes, [](unsigned char) { return static_cast<char16_t>(kReplacement); });
  iconv_close(cd);
  return text;
}

std::filesystem::path ToPath(TextView text) {
  const Bytes u8 = TextToUtf8(text);
  return std::filesystem::path(u8);
}

Text FromPath(const std::filesystem::path& path) {
  return Utf8ToText(path.native());
}

}  // namespace qp
