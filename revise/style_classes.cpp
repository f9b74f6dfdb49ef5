#include "revise/style_consolidation_steps.h"
#include "text/failure.h"

namespace qp::revise {

namespace {

constexpr char16_t kStyleOpener[] = u" style='";
constexpr Pos kStyleOpenerLength = 8;
constexpr char16_t kClassOpener[] = u"class=\"";
constexpr Pos kClassOpenerLength = 7;

// An attribute text holds no "'" between its opening and its closing quote,
// so at each " style='" of the page only one attribute text can stand: the
// stretch through the first "'" after the opener. Where these stretches do
// not overlap, a replacement never makes or breaks another one, and one
// sweep that replaces each stretch by the first class named for it gives the
// result of replacing class after class. Only a style value that itself ends
// in " style=" makes two stretches overlap.
struct Stretch {
  Pos start;
  Pos end;  // the closing "'"
};

bool FindStretches(const Text& page, std::vector<Stretch>& stretches) {
  for (Pos s = InStr(page, kStyleOpener); s != 0; s = InStr(s + 1, page, kStyleOpener)) {
    if (!stretches.empty() && s <= stretches.back().end) return false;
    const Pos quote = InStr(s + kStyleOpenerLength, page, u"'");
    if (quote == 0) break;  // no stretch here or after
    stretches.push_back({s, quote});
  }
  return true;
}

}  // namespace

void ReplaceStyleAttributes(Text& page, const StyleClasses& classes) {
  if (classes.inOrder.empty()) return;
  std::vector<Stretch> stretches;
  if (!FindStretches(page, stretches)) {
    for (const auto& [attribute, classAttribute] : classes.inOrder) {
      ReplaceAll(page, attribute, classAttribute);
    }
    return;
  }
  Text out;
  out.reserve(page.size());
  Pos copied = 1;
  for (const Stretch& stretch : stretches) {
    const auto found =
        classes.firstOf.find(Mid(page, stretch.start, stretch.end - stretch.start + 1));
    if (found == classes.firstOf.end()) continue;
    out += Mid(page, copied, stretch.start - copied);
    out += classes.inOrder[found->second].second;
    copied = stretch.end + 1;
  }
  out += Mid(page, copied);
  page.swap(out);
}

void MergeClassAttributes(Text& page) {
  Text out;
  Pos copied = 1;
  Pos a = InStr(page, kClassOpener);
  while (a != 0) {
    const Pos e = InStr(a, page, u">");
    if (e == 0) RaiseStructure();
    const Pos b = InStr(a + kClassOpenerLength, page, kClassOpener);
    if (b == 0 || b > e) {
      a = b;
      continue;
    }
    // `class="x" class="c3" id="y"` -> `class="x c3" id="y"`; the other words
    // (empty ones included) follow in their order.
    Text merged;
    Text rest;
    bool first = true;
    for (const Text& word : Split(Mid(page, a, e - a), u" ")) {
      if (MatchAt(word, 1, kClassOpener)) {
        if (!first) merged += u" ";
        first = false;
        // a bare `class="` gives an empty value
        merged += Mid(word, kClassOpenerLength + 1, Len(word) - kClassOpenerLength - 1);
      } else {
        rest += u" ";
        rest += word;
      }
    }
    if (out.empty()) out.reserve(page.size());
    out += Mid(page, copied, a - copied);
    out += kClassOpener + merged + u"\"" + rest;
    copied = e;
    a = InStr(e, page, kClassOpener);
  }
  if (copied != 1) {
    out += Mid(page, copied);
    page.swap(out);
  }
  Compact(page);
}

}  // namespace qp::revise
