#!/usr/bin/env python3
"""Quality of the finished pages over the corpus, measured through the whole
program: every usable .docx and .doc goes through `quillpage` as a user runs
it (tests/generate/corpus_run.py: own home, desktop folder, no display,
Prevw=0), then the page on the desktop is compared with the document.

    bench/page_coverage.py BUILD_DIR [--only docx|doc] [--encod 0|1]
                           [--jobs N] [--cache DIR] [--keep DIR] [--match TEXT]

Per document: the share of the words `pandoc -t plain` finds in it that
appear in the page's text (whitespace ignored, NFKC), the PNG/JPEG/GIF
pictures it shows against those that reach the page's Image folder and are
referenced by the page, and whether the page is valid HTML 4.01
Transitional. pandoc cannot read .doc, so a .doc is measured against the
.docx LibreOffice makes of it (kept in --cache between runs).
"""

import argparse
import concurrent.futures
import hashlib
import os
import re
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
sys.path.insert(0, os.path.join(here, "..", "tests", "generate"))
import corpus_run  # noqa: E402
import word_coverage_measure as measure  # noqa: E402


def as_docx(corpus, name, cache):
    """The .docx to measure against: the document itself, or for a .doc
    LibreOffice's conversion of it."""
    path = os.path.join(corpus, name)
    if not name.lower().endswith(".doc"):
        return path
    key = hashlib.sha1(open(path, "rb").read()).hexdigest()[:16]
    out = os.path.join(cache, key + ".docx")
    if os.path.exists(out):
        return out
    with tempfile.TemporaryDirectory() as work:
        doc = os.path.join(work, key + ".doc")
        with open(path, "rb") as src, open(doc, "wb") as dst:
            dst.write(src.read())
        profile = "file://" + os.path.join(work, "profile")
        subprocess.run(["soffice", "-env:UserInstallation=" + profile, "--headless",
                        "--norestore", "--convert-to", "docx", "--outdir", work, doc],
                       capture_output=True, timeout=300, env=dict(os.environ, HOME=work))
        made = os.path.join(work, key + ".docx")
        if os.path.exists(made):
            os.replace(made, out)
    return out


def plain_text(docx, cache):
    key = hashlib.sha1(open(docx, "rb").read()).hexdigest()[:16]
    out = os.path.join(cache, key + ".txt")
    if not os.path.exists(out):
        r = subprocess.run(["pandoc", "-f", "docx", "-t", "plain", "--wrap=none", "--lua-filter",
                            os.path.join(here, "word_coverage_filter.lua"), docx],
                           capture_output=True, timeout=300)
        with open(out, "wb") as f:
            f.write(r.stdout if r.returncode == 0 else b"")
    return out


def pictures_on_page(desktop, page):
    """Pictures the page references that exist in its Image folder."""
    raw = open(os.path.join(desktop, page), "rb").read()
    names = set(m.group(1).decode("latin-1")
                for m in re.finditer(rb'<img[^>]*\ssrc="?Image/([^"\s>]+)', raw, re.I))
    return len([n for n in names if os.path.isfile(os.path.join(desktop, "Image", n))])


def measure_one(program, corpus, name, encod, keep, cache):
    docx = as_docx(corpus, name, cache)
    plain = plain_text(docx, cache) if os.path.exists(docx) else None

    def inspect(desktop, page):
        words, found = measure.words_found(os.path.join(desktop, page), plain) if plain else (0, 0)
        return words, found, pictures_on_page(desktop, page)

    r = corpus_run.run_one(program, corpus, name, encod, keep, inspect)
    r["pictures_in"] = measure.pictures_in(docx) if os.path.exists(docx) else 0
    return r


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--corpus", default=os.path.join(here, "..", "..", "shared", "corpus"))
    ap.add_argument("--only", choices=["doc", "docx"])
    ap.add_argument("--encod", type=int, default=0)
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    ap.add_argument("--cache", default=os.path.join(tempfile.gettempdir(), "qp-coverage-cache"))
    ap.add_argument("--keep")
    ap.add_argument("--match", default="", help="only documents whose name contains this")
    a = ap.parse_args()
    os.makedirs(a.cache, exist_ok=True)
    program = os.path.join(a.build, "bin", "quillpage")
    names = [n for n in corpus_run.usable_documents(a.corpus, a.only) if a.match in n]

    with concurrent.futures.ThreadPoolExecutor(a.jobs) as pool:
        results = list(pool.map(
            lambda n: measure_one(program, a.corpus, n, a.encod, a.keep, a.cache), names))

    pages = good = valid = words = found = pin = pout = 0
    short, missing, invalid, nopage = [], [], [], []
    for r in results:
        if not r["pages"]:
            nopage.append("%s status=%s %s" % (r["name"], r["status"], r["out"][:120]))
            continue
        pages += 1
        w, f, po = r["seen"]
        words, found = words + w, found + f
        if w == 0 or f * 1000 >= w * 980:
            good += 1
        else:
            short.append((100.0 * f / w, w, r["name"]))
        pi = r["pictures_in"]
        pin, pout = pin + pi, pout + min(po, pi)
        if po < pi:
            missing.append("%s: %d of %d" % (r["name"], po, pi))
        if r["errors"]:
            invalid.append("%s (%d): %s" % (r["name"], len(r["errors"]), r["errors"][0][-160:]))
        else:
            valid += 1

    print("documents below 98% of words:")
    for share, w, name in sorted(short):
        print("  %5.1f%% %6d words  %s" % (share, w, name))
    print("pictures missing:")
    print("".join("  %s\n" % m for m in missing), end="")
    print("invalid pages:")
    print("".join("  %s\n" % m for m in invalid), end="")
    print("no page:")
    print("".join("  %s\n" % m for m in nopage), end="")
    print()
    print("documents: %d, pages: %d" % (len(results), pages))
    print("pages with >= 98%% of the words: %d of %d (%.1f%%)"
          % (good, pages, 100.0 * good / max(pages, 1)))
    print("words on the pages: %d of %d (%.2f%%)" % (found, words, 100.0 * found / max(words, 1)))
    print("PNG/JPEG/GIF pictures on the pages: %d of %d" % (pout, pin))
    print("valid HTML 4.01 Transitional pages: %d of %d" % (valid, pages))


if __name__ == "__main__":
    main()
