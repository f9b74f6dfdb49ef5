#include "text/unit_search.h"

#include <cstdint>
#include <cstring>

namespace qp::units {

namespace {

// GCC and Clang lower these to the machine's vector compares (SSE2 on
// x86-64, NEON on AArch64) and to plain code elsewhere.
using Lanes = std::uint16_t __attribute__((vector_size(16)));
constexpr std::size_t kLanes = 8;

Lanes Load(const char16_t* at) {
  Lanes v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

Lanes Splat(char16_t c) {
  const auto u = static_cast<std::uint16_t>(c);
  return Lanes{u, u, u, u, u, u, u, u};
}

bool Any(Lanes v) {
  std::uint64_t half[2];
  std::memcpy(half, &v, sizeof half);
  return (half[0] | half[1]) != 0;
}

}  // namespace

std::size_t FindUnit(std::u16string_view text, char16_t c, std::size_t from) {
  const std::size_t n = text.size();
  const char16_t* s = text.data();
  const Lanes want = Splat(c);
  std::size_t i = from;
  for (; i + kLanes <= n; i += kLanes) {
    if (!Any(Load(s + i) == want)) continue;
    for (std::size_t k = 0;; ++k) {
      if (s[i + k] == c) return i + k;
    }
  }
  for (; i < n; ++i) {
    if (s[i] == c) return i;
  }
  return std::u16string_view::npos;
}

// The first and the last unit of `find` are compared at eight starts at once;
// only starts where both agree are compared in full. Markers begin with "<"
// or a letter and end in another character, so few starts get that far.
std::size_t FindUnits(std::u16string_view text, std::u16string_view find, std::size_t from) {
  const std::size_t n = text.size();
  const std::size_t m = find.size();
  if (m > n || from > n - m) return std::u16string_view::npos;
  const char16_t* s = text.data();
  const char16_t* f = find.data();
  const std::size_t lastStart = n - m;
  const Lanes first = Splat(f[0]);
  const Lanes last = Splat(f[m - 1]);
  const std::size_t middle = m > 2 ? m - 2 : 0;
  const auto matches = [&](std::size_t at) {
    return s[at] == f[0] && s[at + m - 1] == f[m - 1] &&
           std::memcmp(s + at + 1, f + 1, middle * sizeof(char16_t)) == 0;
  };
  std::size_t i = from;
  // a block's starts i .. i+7 all lie at or before lastStart
  for (; i + kLanes <= lastStart + 1; i += kLanes) {
    const Lanes both = (Load(s + i) == first) & (Load(s + i + m - 1) == last);
    if (!Any(both)) continue;
    for (std::size_t k = 0; k < kLanes; ++k) {
      if (both[k] != 0 && matches(i + k)) return i + k;
    }
  }
  for (; i <= lastStart; ++i) {
    if (matches(i)) return i;
  }
  return std::u16string_view::npos;
}

}  // namespace qp::units
