#include "text/codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
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
    case 0x00A2: case 0x00A3: case 0x00A5: case 0x00AC: case 0x2014:
    case 0x2016: case 0x203E: case 0x2212: case 0x301C:
      return true;
    default:
      return false;
  }
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

// Converts one run of UTF-16 units that holds no one-way character.
void EncodeRun(iconv_t cd, const char16_t* units, std::size_t count, Bytes& out) {
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(units));
  std::size_t inLeft = count * 2;
  char buf[8192];
  while (inLeft > 0) {
    char* o = buf;
    std::size_t oLeft = sizeof buf;
    const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buf, static_cast<std::size_t>(o - buf));
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: the unit (or pair) at `in` has no form here
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
}

}  // namespace

Text Utf8ToText(std::string_view b) {
  Text out;
  out.reserve(b.size());
  std::size_t i = 0;
  const std::size_t n = b.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(b[i]);
    if (c < 0x80) {
      out.push_back(c);
      ++i;
      continue;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((c & 0xE0) == 0xC0) {
      extra = 1, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, cp = c & 0x07, min = 0x10000;
    } else {
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= n || (static_cast<unsigned char>(b[j]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(b[j]) & 0x3F);
    }
    if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(static_cast<char16_t>(kReplacement));
      i = ok ? j : std::max(j, i + 1);
      continue;
    }
    AppendUtf16(out, cp);
    i = j;
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
  Iconv cd("CP932", "UTF-16LE");
  Bytes out;
  out.reserve(t.size() + t.size() / 2);
  std::size_t runStart = 0;
  for (std::size_t i = 0; i <= t.size(); ++i) {
    const bool end = i == t.size();
    if (!end && !IsOneWayInGlibc(t[i])) continue;
    if (i > runStart) EncodeRun(cd.get(), t.data() + runStart, i - runStart, out);
    if (!end) AppendReference(out, t[i]);
    runStart = i + 1;
  }
  return out;
}

Text Cp932ToText(std::string_view b) {
  Iconv cd("UTF-16LE", "CP932");
  Text out;
  out.reserve(b.size());
  char* in = const_cast<char*>(b.data());
  std::size_t inLeft = b.size();
  char16_t buf[4096];
  while (inLeft > 0) {
    char* o = reinterpret_cast<char*>(buf);
    std::size_t oLeft = sizeof buf;
    const std::size_t r = iconv(cd.get(), &in, &inLeft, &o, &oLeft);
    out.append(buf, static_cast<std::size_t>(reinterpret_cast<char16_t*>(o) - buf));
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // an undecodable byte: replace it and go on with the next one
    out.push_back(static_cast<char16_t>(kReplacement));
    ++in;
    --inLeft;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::filesystem::path ToPath(TextView text) {
  const Bytes u8 = TextToUtf8(text);
  return std::filesystem::path(u8);
}

Text FromPath(const std::filesystem::path& path) { return Utf8ToText(path.native()); }

}  // namespace qp
