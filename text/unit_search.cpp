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
  for (; i + 2 * kLanes <= n; i += 2 * kLanes) {
    if (Any((Load(s + i) == want) | (Load(s + i + kLanes) == want))) break;
  }
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
  // two blocks per step while both fit, their verdicts tested together
  for (; i + 2 * kLanes <= lastStart + 1; i += 2 * kLanes) {
    const Lanes low = (Load(s + i) == first) & (Load(s + i + m - 1) == last);
    const Lanes high = (Load(s + i + kLanes) == first) & (Load(s + i + kLanes + m - 1) == last);
    if (!Any(low | high)) continue;
    for (std::size_t k = 0; k < kLanes; ++k) {
      if (low[k] != 0 && matches(i + k)) return i + k;
    }
    for (std::size_t k = 0; k < kLanes; ++k) {
      if (high[k] != 0 && matches(i + kLanes + k)) return i + kLanes + k;
    }
  }
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

namespace {

// The units allowed at one place of a pair: one, or two when case is ignored
// (then `b` is the other case; otherwise it repeats `a`).
struct Forms {
  char16_t a;
  char16_t b;
  bool operator==(const Forms&) const = default;
};

constexpr std::size_t kMaxForms = 32;
constexpr std::size_t kMaxPairs = 64;

// Index of `f` in `all`, added when new; kMaxForms when there is no room.
std::size_t FormsIndex(std::vector<Forms>& all, Forms f) {
  for (std::size_t k = 0; k < all.size(); ++k) {
    if (all[k] == f) return k;
  }
  if (all.size() == kMaxForms) return kMaxForms;
  all.push_back(f);
  return all.size() - 1;
}

bool Holds(const std::vector<char16_t>& allowed, char16_t c) {
  for (const char16_t a : allowed) {
    if (a == c) return true;
  }
  return false;
}

}  // namespace

std::vector<std::size_t> PairStarts(std::u16string_view text, const std::vector<UnitPair>& pairs) {
  std::vector<std::size_t> starts;
  const std::size_t n = text.size();
  const char16_t* s = text.data();
  // Each distinct set of units is compared once per block, each distinct
  // pair of sets combined once; markers that share their first two
  // characters ("<o:" and "<o:p") cost nothing extra.
  std::vector<Forms> firsts;
  std::vector<Forms> seconds;
  std::uint8_t pairFirst[kMaxPairs];
  std::uint8_t pairSecond[kMaxPairs];
  std::size_t pairCount = 0;
  bool blocks = true;
  for (const UnitPair& pair : pairs) {
    if (pair.first.empty() || pair.first.size() > 2 || pair.second.empty() ||
        pair.second.size() > 2) {
      blocks = false;
      break;
    }
    const std::size_t f = FormsIndex(firsts, {pair.first.front(), pair.first.back()});
    const std::size_t g = FormsIndex(seconds, {pair.second.front(), pair.second.back()});
    if (f == kMaxForms || g == kMaxForms) {
      blocks = false;
      break;
    }
    bool known = false;
    for (std::size_t k = 0; k < pairCount; ++k) known |= pairFirst[k] == f && pairSecond[k] == g;
    if (known) continue;
    if (pairCount == kMaxPairs) {
      blocks = false;
      break;
    }
    pairFirst[pairCount] = static_cast<std::uint8_t>(f);
    pairSecond[pairCount] = static_cast<std::uint8_t>(g);
    ++pairCount;
  }
  std::size_t i = 0;
  if (blocks) {
    Lanes firstA[kMaxForms], firstB[kMaxForms], secondA[kMaxForms], secondB[kMaxForms];
    for (std::size_t k = 0; k < firsts.size(); ++k) {
      firstA[k] = Splat(firsts[k].a);
      firstB[k] = Splat(firsts[k].b);
    }
    for (std::size_t k = 0; k < seconds.size(); ++k) {
      secondA[k] = Splat(seconds[k].a);
      secondB[k] = Splat(seconds[k].b);
    }
    const std::size_t firstCount = firsts.size();
    const std::size_t secondCount = seconds.size();
    // the second places of a block reach i + 8, which must lie in the text
    for (; i + kLanes + 1 <= n; i += kLanes) {
      const Lanes here = Load(s + i);
      const Lanes next = Load(s + i + 1);
      Lanes atFirst[kMaxForms];
      Lanes atSecond[kMaxForms];
      for (std::size_t k = 0; k < firstCount; ++k) {
        atFirst[k] = (here == firstA[k]) | (here == firstB[k]);
      }
      for (std::size_t k = 0; k < secondCount; ++k) {
        atSecond[k] = (next == secondA[k]) | (next == secondB[k]);
      }
      Lanes any{};
      for (std::size_t k = 0; k < pairCount; ++k)
        any |= atFirst[pairFirst[k]] & atSecond[pairSecond[k]];
      if (!Any(any)) continue;
      for (std::size_t k = 0; k < kLanes; ++k) {
        if (any[k] != 0) starts.push_back(i + k);
      }
    }
  }
  for (; i + 1 < n; ++i) {
    for (const UnitPair& pair : pairs) {
      if (Holds(pair.first, s[i]) && Holds(pair.second, s[i + 1])) {
        starts.push_back(i);
        break;
      }
    }
  }
  return starts;
}

}  // namespace qp::units
