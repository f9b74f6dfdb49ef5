// The passes written the direct way, as their steps read: every search from
// scratch, every change made to the whole text at once. Slow (quadratic on
// large pages), kept only to check the passes against them.
#pragma once

#include <cmath>
#include <unordered_set>

#include "revise/state.h"
#include "text/failure.h"
#include "text/number.h"

namespace qp::revise::direct {

inline void MarkSpans(Text& t, Pos start, TextView open, TextView close, Pos extra, Compare cmp) {
  Pos d = InStr(start, t, open, cmp);
  while (d != 0) {
    const Pos e = InStr(d, t, close);
    if (e == 0) RaiseStructure();
    MarkRange(t, d, e + Len(close) - 1 + extra);
    d = InStr(e + Len(close) + extra, t, open, cmp);
  }
}

inline void DelStdProperty(Text& t, TextView name) {
  Pos p = InStr(t, name);
  while (p != 0) {
    const Pos lt = InStrRev(t, u"<", p);
    const Pos gt = InStrRev(t, u">", p);
    const Pos nx = InStr(p, t, u">");
    Pos next = p + 1;
    if (gt < lt && lt < p && p < nx) {
      Pos semi = InStr(p, t, u";");
      Pos apos = InStr(p, t, u"'");
      if (semi > nx) semi = 0;
      if (apos > nx) apos = 0;
      if (semi == 0 && apos == 0) {
        MarkRange(t, p, nx - 2);
        next = nx - 1;
      } else if (semi != 0 && (apos == 0 || semi < apos)) {
        MarkRange(t, p, semi);
        next = semi + 1;
      } else {
        MarkRange(t, p, apos - 1);
        next = apos;
      }
    }
    p = InStr(next, t, name);
  }
}

inline void DelXmlState(Text& t) {
  if (const Pos a = InStr(t, u"<html"); a != 0) {
    const Pos e = InStr(a + 5, t, u">");
    if (e > a + 5) MarkRange(t, a + 5, e - 1);
  }
  Compact(t);
  for (const char16_t* m : {u"<meta name=ProgId", u"<meta name=Generator", u"<meta name=Originator",
                            u"<meta http-equiv=Content-Type"}) {
    MarkSpans(t, 1, m, u">", 2, Compare::Binary);
  }
  Compact(t);
  MarkSpans(t, 1, u"<!--[", u"]-->", 0, Compare::Binary);
  Compact(t);
  MarkSpans(t, 1, u"<![", u"]>", 0, Compare::Binary);
  Compact(t);
  for (const char16_t* rel :
       {u"file-list", u"edit-time-data", u"ole-object-data", u"original-file", u"preview",
        u"themeData", u"colorSchemeMapping", u"dataStoreItem", u"plchdr"}) {
    MarkSpans(t, 1, Text(u"<link rel=") + rel, u">", 2, Compare::TextCompare);
  }
  Compact(t);
  for (const char16_t* o :
       {u"<o:", u"</o:", u"<v:", u"</v:", u"<w:", u"</w:", u"<x:", u"</x:", u"<p:", u"</p:"}) {
    MarkSpans(t, 1, o, u">", 0, Compare::Binary);
  }
  Compact(t);
  for (Pos f = InStr(t, u"v:"); f != 0;) {
    Pos next = f + 2;
    const Text before = Mid(t, f - 1, f > 1 ? 1 : 0);
    if (before == u" " || before == u"\n") {
      const Pos s = before == u" " ? f - 1 : f;
      const Pos lt = InStrRev(t, u"<", s);
      const Pos gt = InStrRev(t, u">", s);
      if (lt != 0 && gt < lt) {
        const Pos q = InStr(s, t, u"\"");
        if (q == 0) Raise(err::kInvalidArgument);
        const Pos m = InStr(q + 1, t, u"\"");
        if (m == 0) RaiseStructure();
        MarkRange(t, s, m);
        next = m + 1;
      }
    }
    f = InStr(next, t, u"v:");
  }
  Compact(t);
  DelStdProperty(t, u"mso-");
  Compact(t);
  for (const char16_t* prop : {u"text-justify",
                               u"tab-stops",
                               u"tab-interval",
                               u"anguage",
                               u"text-underline",
                               u"text-effect",
                               u"text-line-through",
                               u"font-color",
                               u"horiz-align",
                               u"list-image-1",
                               u"list-image-2",
                               u"list-image-3",
                               u"separator-image",
                               u"table-border-color-dark",
                               u"table-border-color-light",
                               u"vert-align",
                               u"vnd.ms-excel.numberformat",
                               u"page-break-after",
                               u"page-break-before",
                               u"layout-grid-mode"}) {
    DelStdProperty(t, prop);
  }
  Compact(t);
  MarkSpans(t, 1, u"<param", u">", 2, Compare::Binary);
  Compact(t);
  for (Pos l = InStr(t, u"<div "); l != 0;) {
    const Pos m = InStr(l, t, u">");
    if (m == 0) Raise(err::kInvalidArgument);
    const Pos o = InStr(l, t, u" id=\"");
    if (o != 0) {
      const Pos k = InStr(o + 5, t, u"\"");
      if (k != 0 && k < m) MarkRange(t, o, k);
    }
    l = InStr(m, t, u"<div ");
  }
  Compact(t);
  const Pos body = InStr(t, u"<body");
  if (body == 0 && !t.empty()) Raise(err::kInvalidArgument);
  if (body != 0) MarkSpans(t, body, u"<!--", u">", 2, Compare::Binary);
  Compact(t);
  for (const char16_t* x : {u" x:publishsource", u" x:str", u" x:num"}) {
    for (Pos p = InStr(t, x); p != 0;) {
      MarkDeleted(t, p, Len(x));
      const Pos v = p + Len(x);
      Pos next = v;
      if (Mid(t, v, 1) == u"=") {
        const Pos w = InStr(v + 2, t, u"\"");
        if (w == 0) RaiseStructure();
        MarkRange(t, v, w);
        next = w + 1;
      }
      p = InStr(next, t, x);
    }
  }
  Compact(t);
}

// Rev_IEE_Style, splicing the page at every change.
inline void RevIEEStyle(Text& t) {
  const auto rebuild = [&t](TextView open, Pos step, auto rule) {
    for (Pos a = InStr(t, open); a != 0; a = InStr(a + step, t, open)) {
      const Pos b = InStr(a, t, u">");
      if (b <= a) continue;
      const Text tag = Mid(t, a, b - a);
      Text changed;
      if (rule(tag, changed)) t = Left(t, a - 1) + changed + Mid(t, b);
    }
  };
  rebuild(u"<tr ", 7, [](const Text& tag, Text& out) {
    const Text r = tag + u" ";
    const Pos d = InStr(r, u" height=");
    if (d == 0) return false;
    const Pos e = InStr(d + 8, r, u" ");
    if (e == d + 8) return false;
    const float n = static_cast<float>(LeadingNumber(Mid(r, d + 8, e - d - 8)));
    out = TrimRight(Left(r, d - 1) + u" style='height:" + FormatSingle(n) + u"pt'" + Mid(r, e));
    return true;
  });
  rebuild(u"<img ", 7, [](const Text& tag, Text& out) {
    if (InStr(tag, u" alt=") != 0) return false;
    out = TrimRight(tag + u" alt=\"\"");
    return true;
  });
  rebuild(u"<table ", 7, [](const Text& tag, Text& out) {
    if (InStr(tag, u" layout=") != 0) return false;
    out = TrimRight(tag + u" summary=\" \"");
    return true;
  });
  const auto drop = [&t](TextView open, Pos step, TextView attr, TextView prop, bool check) {
    bool marked = false;
    for (Pos a = InStr(t, open); a != 0; a = InStr(a + step, t, open)) {
      const Pos b = InStr(a, t, u">");
      if (b <= a) continue;
      const Pos g = InStr(a, t, attr);
      const Pos h = InStr(a, t, prop);
      if (!(a < g && g < b && a < h && h < b)) continue;
      const Text before = Mid(t, h - 1, 1);
      if (check && before != u";" && before != u"'" && before != u" ") continue;
      const Pos m = InStr(g + 7, t, u" ");
      if (!(g < m && m < h)) continue;
      MarkRange(t, g, m - 1);
      marked = true;
    }
    if (marked) Compact(t);
  };
  drop(u"<td ", 4, u" width=", u"width:", true);
  drop(u"<p ", 3, u" align=", u"text-align:", false);
  for (Pos a = InStr(t, u"<a "); a != 0; a = InStr(a + 8, t, u"<a ")) {
    const Pos b = InStr(a, t, u">");
    if (b <= a) continue;
    const Pos g = InStr(a, t, u" title=");
    if (!(a < g && g < b)) continue;
    const Pos m = InStr(g + 8, t, u"\"");
    if (!(g < m && m < b)) continue;
    const Text attr = Mid(t, g, m - g + 1);
    const Pos pct = InStr(attr, u"%");
    if (pct == 0) continue;
    Text repl = u" class=\"" + Mid(attr, pct + 1);
    if (Mid(attr, pct - 1, 1) != u"\"") repl += Left(attr, pct - 1) + u"\"";
    t = Left(t, g - 1) + repl + Mid(t, m + 1);
  }
}

inline void SetQuote(Text& t) {
  for (Pos a = InStr(t, u"<"); a != 0; a = InStr(a + 1, t, u"<")) {
    Pos b = InStr(a, t, u">");
    if (b <= a) RaiseStructure();
    Pos c = InStr(a, t, u"=");
    while (c != 0 && c <= b) {
      const Pos d = c + 1;
      if (Mid(t, d, 1) != u"\"") {
        Pos f = InStr(c, t, u" ");
        if (f == 0 || f > b) f = b;
        t = Left(t, c) + u"\"" + Mid(t, d, f - d) + u"\"" + Mid(t, f);
        b += 2;
        a = f + 1;
        c = InStr(d, t, u"=");
      } else {
        const Pos q = InStr(d + 1, t, u"\"");
        c = InStr(q != 0 && q < b ? q + 1 : d, t, u"=");
      }
    }
  }
}

inline void RevBrTag(Text& t) {
  for (Pos b = InStr(t, u"<br"); b != 0;) {
    const Pos c = InStr(b + 1, t, u">");
    if (c == 0) break;
    if (Mid(t, c + 1, 1) != u"<" && Mid(t, c + 1, 2) != u"\r\n") {
      t = Left(t, c) + u"\r\n" + Mid(t, c + 1);
    }
    b = InStr(c + 1, t, u"<br");
  }
}

inline void TogetStyle(Text& page, Text& sheet) {
  std::vector<Text> entries, names;
  std::unordered_set<Text> entryKeys, nameKeys;
  for (Pos s = InStr(page, u" style='"); s != 0;) {
    const Pos l = InStrRev(page, u"<", s);
    const Pos g = InStrRev(page, u">", s);
    if (!(g < l && l < s)) RaiseStructure();
    const Text element = Mid(page, l + 1, InStr(l + 1, page, u" ") - l - 1);
    const Pos q = InStr(s + 8, page, u"'");
    const Pos e = InStr(s + 8, page, u">");
    if (!(s < q && q < e)) RaiseStructure();
    const Text entry = element + u"|" + Mid(page, s, q - s + 1);
    if (entryKeys.insert(LowerCase(entry)).second) entries.push_back(entry);
    if (nameKeys.insert(LowerCase(element)).second) names.push_back(element);
    s = InStr(e, page, u" style='");
  }
  long counter = 0;
  for (const Text& name : names) {
    for (const Text& entry : entries) {
      const Pos bar = InStr(entry, u"|");
      if (Left(entry, bar - 1) != name) continue;
      const Text attr = Mid(entry, bar + 1);
      const Text c = u"c" + FormatInteger(++counter);
      const Text selector = u"body ." + c;
      const Text decl = Mid(attr, 9, Len(attr) - 9);
      if (Len(selector) <= 10) {
        sheet += selector + Text(static_cast<std::size_t>(11 - Len(selector)), u' ');
      } else {
        sheet += selector + Text(11, u' ') + u"\r\n";
      }
      sheet += u"{" + decl + u"}\r\n";
      page = Replace(page, attr, u" class=\"" + c + u"\"");
    }
  }
  for (Pos a = InStr(page, u"class=\""); a != 0;) {
    const Pos e = InStr(a, page, u">");
    if (e <= a) RaiseStructure();
    const Pos b = InStr(a + 7, page, u"class=\"");
    if (a < b && b < e) {
      Text merged, rest;
      bool first = true;
      for (const Text& w : Split(Mid(page, a, e - a), u" ")) {
        if (Left(w, 7) == u"class=\"") {
          merged += (first ? u"" : u" ") + Mid(w, 8, Len(w) - 8);
          first = false;
        } else {
          rest += u" " + w;
        }
      }
      const Text seg = u"class=\"" + merged + u"\"" + rest;
      // a bare opener gives an empty value and the one case where the
      // segment does not shrink
      const Pos pad = std::max<Pos>(0, e - a - Len(seg));
      page = Left(page, a - 1) + seg + Text(static_cast<std::size_t>(pad), u'\0') + Mid(page, e);
      a = InStr(a + Len(seg) + pad, page, u"class=\"");
      continue;
    } else {
      a = b;
    }
  }
  Compact(page);
}

inline void RevUnit(Text& sheet, double base) {
  struct U {
    const char16_t* unit;
    const char16_t* repl;
    int family;
  };
  for (const U& u : {U{u"pt ", u"px ", 0}, U{u"pt;", u"px;", 0}, U{u"pt}", u"px}", 0},
                     U{u"mm ", u"px ", 1}, U{u"mm;", u"px;", 1}, U{u"mm}", u"px}", 1},
                     U{u"gd ", u"px ", 2}, U{u"gd;", u"px;", 2}, U{u"gd}", u"px}", 2}}) {
    for (Pos p = InStr(sheet, u.unit); p != 0;) {
      const Pos b = InStrRev(sheet, u" ", p);
      const Pos c = InStrRev(sheet, u":", p);
      const Pos s = (b == 0 || (c != 0 && c > b)) ? c : b;
      Pos next = p + 3;
      if (s > 0) {
        const auto v = ParseDecimal(Mid(sheet, s + 1, p - s - 1));
        if (v && p - s - 1 > 0) {
          const double x = u.family == 0   ? *v / 72 * 96
                           : u.family == 1 ? *v / 25.4 * 96
                                           : *v * base / 72 * 96;
          const Text n = FormatNumber(std::floor(x + 0.5));
          sheet = Left(sheet, s) + n + u.repl + Mid(sheet, p + 3);
          next = s + Len(n) + 4;
        }
      }
      p = InStr(next, sheet, u.unit);
    }
  }
}

}  // namespace qp::revise::direct
