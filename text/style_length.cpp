#include "text/style_length.h"

#include <algorithm>
#include <cmath>

#include "text/number.h"

namespace qp {

namespace {

std::string_view TrimBlanks(std::string_view v) {
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
  return v;
}

}  // namespace

std::string_view StyleValue(std::string_view style, std::string_view key) {
  std::size_t at = 0;
  while (at < style.size()) {
    const std::size_t end = std::min(style.find(';', at), style.size());
    std::string_view item = style.substr(at, end - at);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    const std::size_t colon = item.find(':');
    if (colon != std::string_view::npos && item.substr(0, colon) == key)
      return item.substr(colon + 1);
    at = end + 1;
  }
  return {};
}

double StyleLengthPx(std::string_view value, double fallback) {
  const std::string text(TrimBlanks(value));
  char* end = nullptr;
  const double n = ParseDoubleC(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(n)) return fallback;
  const std::string_view unit = TrimBlanks(std::string_view(end));
  const double scale = unit == "pt"    ? 96.0 / 72
                       : unit == "in"  ? 96
                       : unit == "cm"  ? 96 / 2.54
                       : unit == "mm"  ? 96 / 25.4
                       : unit == "emu" ? 1 / kEmuPerPx
                                       : 1;
  return std::clamp(n * scale, -1e7, 1e7);
}

}  // namespace qp
