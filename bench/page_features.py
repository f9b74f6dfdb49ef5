#!/usr/bin/env python3
"""Counts, over finished pages kept by bench/page_coverage.py --keep DIR, the
pages that show some features of the Word export:

    bench/page_features.py DIR [DIR2]

- symbol font: text set in Wingdings, Symbol or Webdings (a style rule or an
  inline font-family), which reads as plain letters without those fonts;
- empty table: a table with no text and no picture in any cell (what a
  table deleted as a tracked change used to leave);
- float right: a picture or box with align=right;
- check box: a ballot box character (☐, ☑, ☒);
- equation script: <sub> or <sup> inside an equation's text is not told
  apart here, so this counts pages with any <sub>/<sup>.
With two folders the counts stand side by side (before, after).
"""

import html
import os
import re
import sys

SYMBOL_FONT = re.compile(r"font-family:[^;'\"}>]*\b(Wingdings|Symbol|Webdings)\b(?! [23])", re.I)
TABLE = re.compile(r"<table\b.*?</table>", re.S | re.I)
TAG = re.compile(r"<[^>]*>")


def features(text):
    found = set()
    if SYMBOL_FONT.search(text):
        found.add("symbol font")
    for t in TABLE.finditer(text):
        inner = t.group(0)
        if "<table" in inner[6:].lower():
            continue  # nested: judged by the innermost
        visible = html.unescape(TAG.sub("", inner)).replace("\xa0", "").strip()
        if not visible and "<img" not in inner.lower():
            found.add("empty table")
    if re.search(r"<(img|table)\b[^>]*\balign=\"?right", text, re.I):
        found.add("float right")
    if re.search("[\u2610\u2611\u2612]|&#974[456];", text):
        found.add("check box")
    if re.search(r"<su[bp]>", text, re.I):
        found.add("sub/sup")
    return found


def count(folder):
    totals, pages = {}, 0
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".htm"):
            continue
        raw = open(os.path.join(folder, name), "rb").read()
        text = raw.decode("utf-8" if raw.startswith(b"\xef\xbb\xbf") else "cp932", "replace")
        pages += 1
        for f in features(text):
            totals.setdefault(f, []).append(name)
    return pages, totals


def main():
    folders = sys.argv[1:]
    if not folders:
        sys.exit(__doc__)
    results = [count(f) for f in folders]
    keys = sorted({k for _, t in results for k in t})
    print("%-14s" % "pages" + "".join("%10d" % p for p, _ in results))
    for k in keys:
        print("%-14s" % k + "".join("%10d" % len(t.get(k, [])) for _, t in results))
    if os.environ.get("QP_LIST"):
        for k in keys:
            for (_, t), folder in zip(results, folders):
                print("\n%s in %s:\n  %s" % (k, folder, "\n  ".join(t.get(k, []))))


if __name__ == "__main__":
    main()
