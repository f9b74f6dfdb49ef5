#!/usr/bin/env python3
"""Drawing coverage of the engine over the corpus: the objects a reader sees
in each .docx body (blip pictures of every format, charts, shapes, groups,
canvases, SmartArt, VML shapes, equations: one picture per display or
inline equation) against the pictures on the exported page, listing every
miss and placeholder with its cause, and
checking that every picture file is a valid PNG, JPEG or GIF and that each
drawn picture has the size of its object within 2 px.

    bench/drawing_coverage.py [BUILD_DIR [DOCUMENT.docx ...]]

QP_CORPUS_DIR overrides the corpus folder.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile
from collections import Counter

here = os.path.dirname(os.path.abspath(__file__))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build")
corpus = os.environ.get("QP_CORPUS_DIR", os.path.join(here, "..", "..", "shared", "corpus"))
if not os.path.isdir(corpus):
    corpus = "/work/shared/corpus"
tool = os.path.join(build, "tests", "word", "word_tool")


def image_size(b):
    """(kind, width, height) of a PNG, JPEG or GIF; None when it is none."""
    if b[:8] == b"\x89PNG\r\n\x1a\n" and b[12:16] == b"IHDR":
        w, h = struct.unpack(">II", b[16:24])
        return "png", w, h
    if b[:6] in (b"GIF87a", b"GIF89a"):
        w, h = struct.unpack("<HH", b[6:10])
        return "gif", w, h
    if b[:3] == b"\xff\xd8\xff":
        at = 2
        while at + 9 < len(b):
            if b[at] != 0xFF:
                return None
            marker = b[at + 1]
            length = struct.unpack(">H", b[at + 2:at + 4])[0]
            if marker in (0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF):
                h, w = struct.unpack(">HH", b[at + 5:at + 9])
                return "jpeg", w, h
            at += 2 + length
    return None


def blip_kind(b):
    if b[:8] == b"\x89PNG\r\n\x1a\n":
        return "png"
    if b[:3] == b"\xff\xd8\xff":
        return "jpeg"
    if b[:6] in (b"GIF87a", b"GIF89a"):
        return "gif"
    if b[:2] == b"BM":
        return "bmp"
    if b[:4] in (b"II*\0", b"MM\0*"):
        return "tiff"
    if b[:4] == b"\x01\0\0\0" and b[40:44] == b" EMF":
        return "emf"
    if b[:4] in (b"\xd7\xcd\xc6\x9a", b"\x01\0\x09\0", b"\x02\0\x09\0"):
        return "wmf"
    if b.lstrip()[:5] in (b"<?xml", b"<svg "):
        return "svg"
    return "other"


def target_kind(z, rels, rid):
    target = rels.get(rid)
    if not target or target not in z.namelist():
        return "missing"
    return blip_kind(z.read(target)[:64])


def strip_fallbacks(xml):
    """The body as a reader sees it: mc:Fallback is not shown when there is a Choice."""
    xml = re.sub(r"<mc:Fallback>.*?</mc:Fallback>", "", xml, flags=re.S)
    # Deleted and moved-away text is not shown.
    return re.sub(r"<w:(moveFrom|del)\b[^>]*>.*?</w:\1>", "", xml, flags=re.S)


def count_objects(z, xml, rels):
    """Objects by kind in the body; pictures expected for each."""
    objects = Counter()
    # Top-level drawings: one wp:inline / wp:anchor each.
    for frame in re.finditer(r"<wp:(inline|anchor)\b.*?</wp:\1>", xml, flags=re.S):
        f = frame.group(0)
        data = re.search(r'<a:graphicData uri="[^"]*/(\w+)"', f)
        uri = data.group(1) if data else "?"
        if "<c:chart " in f:
            objects["chart"] += 1
        elif "<dgm:relIds " in f:
            objects["smartart"] += 1
        elif "<wpg:wgp" in f:
            objects["group" if "<a:blip " not in f else "group of pictures"] += 1
        elif "<wpc:wpc" in f:
            objects["canvas" if "<a:blip " not in f else "canvas of pictures"] += 1
        elif "<wps:wsp" in f:
            geom = re.search(r'<a:prstGeom prst="(\w+)"', f)
            rect = "<a:custGeom" not in f and (geom is None or geom.group(1) == "rect")
            objects["text box (text)" if "<wps:txbx" in f and rect else "shape"] += 1
        if "<a:blip " in f and "<wpg:wgp" not in f and "<wpc:wpc" not in f:
            for rid in re.findall(r'<a:blip r:embed="([^"]+)"', f):
                objects["picture " + target_kind(z, rels, rid)] += 1
        elif uri not in ("picture", "chart", "diagram", "wordprocessingShape",
                         "wordprocessingGroup", "wordprocessingCanvas"):
            objects["other graphic " + uri] += 1
    for pict in re.finditer(r"<w:(pict|object)\b.*?</w:\1>", xml, flags=re.S):
        p = pict.group(0)
        for rid in re.findall(r'<v:imagedata [^>]*r:id="([^"]+)"', p):
            objects["VML picture " + target_kind(z, rels, rid)] += 1
        if "<v:imagedata" not in p and "<a:blip " not in p:
            other_type = re.search(r'<v:shape [^>]*(type="#_x0000_t(?!202"|1")\d+"|path="[^"])', p)
            if "<v:textbox" in p and (re.search(r"<v:rect\b", p) or
                                      (re.search(r"<v:shape\b", p) and not other_type)):
                objects["VML text box (text)"] += 1
            elif re.search(r'o:hr="t"', p):
                objects["horizontal rule (text)"] += 1
            elif re.search(r"<v:(shape|rect|roundrect|oval|line|polyline|arc|curve|group)\b", p):
                objects["VML shape"] += 1
    # a display (m:oMathPara) is one picture however many equations it holds
    displays = re.findall(r"<m:oMathPara\b.*?</m:oMathPara>", xml, flags=re.S)
    inline = re.sub(r"<m:oMathPara\b.*?</m:oMathPara>", "", xml, flags=re.S)
    objects["equation"] += len(displays) + len(re.findall(r"<m:oMath>", inline))
    return objects


def main():
    totals, pictures_expected, shown, invalid, off_size = Counter(), 0, 0, [], []
    misses, placeholders, causes = [], [], Counter()
    docs = sys.argv[2:] or sorted(
        f for f in os.listdir(os.path.join(corpus, "docx")) if f.endswith((".docx", ".docm")))
    bad = open(os.path.join(corpus, "MANIFEST_bad.tsv"), encoding="utf-8").read()
    work = tempfile.mkdtemp()
    for name in docs:
        path = os.path.join(corpus, "docx", name)
        if "docx/" + name + "\t" in bad:
            continue
        try:
            z = zipfile.ZipFile(path)
            xml = z.read("word/document.xml").decode("utf-8", "replace")
            rels_xml = z.read("word/_rels/document.xml.rels").decode("utf-8", "replace")
        except Exception:
            continue
        rels = {}
        for m in re.finditer(r"<Relationship ([^>]*)/?>", rels_xml):
            attrs = dict(re.findall(r'(\w+)="([^"]*)"', m.group(1)))
            if attrs.get("TargetMode") != "External" and "Id" in attrs:
                rels[attrs["Id"]] = os.path.normpath(os.path.join("word", attrs.get("Target", ""))).lstrip("/")
        objects = count_objects(z, strip_fallbacks(xml), rels)
        media = {hash(z.read(n)) for n in z.namelist() if n.startswith("word/media/")}
        converted = any(objects["picture " + k] or objects["VML picture " + k] for k in ("bmp", "tiff"))
        totals.update(objects)
        expected = sum(n for k, n in objects.items() if "(text)" not in k and "missing" not in k)
        pictures_expected += expected
        out = os.path.join(work, "page.htm")
        run = subprocess.run([tool, "export", path, out], capture_output=True, text=True, timeout=300)
        if run.returncode != 0:
            misses.append(f"{name}: export failed: {run.stderr.strip()[-200:]}")
            continue
        page = open(out, encoding="shift_jis", errors="replace").read()
        imgs = re.findall(r"<img\s([^>]*)>", page)
        shown += min(len(imgs), expected)
        if len(imgs) < expected:
            misses.append(f"{name}: {len(imgs)} of {expected} pictures")
        for line in run.stderr.splitlines():
            m = re.match(r"(?:quillpage|word_tool): (.*?) (left out|shown as a placeholder) \((.*)\)$", line)
            if not m:
                continue
            (misses if m.group(2) == "left out" else placeholders).append(f"{name}: {m.group(1)}: {m.group(3)}")
            causes[m.group(3)] += 1
        for attrs in imgs:
            src = re.search(r'src="([^"]+)"', attrs)
            if not src:
                continue
            f = os.path.join(work, src.group(1))
            if not os.path.exists(f):
                invalid.append(f"{name}: {src.group(1)} missing")
                continue
            size = image_size(open(f, "rb").read())
            if size is None:
                invalid.append(f"{name}: {src.group(1)} is not a PNG, JPEG or GIF")
                continue
            w = re.search(r"width=(\d+)", attrs)
            h = re.search(r"height=(\d+)", attrs)
            # Drawn pictures must have the object's size; pictures copied from
            # the package (and BMP/TIFF ones converted) keep their own resolution.
            data = open(f, "rb").read()
            drawn = w and h and hash(data) not in media and size[0] == "png" and not converted
            if drawn and (abs(size[1] - int(w.group(1))) > 2 or abs(size[2] - int(h.group(1))) > 2):
                off_size.append(f"{name}: {src.group(1)} is {size[1]}x{size[2]}, shown {w.group(1)}x{h.group(1)}")
        for f in os.listdir(work):
            p = os.path.join(work, f)
            if os.path.isdir(p):
                subprocess.run(["rm", "-rf", p])
    print("objects in the documents' bodies:")
    for k, n in sorted(totals.items()):
        print(f"  {n:5d}  {k}")
    print(f"\npictures on the pages: {shown} of {pictures_expected} objects that should be pictures"
          f" ({100.0 * shown / max(1, pictures_expected):.1f}%)")
    print(f"placeholders: {len(placeholders)}")
    for cause, n in causes.most_common():
        print(f"  {n:5d}  {cause}")
    print(f"\nmisses ({len(misses)}):")
    for m in misses:
        print("  " + m)
    print(f"\nplaceholders ({len(placeholders)}):")
    for p in placeholders:
        print("  " + p)
    print(f"\npicture files not a valid PNG/JPEG/GIF: {len(invalid)}")
    for i in invalid:
        print("  " + i)
    print(f"PNG pictures more than 2 px off their object's size: {len(off_size)}")
    for o in off_size:
        print("  " + o)


if __name__ == "__main__":
    main()
