#!/usr/bin/env python3
"""Times quillpage on documents that grow what a hostile document grows:
thousands of missing pictures (each a note of its own) and megabytes of
paragraphs from a small file. Prints seconds and peak memory per size, so
that time or memory that grows faster than the input shows.

    bench/hostile_scaling.py [--bin build/bin/quillpage]
                             [--missing 5000,10000,20000,30000]
                             [--paragraphs-mb 25,50,100,200]
"""
import argparse
import os
import re
import subprocess
import tempfile
import time
import zipfile

W = ('xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" '
     'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" '
     'xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" '
     'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" '
     'xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture"')
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"


def write_docx(path, body, rels=""):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/'
                   'content-types"><Default Extension="rels" ContentType="application/'
                   'vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" '
                   'ContentType="application/xml"/><Override PartName="/word/document.xml" '
                   'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.'
                   'document.main+xml"/></Types>')
        z.writestr("_rels/.rels",
                   '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/'
                   'package/2006/relationships"><Relationship Id="rId1" Type="' + REL +
                   'officeDocument" Target="word/document.xml"/></Relationships>')
        z.writestr("word/_rels/document.xml.rels",
                   '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/'
                   'package/2006/relationships">' + rels + "</Relationships>")
        z.writestr("word/document.xml",
                   '<?xml version="1.0" encoding="UTF-8"?><w:document ' + W + "><w:body>" + body +
                   "</w:body></w:document>")


def missing_pictures(path, count):
    rels, body = [], []
    for i in range(1, count + 1):
        rels.append('<Relationship Id="rId%d" Type="%simage" Target="media/missing%d.png"/>'
                    % (i, REL, i))
        body.append('<w:p><w:r><w:drawing><wp:inline><wp:extent cx="95250" cy="95250"/>'
                    '<wp:docPr id="%d" name="p"/><a:graphic><a:graphicData uri="http://'
                    'schemas.openxmlformats.org/drawingml/2006/picture"><pic:pic><pic:blipFill>'
                    '<a:blip r:embed="rId%d"/></pic:blipFill></pic:pic></a:graphicData>'
                    "</a:graphic></wp:inline></w:drawing></w:r></w:p>" % (i, i))
    write_docx(path, "".join(body), "".join(rels))


def paragraphs(path, megabytes):
    para = '<w:p><w:r><w:t>A paragraph of plain words, again and again.</w:t></w:r></w:p>'
    write_docx(path, para * (megabytes * 2**20 // len(para)))


def run(binary, document):
    """Seconds and peak resident kilobytes of one run in a home of its own."""
    with tempfile.TemporaryDirectory() as home:
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
        start = time.monotonic()
        done = subprocess.run(["/usr/bin/time", "-v", binary, document], env=env,
                              capture_output=True, text=True, errors="replace")
        seconds = time.monotonic() - start
        peak = re.search(r"Maximum resident set size \(kbytes\): (\d+)", done.stderr)
        page = os.path.exists(os.path.join(home, "Desktop",
                                           os.path.basename(document)[:-5] + ".htm"))
        return seconds, int(peak.group(1)) if peak else 0, page


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", default="build/bin/quillpage")
    ap.add_argument("--missing", default="5000,10000,20000,30000")
    ap.add_argument("--paragraphs-mb", default="25,50,100,200")
    args = ap.parse_args()
    with tempfile.TemporaryDirectory() as tmp:
        print("%-24s %10s %9s %12s %5s" % ("document", "file KB", "seconds", "peak MB", "page"))
        cases = [("missing%s.docx" % n, missing_pictures, int(n))
                 for n in args.missing.split(",") if n]
        cases += [("paragraphs%smb.docx" % n, paragraphs, int(n))
                  for n in args.paragraphs_mb.split(",") if n]
        for name, make, size in cases:
            path = os.path.join(tmp, name)
            make(path, size)
            seconds, peak, page = run(args.bin, path)
            print("%-24s %10d %9.2f %12.0f %5s" % (name, os.path.getsize(path) // 1024, seconds,
                                                   peak / 1024, "yes" if page else "no"))
            os.remove(path)


if __name__ == "__main__":
    main()
