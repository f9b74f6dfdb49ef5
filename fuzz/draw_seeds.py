#!/usr/bin/env python3
"""Seeds for the drawing fuzzers from the corpus's .docx files.

  draw_seeds.py DOCX_DIR chart|shape|math|emfplus OUT_DIR

chart: each word/charts/chartN.xml and chartExN.xml; shape: each SmartArt
drawing and each top-level shape, group, canvas or equation of the story
parts, with namespaces declared (the prefixes ElementTree chooses do not
matter to the reader); math: the equations alone; emfplus: each EMF picture that holds EMF+ records.
"""
import os
import re
import sys
import xml.etree.ElementTree as ET
import zipfile

KEEP = {"wsp", "wgp", "wpc", "shape", "rect", "roundrect", "oval", "line", "group", "oMathPara",
        "oMath"}


def local(tag):
    return tag.rsplit("}", 1)[-1]


def top_drawings(node, out):
    for child in node:
        if local(child.tag) in KEEP:
            out.append(child)
        else:
            top_drawings(child, out)


def main():
    src, kind, dst = sys.argv[1:4]
    os.makedirs(dst, exist_ok=True)
    n = 0
    for name in sorted(os.listdir(src)):
        if not name.endswith(".docx"):
            continue
        try:
            z = zipfile.ZipFile(os.path.join(src, name))
            for part in z.namelist():
                data = None
                if kind == "emfplus" and part.lower().endswith(".emf"):
                    emf = z.read(part)
                    data = [emf] if b"EMF+" in emf else []
                elif kind == "chart" and re.fullmatch(r"word/charts/chart(Ex)?\d+\.xml", part):
                    data = [z.read(part)]
                elif kind == "shape" and re.fullmatch(r"word/diagrams/drawing\d+\.xml", part):
                    data = [z.read(part)]
                elif kind in ("shape", "math") and re.fullmatch(
                        r"word/(document|header\d*|footer\d*)\.xml", part):
                    found = []
                    top_drawings(ET.fromstring(z.read(part)), found)
                    if kind == "math":
                        found = [f for f in found if local(f.tag) in ("oMath", "oMathPara")]
                    data = [ET.tostring(f) for f in found]
                for d in data or []:
                    if len(d) <= 64 * 1024:
                        n += 1
                        ext = "emf" if kind == "emfplus" else "xml"
                        with open(os.path.join(dst, "seed%04d.%s" % (n, ext)), "wb") as f:
                            f.write(d)
        except (zipfile.BadZipFile, ET.ParseError, KeyError, OSError):
            continue


if __name__ == "__main__":
    main()
