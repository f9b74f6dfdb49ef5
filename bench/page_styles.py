#!/usr/bin/env python3
"""How the finished pages' style rules read in a browser, over a folder of
pages (as bench/page_coverage.py --keep DIR leaves them).

    bench/page_styles.py DIR [--list]

Per page: the paragraphs (p, h1-h6) whose rules and style attribute leave
margin-top or margin-bottom unset, so that the browser's default margins
(1em for p) stand; the declarations whose double quotes do not pair up
(a browser drops the rest of the rule, or the whole style sheet); the
font-family values without a generic family after the named font. Ends
with the counts of pages; --list names the pages behind each count.
"""

import argparse
import codecs
import os
import re

TAG = re.compile(r"<(p|h[1-6])(\s[^>]*)?>", re.I)
ATTR = re.compile(r"""\s(class|style)\s*=\s*("[^"]*"|'[^']*'|[^\s>]+)""", re.I)
RULE = re.compile(r"([^{}]+)\{([^}]*)\}")
GENERIC = ("serif", "sans-serif", "monospace", "cursive", "fantasy")


def read_page(path):
    data = open(path, "rb").read()
    if data.startswith(codecs.BOM_UTF8):
        return data[3:].decode("utf-8", "replace")
    return data.decode("cp932", "replace")


def declarations(text):
    """(name, value) pairs; a ";" inside quotes does not end a declaration,
    as in a browser."""
    out, name, buf, quote = [], None, "", None
    for c in text + ";":
        if quote:
            buf += c
            if c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            buf += c
        elif c == ";":
            if ":" in buf:
                n, v = buf.split(":", 1)
                out.append((n.strip().lower(), v.strip()))
            buf = ""
        else:
            buf += c
    return out


def unbalanced(text):
    return sum(1 for piece in text.split(";") if piece.count('"') % 2)


def sets_vertical(decls):
    top = bottom = False
    for name, _ in decls:
        top = top or name in ("margin", "margin-top")
        bottom = bottom or name in ("margin", "margin-bottom")
    return top, bottom


def survey(page):
    m = re.search(r"<style[^>]*>(.*?)</style>", page, re.S | re.I)
    sheet = m.group(1).replace("<!--", "").replace("-->", "") if m else ""
    rules = []
    for sel, body in RULE.findall(sheet):
        decls = declarations(body)
        for s in sel.split(","):
            rules.append((s.strip().lower(), decls, body))
    broken = sum(unbalanced(body) for _, _, body in rules)
    families = [v for _, d, _ in rules for n, v in d if n == "font-family"]
    paragraphs = defaults = 0
    for tag in TAG.finditer(page):
        element = tag.group(1).lower()
        attrs = {k.lower(): v.strip("\"'") for k, v in ATTR.findall(tag.group(2) or "")}
        classes = attrs.get("class", "").lower().split()
        names = {element} | {"." + c for c in classes} | {element + "." + c for c in classes}
        top = bottom = False
        for sel, decls, _ in rules:
            if sel in names:
                t, b = sets_vertical(decls)
                top, bottom = top or t, bottom or b
        inline = declarations(attrs.get("style", ""))
        broken += unbalanced(attrs.get("style", ""))
        families += [v for n, v in inline if n == "font-family"]
        t, b = sets_vertical(inline)
        paragraphs += 1
        if not (top or t) or not (bottom or b):
            defaults += 1
    plain = [f for f in families if f.split(",")[-1].strip().lower() not in GENERIC]
    return paragraphs, defaults, broken, len(plain)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("dir")
    ap.add_argument("--list", action="store_true")
    a = ap.parse_args()
    names = sorted(n for n in os.listdir(a.dir) if n.endswith(".htm"))
    mostly, quotes, nogeneric = [], [], []
    for n in names:
        paragraphs, defaults, broken, plain = survey(read_page(os.path.join(a.dir, n)))
        if paragraphs and defaults * 2 > paragraphs:
            mostly.append("%s (%d of %d)" % (n, defaults, paragraphs))
        if broken:
            quotes.append("%s (%d)" % (n, broken))
        if plain:
            nogeneric.append("%s (%d)" % (n, plain))
    rows = [("pages where most paragraphs keep the browser's default margins", mostly),
            ("pages with a declaration whose quotes do not pair up", quotes),
            ("pages with a font-family without a generic family", nogeneric)]
    print("pages: %d" % len(names))
    for label, found in rows:
        print("%-66s %5d" % (label, len(found)))
        if a.list:
            print("".join("    %s\n" % f for f in found), end="")


if __name__ == "__main__":
    main()
