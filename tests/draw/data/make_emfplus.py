#!/usr/bin/env python3
"""Writes the EMF+ examples the drawing tests play, one file per record
family, each a 200 x 200 px picture (96 dpi) whose drawing is all in EMF+
records, with a known layout:

  objects    brushes (solid, hatch, linear and path gradient, texture),
             pens (dash, width), a path object split over two continued
             records
  paths      a path of lines, Beziers and two figures; 16-bit, relative
             and run-length forms; fill and draw
  shapes     rects, ellipses, polygon, lines, Beziers, pie and arc
  text       font, string format, DrawString (with markup characters) and
             DrawDriverString
  image      a PNG, 24-bit pixels, 8-bit indexed pixels and an EMF+
             picture drawn by DrawImage and DrawImagePoints
  transform  world transforms, save/restore, a container, clips, page units;
             and a GetDC hand-over to GDI

    make_emfplus.py [OUT_DIR]   (default: tests/draw/data/emfplus)
    make_emfplus.py --docx OUT_DIR   each example as the one picture of a .docx
"""
import os
import struct
import sys
import zipfile
import zlib

SIDE = 200  # px
DPI = 96


def emf_header(records_size, count):
    frame = round(SIDE * 2540 / DPI)
    body = struct.pack("<4i", 0, 0, SIDE - 1, SIDE - 1)  # bounds, device px
    body += struct.pack("<4i", 0, 0, frame, frame)  # frame, 0.01 mm
    body += b" EMF" + struct.pack("<I", 0x10000)
    size = 108
    body += struct.pack("<IIHHIII", size + records_size + 20, count + 2, 1, 0, 0, 0, 0)
    body += struct.pack("<ii", 1920, 1080) + struct.pack("<ii", 508, 286)  # device, millimeters
    body += struct.pack("<III", 0, 0, 0) + struct.pack("<ii", 508000, 285750)  # micrometers
    return struct.pack("<II", 1, size) + body


EMF_EOF = struct.pack("<IIIII", 14, 20, 0, 16, 20)


def plus(rtype, flags, data):
    data += b"\0" * (-len(data) % 4)
    return struct.pack("<HHII", rtype, flags, 12 + len(data), len(data)) + data


def comment(records):
    payload = b"EMF+" + records
    return struct.pack("<III", 70, 12 + len(payload), len(payload)) + payload


def emf(*groups, gdi=()):
    """groups: lists of EMF+ records, each list one comment record; gdi: raw
    GDI records placed after the group whose index they name."""
    body, count = b"", 0
    header = plus(0x4001, 0, struct.pack("<IIII", 0xDBC01002, 0, DPI, DPI))
    for i, g in enumerate([[header]] + list(groups) + [[plus(0x4002, 0, b"")]]):
        body += comment(b"".join(g))
        count += 1
        for at, rec in gdi:
            if at == i:
                body += rec
                count += 1
    return emf_header(len(body), count) + body + EMF_EOF


def f32(*v):
    return struct.pack("<%df" % len(v), *v)


def u32(*v):
    return struct.pack("<%dI" % len(v), *v)


def argb(rgb, a=255):
    return u32(a << 24 | rgb)


def obj(kind, oid, data, cont=None):
    flags = kind << 8 | oid
    if cont is not None:
        flags |= 0x8000
        data = u32(cont) + data
    return plus(0x4008, flags, data)


def solid(rgb, a=255):
    return u32(0xDBC01002, 0) + argb(rgb, a)


def pen(width, rgb, style=None, cap=None, dashes=None):
    flags, extra = 0, b""
    if cap is not None:
        flags |= 0x02
        extra += u32(cap)
    if style is not None:
        flags |= 0x20
        extra += u32(style)
    if dashes is not None:
        flags |= 0x100
        extra += u32(len(dashes)) + f32(*dashes)
    return u32(0xDBC01002, 0, flags, 0) + f32(width) + extra + solid(rgb)


def path(points, types, compressed=False):
    flags = 0x4000 if compressed else 0
    data = u32(0xDBC01002, len(points), flags)
    for x, y in points:
        data += struct.pack("<hh", x, y) if compressed else f32(x, y)
    data += bytes(types)
    return data


def rects(*rs):
    return u32(len(rs)) + b"".join(f32(*r) for r in rs)


def objects():
    linear = u32(0xDBC01002, 4, 0x04, 4) + f32(10, 110, 80, 40) + argb(0xFF0000) + argb(0x0000FF) + u32(0, 0)
    linear += u32(3) + f32(0, 0.5, 1) + argb(0xFF0000) + argb(0x00FF00) + argb(0x0000FF)
    radial = u32(0xDBC01002, 3, 0, 0) + argb(0xFFFFFF) + f32(150, 150) + u32(1) + argb(0x000080)
    radial += u32(4) + f32(110, 110, 190, 110, 190, 190, 110, 190)
    hatch = u32(0xDBC01002, 1, 4) + argb(0x000000) + argb(0xFFFF00)
    star = path([(100, 10), (110, 40), (90, 40)], [0, 1, 0x81])
    # a texture of the 4 x 4 red PNG, tiled
    texture = u32(0xDBC01002, 2, 0, 0) + u32(0xDBC01002, 1, 4, 4, 0, 0x0026200A, 1) + png_bytes(4, 4, (255, 0, 0))
    return emf([
        obj(1, 0, solid(0x00B050)),
        obj(1, 1, hatch),
        obj(1, 2, linear),
        obj(1, 3, radial),
        # dash lengths without a custom line style, as Office writes them
        obj(2, 4, pen(4, 0xC00000, dashes=[3, 1])),
        obj(1, 6, texture),
        plus(0x400A, 6, u32(6) + rects((120, 10, 70, 40))),
        plus(0x400A, 0, u32(0) + rects((10, 10, 80, 40))),
        plus(0x400A, 1, u32(1) + rects((110, 60, 80, 40))),
        plus(0x400A, 2, u32(2) + rects((10, 110, 80, 40))),
        plus(0x400A, 3, u32(3) + rects((110, 110, 80, 80))),
        plus(0x400B, 4, rects((10, 60, 80, 40))),
        # a path in two pieces: each piece says the whole size first
        obj(3, 5, star[:20], cont=len(star)),
        obj(3, 5, star[20:], cont=len(star)),
        plus(0x4014, 0x8000 | 5, argb(0x7030A0)),
    ])


def paths():
    figures = path([(20, 20), (90, 20), (90, 90), (20, 90), (120, 20), (190, 20), (150, 90)],
                   [0, 1, 1, 0x81, 0, 1, 0x81])
    curve = path([(20, 120), (60, 100), (100, 180), (180, 120)], [0, 3, 3, 3], compressed=True)
    # relative points (P), run-length types (R): a square of side 40 at (120, 140)
    rel = u32(0xDBC01002, 4, 0x1800) + bytes([0x80 | 0, 120, 0x80 | 0, 140, 40, 0, 0, 40, 0x7F & -40, 0])
    rel += bytes([0x41, 0x00, 0x42, 0x01, 0x41, 0x81])
    return emf([
        obj(3, 0, figures),
        obj(3, 1, curve),
        obj(3, 2, rel),
        obj(2, 3, pen(3, 0x0070C0)),
        plus(0x4014, 0x8000 | 0, argb(0xFFC000)),
        plus(0x4015, 1, u32(3)),
        plus(0x4014, 0x8000 | 2, argb(0x00B050)),
    ])


def shapes():
    return emf([
        obj(2, 0, pen(2, 0x000000)),
        plus(0x400A, 0x8000, argb(0xFF0000) + rects((10, 10, 40, 30), (60, 10, 40, 30))),
        plus(0x400B, 0x4000, u32(1) + struct.pack("<4h", 110, 10, 40, 30)),
        plus(0x400E, 0x8000, argb(0x00FF00) + f32(10, 50, 60, 40)),
        plus(0x400F, 0, f32(80, 50, 60, 40)),
        plus(0x400C, 0x8000, argb(0x0000FF) + u32(3) + f32(10, 150, 50, 100, 90, 150)),
        plus(0x400D, 0x2000, u32(3) + f32(100, 150, 140, 100, 180, 150)),
        plus(0x4019, 0, u32(4) + f32(10, 190, 60, 160, 120, 220, 190, 190)),
        plus(0x4010, 0x8000, argb(0xFF00FF) + f32(0, 90) + f32(150, 50, 40, 40)),
        plus(0x4011, 0, f32(90, 90) + f32(150, 50, 40, 40)),
        plus(0x4012, 0, f32(180, 180) + f32(150, 50, 40, 40)),
    ])


def text():
    def utf16(s):
        return s.encode("utf-16-le")
    family = "Liberation Sans"
    font = u32(0xDBC01002) + f32(20) + u32(2, 1, 0, len(family)) + utf16(family)
    centred = u32(0xDBC01002, 0, 0, 1, 1, 0, 0) + f32(0) + u32(0) + f32(0, 0, 0) + u32(0, 0, 0)
    says = "A<b>&\"c\""
    glyphs = "Hi"
    return emf([
        obj(6, 0, font),
        obj(7, 1, centred),
        plus(0x401C, 0x8000 | 0, argb(0x000000) + u32(1, len(says)) + f32(0, 0, 200, 100) + utf16(says)),
        plus(0x4036, 0x8000 | 0, argb(0xC00000) + u32(0x1 | 0x4, 0, len(glyphs)) + utf16(glyphs) +
             f32(20, 160, 40, 160)),
    ])


def png_bytes(w, h, rgb):
    raw = b"".join(b"\0" + bytes(rgb) * w for _ in range(h))
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def image():
    compressed = u32(0xDBC01002, 1, 4, 4, 0, 0x0026200A, 1) + png_bytes(4, 4, (255, 0, 0))
    # 24-bit pixels, B G R, rows padded to 4 bytes: green
    pixels24 = u32(0xDBC01002, 1, 2, 2, 8, 0x00021808, 0) + (bytes([0, 255, 0]) * 2 + b"\0\0") * 2
    # 8-bit indexed: a palette of blue
    indexed = u32(0xDBC01002, 1, 2, 2, 4, 0x00030803, 0) + u32(0, 1) + argb(0x0000FF) + bytes(8)
    # an EMF+ picture inside, filled orange all over (type 2 metafile, 3 EMF)
    inner = emf([plus(0x400A, 0x8000, argb(0xFF8000) + rects((0, 0, SIDE, SIDE)))])
    nested = u32(0xDBC01002, 2, 3, len(inner)) + inner
    src = u32(0, 2)
    return emf([
        obj(5, 0, compressed),
        obj(5, 1, pixels24),
        obj(5, 2, indexed),
        obj(5, 3, nested),
        plus(0x401A, 3, src + f32(0, 0, SIDE, SIDE) + f32(110, 110, 80, 80)),
        plus(0x401A, 0, src + f32(0, 0, 4, 4) + f32(10, 10, 80, 80)),
        plus(0x401A, 1, src + f32(0, 0, 2, 2) + f32(110, 10, 80, 80)),
        # the points: upper left, upper right, lower left
        plus(0x401B, 2, src + f32(0, 0, 2, 2) + u32(3) + f32(10, 110, 90, 110, 10, 190)),
    ])


def transform():
    gdi_rect = struct.pack("<II4i", 43, 24, 150, 150, 190, 190)  # EMR_RECTANGLE, default brush
    return emf(
        [
            # millimetres as the page unit: 1 mm is 96 / 25.4 px
            plus(0x4030, 6, f32(1)),
            plus(0x4025, 0, u32(1)),  # save
            plus(0x402D, 0, f32(10, 10)),  # translate: 10 mm
            plus(0x400A, 0x8000, argb(0xFF0000) + rects((0, 0, 10, 10))),
            plus(0x4026, 0, u32(1)),  # restore: back at the origin
            plus(0x400A, 0x8000, argb(0x0000FF) + rects((0, 0, 5, 5))),
            plus(0x4030, 2, f32(1)),  # back to pixels
            plus(0x402F, 0x2000, f32(90)),  # rotate a quarter turn
            plus(0x402B, 0, b""),  # ... and reset
            # a container mapping a 10 x 10 source onto 100..140 px
            plus(0x4027, 2, f32(100, 0, 40, 40) + f32(0, 0, 10, 10) + u32(7)),
            plus(0x400A, 0x8000, argb(0x00FF00) + rects((0, 0, 10, 10))),
            plus(0x4029, 0, u32(7)),
            # a clip: only its left half of the rectangle shows
            plus(0x4032, 0, f32(0, 100, 50, 40)),
            plus(0x400A, 0x8000, argb(0xFF00FF) + rects((0, 100, 100, 40))),
            plus(0x4031, 0, b""),
            # scale by 2, then a translation by 75 put before it: 10 x 10 at (0, 60) lands at (150, 120)
            plus(0x402E, 0, f32(2, 2)),
            plus(0x402C, 0, f32(1, 0, 0, 1, 75, 0)),
            plus(0x400A, 0x8000, argb(0xFFFF00) + rects((0, 60, 10, 10))),
            plus(0x402B, 0, b""),
            plus(0x4004, 0, b""),  # GetDC: the rectangle after this is GDI's
        ],
        [plus(0x402A, 0, f32(1, 0, 0, 1, 0, 0))],
        gdi=[(2, gdi_rect)],
    )


def docx(path, picture):
    """A document whose body is the picture, 200 x 200 px."""
    emu = SIDE * 9525
    ns = ('xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" '
          'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" '
          'xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" '
          'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" '
          'xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture"')
    body = (f'<w:document {ns}><w:body><w:p><w:r><w:drawing><wp:inline><wp:extent cx="{emu}" cy="{emu}"/>'
            '<wp:docPr id="1" name="Picture 1"/><a:graphic><a:graphicData '
            'uri="http://schemas.openxmlformats.org/drawingml/2006/picture"><pic:pic><pic:nvPicPr>'
            '<pic:cNvPr id="1" name="picture.emf"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill>'
            '<a:blip r:embed="rId1"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr>'
            f'<a:xfrm><a:off x="0" y="0"/><a:ext cx="{emu}" cy="{emu}"/></a:xfrm><a:prstGeom prst="rect"/>'
            '</pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>'
            '</w:body></w:document>')
    rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    with zipfile.ZipFile(path, "w") as z:
        z.writestr("[Content_Types].xml",
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   '<Default Extension="xml" ContentType="application/xml"/>'
                   '<Default Extension="emf" ContentType="image/x-emf"/>'
                   '<Override PartName="/word/document.xml" ContentType="application/'
                   'vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
        z.writestr("_rels/.rels", f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
                   f'relationships"><Relationship Id="rId1" Type="{rel}/officeDocument" '
                   'Target="word/document.xml"/></Relationships>')
        z.writestr("word/_rels/document.xml.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/'
                   f'package/2006/relationships"><Relationship Id="rId1" Type="{rel}/image" '
                   'Target="media/image1.emf"/></Relationships>')
        z.writestr("word/document.xml", body)
        z.writestr("word/media/image1.emf", picture)


def main():
    args = sys.argv[1:]
    as_docx = bool(args) and args[0] == "--docx"
    if as_docx:
        args = args[1:]
    out = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "emfplus")
    os.makedirs(out, exist_ok=True)
    for name, make in [("objects", objects), ("paths", paths), ("shapes", shapes), ("text", text),
                       ("image", image), ("transform", transform)]:
        if as_docx:
            docx(os.path.join(out, "emfplus_" + name + ".docx"), make())
        else:
            with open(os.path.join(out, name + ".emf"), "wb") as f:
                f.write(make())


if __name__ == "__main__":
    main()
