#!/usr/bin/env python3
"""Runs every usable corpus document through quillpage as a user would and
validates every page written against HTML 4.01 Transitional.

    tests/generate/corpus_run.py BUILD_DIR [--corpus DIR] [--only docx|doc]
                                 [--encod 0|1] [--keep DIR]

Each document gets a fresh home (desktop folder, settings with Prevw=0, no
display). Reported per document: exit status, messages, page written,
pictures, files written outside the desktop and the settings folder, and
the validator's first errors. Ends with the counts. Needs onsgmls (opensp)
and the HTML 4.01 DTDs (sgml-data)."""

import argparse
import codecs
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

CATALOG = "/usr/share/sgml/html/dtd/4.01/catalog"


def usable_documents(corpus, only):
    bad = set()
    with open(os.path.join(corpus, "MANIFEST_bad.tsv"), encoding="utf-8") as f:
        for line in f.read().splitlines()[1:]:
            bad.add(line.split("\t")[0])
    docs = []
    with open(os.path.join(corpus, "MANIFEST.tsv"), encoding="utf-8") as f:
        for line in f.read().splitlines()[1:]:
            name = line.split("\t")[0]
            ext = os.path.splitext(name)[1].lower()
            if name in bad or ext not in (".doc", ".docx"):
                continue
            if only and ext != "." + only:
                continue
            docs.append(name)
    return docs


def snapshot(root):
    found = set()
    for folder, dirs, files in os.walk(root):
        for n in dirs + files:
            found.add(os.path.relpath(os.path.join(folder, n), root))
    return found


_verdicts = {}


def validate(page_path):
    """Returns the validator's error lines (empty: valid). A page whose text
    was validated before, in either encoding, is not validated again."""
    data = open(page_path, "rb").read()
    if data.startswith(codecs.BOM_UTF8):
        text = data[3:].decode("utf-8", "replace")
    else:
        text = data.decode("cp932", "replace")
    # the validator reads the text as UTF-8 whatever the page declares
    key = hashlib.sha1(text.replace("charset=utf-8", "charset=shift_jis").encode()).digest()
    if key in _verdicts:
        return _verdicts[key]
    with tempfile.NamedTemporaryFile("w", suffix=".htm", encoding="utf-8", delete=False) as t:
        t.write(text)
    env = dict(os.environ, SP_CHARSET_FIXED="YES", SP_ENCODING="UTF-8")
    r = subprocess.run(["onsgmls", "-s", "-c", CATALOG, t.name], env=env,
                       capture_output=True, text=True, errors="replace")
    os.unlink(t.name)
    _verdicts[key] = [l.replace(t.name, "page") for l in r.stderr.splitlines() if l.strip()]
    return _verdicts[key]


DEFAULT_OPTIONS = dict(SetCt=0, SetPW=0, LGrid=1, Prevw=0, Encod=0, AddSS=0)


def run_one(program, corpus, name, options, keep, inspect=None, source=None):
    """Runs one document; `inspect(desktop, page)`, when given, looks at the
    written page before the home is removed and its answer is kept.
    `options`: the Encod value, or a dict of options over DEFAULT_OPTIONS.
    `source`: the file to run under the document's name (a .doc converted
    beforehand), else the corpus file itself."""
    if not isinstance(options, dict):
        options = dict(Encod=options)
    options = dict(DEFAULT_OPTIONS, **options)
    home = tempfile.mkdtemp(prefix="qp-corpus-")
    try:
        os.makedirs(os.path.join(home, ".config"))
        with open(os.path.join(home, ".config", "user-dirs.dirs"), "w") as f:
            f.write('XDG_DESKTOP_DIR="$HOME/Desktop"\n')
        settings = os.path.join(home, ".config", "Vexor", "Quillpg_Word")
        os.makedirs(settings)
        with open(os.path.join(settings, "Control.ini"), "w") as f:
            f.write("[SYSTEM]\r\n" + "".join("%s=%d\r\n" % kv for kv in options.items()))
        os.makedirs(os.path.join(home, "Desktop"))
        docs = os.path.join(home, "docs")
        os.makedirs(docs)
        doc = os.path.join(docs, os.path.basename(source or name))
        shutil.copyfile(source or os.path.join(corpus, name), doc)
        before = snapshot(home)
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY") and not k.startswith("XDG_")}
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
        start = time.time()
        try:
            r = subprocess.run([program, doc], env=env, capture_output=True, timeout=300)
            status, out = r.returncode, (r.stdout + r.stderr).decode("utf-8", "replace")
        except subprocess.TimeoutExpired:
            status, out = "hang", ""
        seconds = time.time() - start
        after = snapshot(home)
        outside = sorted(p for p in after - before
                         if not p.startswith("Desktop") and not p.startswith(".config"))
        pages = [p for p in os.listdir(os.path.join(home, "Desktop")) if p.endswith(".htm")]
        pictures = os.listdir(os.path.join(home, "Desktop", "Image")) \
            if os.path.isdir(os.path.join(home, "Desktop", "Image")) else []
        errors = validate(os.path.join(home, "Desktop", pages[0])) if pages else None
        if keep and pages:
            os.makedirs(keep, exist_ok=True)
            shutil.copyfile(os.path.join(home, "Desktop", pages[0]),
                            os.path.join(keep, name.replace("/", "__") + ".htm"))
        seen = inspect(os.path.join(home, "Desktop"), pages[0]) if inspect and pages else None
        work = os.path.join(settings, "Wrk")
        work_left = os.listdir(work) if os.path.isdir(work) else []
        return dict(name=name, status=status, out=out.strip(), pages=pages, pictures=len(pictures),
                    outside=outside, errors=errors, seconds=seconds, work_left=work_left,
                    seen=seen)
    finally:
        shutil.rmtree(home, ignore_errors=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--corpus", default=os.path.join(os.path.dirname(__file__), "..", "..", "..",
                                                     "shared", "corpus"))
    ap.add_argument("--only", choices=["doc", "docx"])
    ap.add_argument("--encod", type=int, default=0)
    ap.add_argument("--keep")
    a = ap.parse_args()
    program = os.path.join(a.build, "bin", "quillpage")
    counts = dict(documents=0, pages=0, valid=0, messages=0, failures=0, crashes=0, hangs=0,
                  outside=0, work_left=0)
    for name in usable_documents(a.corpus, a.only):
        r = run_one(program, a.corpus, name, a.encod, a.keep)
        counts["documents"] += 1
        line = "%-70s status=%s %.1fs" % (name, r["status"], r["seconds"])
        if r["pages"]:
            counts["pages"] += 1
            line += " page pictures=%d" % r["pictures"]
            if not r["errors"]:
                counts["valid"] += 1
                line += " valid"
            else:
                line += " INVALID(%d): %s" % (len(r["errors"]), r["errors"][0][-160:])
        if r["status"] == "hang":
            counts["hangs"] += 1
        elif r["status"] == 2:
            counts["failures"] += 1
        elif r["status"] not in (0, 1):
            counts["crashes"] += 1
        if r["out"]:
            counts["messages"] += 1
            line += " | " + r["out"].replace("\n", " ")[:200]
        if r["outside"]:
            counts["outside"] += 1
            line += " OUTSIDE: %s" % r["outside"][:5]
        if r["work_left"]:
            counts["work_left"] += 1
            line += " WORK-LEFT: %s" % r["work_left"][:5]
        print(line, flush=True)
    print(" ".join("%s=%d" % kv for kv in counts.items()))
    return 1 if counts["crashes"] or counts["hangs"] or counts["outside"] else 0


if __name__ == "__main__":
    sys.exit(main())
