#include "text/number.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace qp {

namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Length of the decimal number at the start of `text`, 0 when none.
std::size_t NumberLength(TextView text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  const std::size_t digitsStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  bool any = i > digitsStart;
  if (i < text.size() && text[i] == u'.') {
    std::size_t j = i + 1;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > i + 1 || any) {
      any = any || j > i + 1;
      i = j;
    }
  }
  return any ? i : 0;
}

double ToDouble(TextView text, std::size_t n) {
  std::string ascii(n, '\0');
  for (std::size_t k = 0; k < n; ++k) ascii[k] = static_cast<char>(text[k]);
  return ParseDoubleC(ascii.c_str(), nullptr);
}

// Formats as printf would in the C locale; the buffer holds the longest
// fixed form of a double (309 digits before the point).
std::string FormatC(double value, std::chars_format format, int precision) {
  char buf[400];
  const auto [end, error] = std::to_chars(buf, buf + sizeof buf, value, format, precision);
  return error == std::errc() ? std::string(buf, end) : std::string();
}

Text Shortest(double value, int maxDigits) {
  if (value == 0) return u"0";
  std::string s = FormatC(value, std::chars_format::general, maxDigits);
  // %g may choose an exponent; expand it so style texts stay plain decimals
  if (s.find('e') != std::string::npos) {
    s = FormatC(value, std::chars_format::fixed, maxDigits);
    if (s.find('.') != std::string::npos) {
      while (!s.empty() && s.back() == '0') s.pop_back();
      if (!s.empty() && s.back() == '.') s.pop_back();
    }
  }
  if (s == "-0") s = "0";
  return T(s);
}

}  // namespace

double LeadingNumber(TextView text) {
  const std::size_t n = NumberLength(text);
  return n == 0 ? 0.0 : ToDouble(text, n);
}

std::optional<double> ParseDecimal(TextView text) {
  const Text t = Trim(text);
  const std::size_t n = NumberLength(t);
  if (n == 0 || n != t.size()) return std::nullopt;
  return ToDouble(t, n);
}

Text FormatNumber(double value) {
  return Shortest(value, 15);
}

Text FormatSingle(float value) {
  return Shortest(static_cast<double>(value), 7);
}

Text FormatInteger(long long value) {
  return T(std::to_string(value));
}

double RoundHalfEven(double value) {
  return std::nearbyint(value);
}

double ParseDoubleC(const char* text, char** end) {
  // The C locale object is built into the C library: no allocation, and
  // freeing it does nothing.
  const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const double value = strtod_l(text, end, c);
  freelocale(c);
  return value;
}

std::string FormatFixedC(double value, int decimals) {
  return FormatC(value, std::chars_format::fixed, decimals);
}

std::string HexRgb(long rgb) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%06lX", rgb & 0xFFFFFF);
  return buf;
}

}  // namespace qp
