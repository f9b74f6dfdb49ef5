#include "text/ustring.h"

#include <algorithm>

#include "text/unit_search.h"

namespace qp {

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 32);  // full-width A-Z
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

namespace {

bool EqualAt(TextView text, std::size_t at, TextView find, Compare cmp) {
  if (cmp == Compare::Binary) return text.compare(at, find.size(), find) == 0;
  for (std::size_t i = 0; i < find.size(); ++i) {
    if (FoldCase(text[at + i]) != FoldCase(find[i])) return false;
  }
  return true;
}

// Horspool's search, for longer patterns over longer stretches when case is
// ignored (exact searches go through units::FindUnits): the revision
// sweeps whole pages for each marker, and a plain scan compares at every "<".
// Shifts are keyed on the low byte of the (folded) character; characters that
// share it only make a shift shorter, never wrong.
std::size_t FindSkipping(TextView text, TextView find, std::size_t from, Compare cmp) {
  const std::size_t m = find.size();
  if (text.size() < m || from > text.size() - m) return TextView::npos;
  const auto key = [cmp](char16_t c) {
    return static_cast<unsigned char>((cmp == Compare::Binary ? c : FoldCase(c)) & 0xFF);
  };
  // capped at 255: a shorter shift is never wrong
  const auto cap = [](std::size_t n) { return static_cast<unsigned char>(n < 255 ? n : 255); };
  unsigned char shift[256];
  std::fill(std::begin(shift), std::end(shift), cap(m));
  for (std::size_t i = 0; i + 1 < m; ++i) shift[key(find[i])] = cap(m - 1 - i);
  const char16_t lastChar = cmp == Compare::Binary ? find[m - 1] : FoldCase(find[m - 1]);
  const std::size_t last = text.size() - m;
  for (std::size_t i = from; i <= last;) {
    const char16_t c = text[i + m - 1];
    if ((cmp == Compare::Binary ? c : FoldCase(c)) == lastChar && EqualAt(text, i, find, cmp)) {
      return i;
    }
    i += shift[key(c)];
  }
  return TextView::npos;
}

// 0-based index of the first match at or after `from`, or npos.
std::size_t Find(TextView text, TextView find, std::size_t from, Compare cmp) {
  if (cmp == Compare::Binary) return units::FindUnits(text, find, from);
  if (find.size() >= 3 && text.size() > from + 512) return FindSkipping(text, find, from, cmp);
  if (find.size() > text.size()) return TextView::npos;
  const char16_t first = FoldCase(find[0]);
  const std::size_t last = text.size() - find.size();
  for (std::size_t i = from; i <= last; ++i) {
    if (FoldCase(text[i]) == first && EqualAt(text, i, find, cmp)) return i;
  }
  return TextView::npos;
}

}  // namespace

Pos InStr(Pos start, TextView text, TextView find, Compare cmp) {
  if (start < 1) start = 1;
  if (find.empty()) return start <= Len(text) + 1 ? start : 0;
  if (start > Len(text)) return 0;
  const std::size_t at = Find(text, find, static_cast<std::size_t>(start - 1), cmp);
  return at == TextView::npos ? 0 : static_cast<Pos>(at) + 1;
}

Pos InStrBefore(Pos start, TextView text, TextView find, Pos limit) {
  if (limit <= 1) return 0;
  // an occurrence starting at limit - 1 may reach limit - 2 + Len(find)
  const Pos reach = limit - 2 + Len(find);
  if (reach < Len(text)) text = text.substr(0, static_cast<std::size_t>(reach));
  return InStr(start, text, find);
}

namespace {

// Every unit that folds to the same as `c`: FoldCase only ever adds 32, so
// that is the folded form and at most one unit 32 below it.
std::vector<char16_t> UnitsFoldingLike(char16_t c, Compare cmp) {
  if (cmp == Compare::Binary) return {c};
  const char16_t y = FoldCase(c);
  std::vector<char16_t> forms{y};
  if (y >= 32 && FoldCase(static_cast<char16_t>(y - 32)) == y) {
    forms.push_back(static_cast<char16_t>(y - 32));
  }
  return forms;
}

}  // namespace

std::vector<std::vector<Pos>> InStrAll(TextView text, const std::vector<Text>& finds, Compare cmp) {
  const bool fold = cmp == Compare::TextCompare;
  const auto key = [fold](char16_t c) { return fold ? FoldCase(c) : c; };
  // patterns by the low byte of their (folded) first character
  std::vector<std::size_t> byFirst[256];
  bool any[256] = {};
  bool pairs = true;
  std::vector<units::UnitPair> starts;
  for (std::size_t k = 0; k < finds.size(); ++k) {
    if (finds[k].empty()) continue;
    const char16_t c = key(finds[k][0]);
    byFirst[c & 0xFF].push_back(k);
    any[c & 0xFF] = true;
    pairs = pairs && finds[k].size() >= 2;
    if (pairs) starts.push_back({UnitsFoldingLike(c, cmp), UnitsFoldingLike(finds[k][1], cmp)});
  }
  std::vector<std::vector<Pos>> hits(finds.size());
  const std::size_t n = text.size();
  const auto checkAt = [&](std::size_t i) {
    const char16_t c = key(text[i]);
    if (!any[c & 0xFF]) return;
    for (const std::size_t k : byFirst[c & 0xFF]) {
      const Text& f = finds[k];
      const std::size_t m = f.size();
      // the first and last characters rule out nearly every candidate at a
      // "<" before the whole pattern is compared
      if (m > n - i || key(f[0]) != c || key(f[m - 1]) != key(text[i + m - 1])) continue;
      if (EqualAt(text, i, f, cmp)) hits[k].push_back(static_cast<Pos>(i) + 1);
    }
  };
  if (pairs) {
    // markers of two characters or more: only the starts where the first
    // two characters of one of them stand are looked at
    for (const std::size_t i : units::PairStarts(text, starts)) checkAt(i);
  } else {
    for (std::size_t i = 0; i < n; ++i) checkAt(i);
  }
  return hits;
}

Pos InStrRev(TextView text, TextView find, Pos start, Compare cmp) {
  if (start < 0 || start > Len(text)) start = Len(text);
  if (find.empty()) return start;
  if (Len(find) > start) return 0;
  // the match must end at or before `start`
  std::size_t i = static_cast<std::size_t>(start - Len(find));
  if (cmp == Compare::Binary) {
    const std::size_t at = text.rfind(find, i);
    return at == TextView::npos ? 0 : static_cast<Pos>(at) + 1;
  }
  for (;;) {
    if (EqualAt(text, i, find, cmp)) return static_cast<Pos>(i) + 1;
    if (i == 0) return 0;
    --i;
  }
}

Text Mid(TextView text, Pos start, Pos length) {
  if (start < 1) start = 1;
  if (start > Len(text) || length == 0) return {};
  const std::size_t from = static_cast<std::size_t>(start - 1);
  const std::size_t n = length < 0 ? TextView::npos : static_cast<std::size_t>(length);
  return Text(text.substr(from, n));
}

Text Left(TextView text, Pos length) {
  if (length <= 0) return {};
  return Text(text.substr(0, static_cast<std::size_t>(length)));
}

Text Right(TextView text, Pos length) {
  if (length <= 0) return {};
  if (length >= Len(text)) return Text(text);
  return Text(text.substr(text.size() - static_cast<std::size_t>(length)));
}

bool MatchAt(TextView text, Pos pos, TextView find, Compare cmp) {
  if (pos < 1 || pos - 1 + Len(find) > Len(text)) return false;
  return EqualAt(text, static_cast<std::size_t>(pos - 1), find, cmp);
}

Text Replace(TextView text, TextView find, TextView with, Compare cmp) {
  if (find.empty()) return Text(text);
  Text out;
  std::size_t from = 0;
  std::size_t at = Find(text, find, 0, cmp);
  if (at == TextView::npos) return Text(text);
  out.reserve(text.size());
  while (at != TextView::npos) {
    out.append(text.substr(from, at - from));
    out.append(with);
    from = at + find.size();
    at = Find(text, find, from, cmp);
  }
  out.append(text.substr(from));
  return out;
}

std::size_t ReplaceAll(Text& text, TextView find, TextView with, Compare cmp) {
  if (find.empty()) return 0;
  std::size_t at = Find(text, find, 0, cmp);
  if (at == TextView::npos) return 0;
  std::size_t count = 0;
  Text out;
  out.reserve(text.size());
  std::size_t from = 0;
  while (at != TextView::npos) {
    out.append(text, from, at - from);
    out.append(with);
    ++count;
    from = at + find.size();
    at = Find(text, find, from, cmp);
  }
  out.append(text, from, Text::npos);
  text.swap(out);
  return count;
}

void MarkDeleted(Text& text, Pos start, Pos length) {
  if (start < 1) {
    length += start - 1;
    start = 1;
  }
  if (length <= 0 || start > Len(text)) return;
  const Pos end = std::min(Len(text), start - 1 + length);
  std::fill(text.begin() + (start - 1), text.begin() + end, u'\0');
}

bool Compact(Text& text) {
  std::size_t out = units::FindUnit(text, u'\0', 0);
  if (out == Text::npos) return false;
  // the stretches between marks move as blocks
  std::size_t i = out;
  while (i < text.size()) {
    while (i < text.size() && text[i] == u'\0') ++i;
    std::size_t end = units::FindUnit(text, u'\0', i);
    if (end == Text::npos) end = text.size();
    std::copy(text.begin() + static_cast<std::ptrdiff_t>(i),
              text.begin() + static_cast<std::ptrdiff_t>(end),
              text.begin() + static_cast<std::ptrdiff_t>(out));
    out += end - i;
    i = end;
  }
  text.resize(out);
  return true;
}

Text TrimLeft(TextView text) {
  std::size_t b = 0;
  while (b < text.size() && text[b] == u' ') ++b;
  return Text(text.substr(b));
}

Text TrimRight(TextView text) {
  std::size_t e = text.size();
  while (e > 0 && text[e - 1] == u' ') --e;
  return Text(text.substr(0, e));
}

Text Trim(TextView text) {
  return TrimLeft(TrimRight(text));
}

std::vector<Text> Split(TextView text, TextView separator) {
  std::vector<Text> pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = units::FindUnits(text, separator, from);
    if (at == TextView::npos) break;
    pieces.emplace_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  pieces.emplace_back(text.substr(from));
  return pieces;
}

bool EqualsNoCase(TextView a, TextView b) {
  return a.size() == b.size() && EqualAt(a, 0, b, Compare::TextCompare);
}

Text LowerCase(TextView text) {
  Text out(text);
  for (auto& c : out) c = FoldCase(c);
  return out;
}

Text T(std::string_view ascii) {
  return Text(ascii.begin(), ascii.end());
}

}  // namespace qp
