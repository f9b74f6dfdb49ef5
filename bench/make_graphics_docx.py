#!/usr/bin/env python3
"""Writes documents that show the graphics the corpus has few examples of,
for looking at beside LibreOffice's print (bench/visual/run DOC...):

    picture_effects.docx  one photograph-like PNG and JPEG shown plain, in
                          grey, black and white, washed out, brighter,
                          recoloured, with white made transparent, at half
                          alpha (DrawingML), and in grey, black and white,
                          washed out (VML)
    gradients.docx        shapes with linear gradients at several angles,
                          three stops, a radial one (DrawingML); VML
                          gradients; a cover page whose design is a
                          gradient shape behind the title; a page colour
    shadows.docx          shapes with outer shadows (DrawingML, VML, and the
                          theme's effect styles through a:effectRef)
    charts.docx           stock (high-low-close, open-high-low-close, with
                          volume), radar (marker, filled) and surface charts;
                          gradient fills in columns, plot area, chart
                          background, pie slices and areas
    charts2016.docx       Office 2016's kinds (chartEx parts): waterfall,
                          histogram, pareto, box and whisker, funnel,
                          treemap, sunburst, region map

    make_graphics_docx.py OUTDIR
"""
import os
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

NS = ('xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" '
      'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" '
      'xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" '
      'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" '
      'xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture" '
      'xmlns:wps="http://schemas.microsoft.com/office/word/2010/wordprocessingShape" '
      'xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006" '
      'xmlns:v="urn:schemas-microsoft-com:vml" xmlns:o="urn:schemas-microsoft-com:office:office" '
      'xmlns:w10="urn:schemas-microsoft-com:office:word" mc:Ignorable="w14"')
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
EMU = 9525


def text(t, size=None, bold=False):
    props = ("<w:b/>" if bold else "") + (f'<w:sz w:val="{size}"/>' if size else "")
    return f'<w:r><w:rPr>{props}</w:rPr><w:t xml:space="preserve">{t}</w:t></w:r>'


def para(*runs, align=None):
    ppr = f'<w:pPr><w:jc w:val="{align}"/></w:pPr>' if align else ""
    return f"<w:p>{ppr}{''.join(runs)}</w:p>"


def picture(rid, n, w, h, effects=""):
    return (f'<w:r><w:drawing><wp:inline><wp:extent cx="{w * EMU}" cy="{h * EMU}"/>'
            f'<wp:docPr id="{n}" name="Picture {n}"/><a:graphic><a:graphicData '
            'uri="http://schemas.openxmlformats.org/drawingml/2006/picture"><pic:pic>'
            f'<pic:nvPicPr><pic:cNvPr id="{n}" name="p{n}"/><pic:cNvPicPr/></pic:nvPicPr>'
            f'<pic:blipFill><a:blip r:embed="{rid}">{effects}</a:blip><a:stretch><a:fillRect/>'
            f'</a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="{w * EMU}" '
            f'cy="{h * EMU}"/></a:xfrm><a:prstGeom prst="rect"/></pic:spPr></pic:pic></a:graphicData>'
            '</a:graphic></wp:inline></w:drawing></w:r>')


def vml_picture(rid, w, h, attrs):
    return (f'<w:r><w:pict><v:shape style="width:{w * 0.75}pt;height:{h * 0.75}pt" type="#_x0000_t75">'
            f'<v:imagedata r:id="{rid}" {attrs}/></v:shape></w:pict></w:r>')


def shape(n, w, h, prst, sppr, anchor=None, inner="", room=0):
    body = f'<wps:wsp><wps:cNvSpPr/><wps:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="{w * EMU}" ' \
           f'cy="{h * EMU}"/></a:xfrm><a:prstGeom prst="{prst}"><a:avLst/></a:prstGeom>{sppr}' \
           f'</wps:spPr>{inner}<wps:bodyPr/></wps:wsp>'
    graphic = ('<a:graphic><a:graphicData uri="http://schemas.microsoft.com/office/word/2010/'
               f'wordprocessingShape">{body}</a:graphicData></a:graphic>')
    if anchor:
        x, y, effect = anchor
        return (f'<w:r><w:drawing><wp:anchor distT="0" distB="0" distL="0" distR="0" simplePos="0" '
                f'relativeHeight="{n}" behindDoc="1" locked="0" layoutInCell="1" allowOverlap="1">'
                '<wp:simplePos x="0" y="0"/><wp:positionH relativeFrom="page"><wp:posOffset>'
                f'{x * EMU}</wp:posOffset></wp:positionH><wp:positionV relativeFrom="page">'
                f'<wp:posOffset>{y * EMU}</wp:posOffset></wp:positionV><wp:extent cx="{w * EMU}" '
                f'cy="{h * EMU}"/><wp:effectExtent l="0" t="0" r="{effect * EMU}" b="{effect * EMU}"/>'
                f'<wp:wrapNone/><wp:docPr id="{n}" name="Shape {n}"/>{graphic}</wp:anchor>'
                '</w:drawing></w:r>')
    return (f'<w:r><w:drawing><wp:inline><wp:extent cx="{w * EMU}" cy="{h * EMU}"/>'
            f'<wp:effectExtent l="0" t="0" r="{room * EMU}" b="{room * EMU}"/>'
            f'<wp:docPr id="{n}" name="Shape {n}"/>{graphic}</wp:inline></w:drawing></w:r>')


def vml_shape(kind, w, h, fill_attrs, inner):
    return (f'<w:r><w:pict><v:{kind} style="width:{w * 0.75}pt;height:{h * 0.75}pt" '
            f'{fill_attrs}>{inner}</v:{kind}></w:pict></w:r>')


def write(path, body, media=(), background="", charts=(), chartex=(), theme=""):
    rels = "".join(f'<Relationship Id="{rid}" Type="{REL}image" Target="media/{name}"/>'
                   for rid, name, _ in media)
    if theme:
        rels += f'<Relationship Id="rIdTheme" Type="{REL}theme" Target="theme/theme1.xml"/>'
    rels += "".join(f'<Relationship Id="{rid}" Type="{REL}chart" Target="charts/{name}"/>'
                    for rid, name, _ in charts)
    rels += "".join(f'<Relationship Id="{rid}" Type="http://schemas.microsoft.com/office/2014/'
                    f'relationships/chartEx" Target="charts/{name}"/>' for rid, name, _ in chartex)
    chart_types = "".join(f'<Override PartName="/word/charts/{name}" ContentType="application/'
                          'vnd.ms-office.chartex+xml"/>' for _, name, _ in chartex)
    chart_types += "".join(f'<Override PartName="/word/charts/{name}" ContentType="application/'
                          'vnd.openxmlformats-officedocument.drawingml.chart+xml"/>'
                          for _, name, _ in charts)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Types '
                   'xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   '<Default Extension="xml" ContentType="application/xml"/>'
                   '<Default Extension="png" ContentType="image/png"/>'
                   '<Default Extension="jpeg" ContentType="image/jpeg"/>'
                   '<Override PartName="/word/document.xml" ContentType="application/vnd.'
                   'openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
                   + chart_types + ('<Override PartName="/word/theme/theme1.xml" ContentType='
                                    '"application/vnd.openxmlformats-officedocument.theme+xml"/>'
                                    if theme else '') + '</Types>')
        z.writestr("_rels/.rels",
                   '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships '
                   'xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                   f'<Relationship Id="rId1" Type="{REL}officeDocument" Target="word/document.xml"/>'
                   '</Relationships>')
        z.writestr("word/_rels/document.xml.rels",
                   '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Relationships '
                   f'xmlns="http://schemas.openxmlformats.org/package/2006/relationships">{rels}'
                   '</Relationships>')
        z.writestr("word/document.xml",
                   f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:document {NS}>'
                   f'{background}<w:body>{body}<w:sectPr><w:pgSz w:w="11906" w:h="16838"/>'
                   '<w:pgMar w:top="1440" w:right="1440" w:bottom="1440" w:left="1440" w:header="720"'
                   ' w:footer="720" w:gutter="0"/></w:sectPr></w:body></w:document>')
        for _, name, data in media:
            z.writestr("word/media/" + name, data)
        if theme:
            z.writestr("word/theme/theme1.xml", theme)
        for _, name, xml in list(charts) + list(chartex):
            z.writestr("word/charts/" + name, xml)


def photo_png(width=160, height=100):
    """White, with a red, a green and a blue disc and a grey ramp along the
    bottom: every effect shows on it."""
    discs = [(40, 40, 28, (220, 40, 40)), (80, 40, 28, (40, 180, 60)), (120, 40, 28, (40, 80, 220))]

    def pixel(x, y):
        if y >= height - 20:
            v = x * 255 // (width - 1)
            return bytes((v, v, v))
        for cx, cy, r, rgb in discs:
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                return bytes(rgb)
        return b"\xff\xff\xff"
    raw = b"".join(b"\0" + b"".join(pixel(x, y) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def jpeg_of(png_bytes):
    with tempfile.TemporaryDirectory() as tmp:
        src, dst = os.path.join(tmp, "p.png"), os.path.join(tmp, "p.jpg")
        with open(src, "wb") as f:
            f.write(png_bytes)
        subprocess.run(["convert", src, "-quality", "80", dst], check=True)
        with open(dst, "rb") as f:
            return f.read()


def effects_doc(out):
    photo = photo_png()
    media = [("rIdPng", "photo.png", photo), ("rIdJpg", "photo.jpeg", jpeg_of(photo))]
    key = ('<a:clrChange><a:clrFrom><a:srgbClr val="FFFFFF"/></a:clrFrom><a:clrTo>'
           '<a:srgbClr val="FFFFFF"><a:alpha val="0"/></a:srgbClr></a:clrTo></a:clrChange>')
    effects = [("plain", ""), ("grayscale", "<a:grayscl/>"),
               ("black and white", '<a:biLevel thresh="50000"/>'),
               ("washout", '<a:lum bright="70000" contrast="-70000"/>'),
               ("brighter 40%", '<a:lum bright="40000"/>'),
               ("contrast +40%", '<a:lum contrast="40000"/>'),
               ("recolour (duotone)", '<a:duotone><a:srgbClr val="1F3864"/>'
                                      '<a:srgbClr val="DEEAF6"/></a:duotone>'),
               ("white made transparent", key),
               ("alpha 40%", '<a:alphaModFix amt="40000"/>')]
    body, n = [para(text("Picture effects", 32, True))], 1
    for rid in ("rIdPng", "rIdJpg"):
        for label, fx in effects:
            body.append(para(text(f"{rid[3:]} {label}: "), picture(rid, n, 160, 100, fx)))
            n += 1
    for label, attrs in [("VML grayscale", 'grayscale="t"'), ("VML bilevel", 'bilevel="t"'),
                         ("VML washout", 'gain="19661f" blacklevel="22938f"')]:
        body.append(para(text(label + ": "), vml_picture("rIdJpg", 160, 100, attrs)))
    write(os.path.join(out, "picture_effects.docx"), "".join(body), media,
          background='<w:background w:color="DDEBF7"/>')


def grad(stops, how):
    gs = "".join(f'<a:gs pos="{p}"><a:srgbClr val="{c}"/></a:gs>' for p, c in stops)
    return f'<a:gradFill rotWithShape="1"><a:gsLst>{gs}</a:gsLst>{how}</a:gradFill>'


def gradients_doc(out):
    two = [(0, "C00000"), (100000, "2E75B6")]
    three = [(0, "FFC000"), (50000, "70AD47"), (100000, "264478")]
    cases = [
        ("linear 0", two, '<a:lin ang="0" scaled="1"/>', "rect"),
        ("linear 90 (down)", two, '<a:lin ang="5400000" scaled="1"/>', "roundRect"),
        ("linear 45", two, '<a:lin ang="2700000" scaled="1"/>', "ellipse"),
        ("three stops, 0", three, '<a:lin ang="0" scaled="0"/>', "rightArrow"),
        ("radial from centre", [(0, "FFFFFF"), (100000, "2E75B6")],
         '<a:path path="circle"><a:fillToRect l="50000" t="50000" r="50000" b="50000"/></a:path>',
         "rect"),
        ("radial from top left", [(0, "FFFF00"), (100000, "C00000")],
         '<a:path path="circle"><a:fillToRect l="0" t="0" r="100000" b="100000"/></a:path>',
         "ellipse"),
    ]
    line = '<a:ln w="12700"><a:solidFill><a:srgbClr val="404040"/></a:solidFill></a:ln>'
    cover = shape(1, 794, 300, "rect", grad([(0, "1F3864"), (60000, "2E75B6"), (100000, "9DC3E6")],
                                             '<a:lin ang="5400000" scaled="1"/>') + "<a:ln><a:noFill/></a:ln>",
                  anchor=(0, 0, 0))
    body = [para(cover, text("Annual report 2026", 56, True), align="center"),
            para(text("A cover page whose design is a gradient shape behind the title", 24)),
            para(text(" ")), para(text(" ")), para(text(" ")), para(text("Gradients", 32, True))]
    for i, (label, stops, how, prst) in enumerate(cases):
        body.append(para(text(label + ": "), shape(10 + i, 200, 100, prst, grad(stops, how) + line)))
    vml = [("VML gradient angle 0", 'fillcolor="#c00000"', '<v:fill type="gradient" color2="#2e75b6"/>'),
           ("VML gradient angle -90", 'fillcolor="#c00000"',
            '<v:fill type="gradient" color2="#2e75b6" angle="-90"/>'),
           ("VML gradient angle -135 focus 100%", 'fillcolor="#c00000"',
            '<v:fill type="gradient" color2="#2e75b6" angle="-135" focus="100%"/>'),
           ("VML gradient focus 50%", 'fillcolor="#c00000"',
            '<v:fill type="gradient" color2="#ffffff" focus="50%"/>'),
           ("VML gradient colors", 'fillcolor="#ffc000"',
            '<v:fill type="gradient" color2="#264478" colors="0 #ffc000;.5 #70ad47;1 #264478"/>'),
           ("VML radial focus 100%", 'fillcolor="#2e75b6"',
            '<v:fill type="gradientRadial" color2="#ffffff" focus="100%" focusposition=".5,.5"/>'),
           ("VML color2 darken", 'fillcolor="#9dc3e6"',
            '<v:fill type="gradient" color2="fill darken(118)" angle="-90"/>')]
    for label, attrs, inner in vml:
        body.append(para(text(label + ": "), vml_shape("rect", 200, 100, attrs, inner)))
    write(os.path.join(out, "gradients.docx"), "".join(body),
          background='<w:background w:color="FFF2CC"/>')


def shadows_doc(out):
    solid = '<a:solidFill><a:srgbClr val="5B9BD5"/></a:solidFill>'
    cases = [
        ("offset 4 pt down right, blur 4 pt", '<a:outerShdw blurRad="50800" dist="50800" dir="2700000" '
         'algn="tl" rotWithShape="0"><a:prstClr val="black"><a:alpha val="40000"/></a:prstClr></a:outerShdw>'),
        ("offset 6 pt right, no blur, red", '<a:outerShdw dist="76200" dir="0"><a:srgbClr val="FF0000">'
         '<a:alpha val="60000"/></a:srgbClr></a:outerShdw>'),
        ("soft, below", '<a:outerShdw blurRad="152400" dist="38100" dir="5400000"><a:srgbClr val="000000">'
         '<a:alpha val="50000"/></a:srgbClr></a:outerShdw>'),
    ]
    body = [para(text("Shadows", 32, True))]
    for i, (label, shadow) in enumerate(cases):
        body.append(para(text(label + ": "),
                         shape(10 + i, 200, 100, "roundRect", solid + f"<a:effectLst>{shadow}</a:effectLst>",
                               room=20)))
    body.append(para(text("VML shadow: "), vml_shape("oval", 200, 100, 'fillcolor="#ffc000"',
                                                     '<v:shadow on="t" color="#7f7f7f" offset="4pt,4pt"/>')))
    # Office 2007's effect styles: the second and third carry a shadow in
    # the placeholder colour's black.
    shadow = ('<a:effectStyle><a:effectLst><a:outerShdw blurRad="40000" dist="{}" dir="5400000" '
              'rotWithShape="0"><a:srgbClr val="000000"><a:alpha val="{}"/></a:srgbClr></a:outerShdw>'
              '</a:effectLst></a:effectStyle>')
    theme = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><a:theme xmlns:a="http://schemas.'
             'openxmlformats.org/drawingml/2006/main" name="Office"><a:themeElements><a:fmtScheme '
             'name="Office"><a:effectStyleLst><a:effectStyle><a:effectLst/></a:effectStyle>'
             + shadow.format(23000, 35000) + shadow.format(38100, 60000) +
             '</a:effectStyleLst></a:fmtScheme></a:themeElements></a:theme>')
    for i, (label, idx, own) in enumerate([("theme effect 2", 2, ""), ("theme effect 3", 3, ""),
                                           ("theme effect 3, own empty effect list", 3,
                                            "<a:effectLst/>"), ("theme effect 0", 0, "")]):
        style = (f'<wps:style><a:lnRef idx="0"><a:schemeClr val="accent1"/></a:lnRef><a:fillRef idx="0">'
                 f'<a:schemeClr val="accent1"/></a:fillRef><a:effectRef idx="{idx}"><a:schemeClr '
                 'val="accent1"/></a:effectRef><a:fontRef idx="minor"/></wps:style>')
        body.append(para(text(label + ": "), shape(20 + i, 200, 100, "rect", solid + own, inner=style,
                                                   room=20)))
    write(os.path.join(out, "shadows.docx"), "".join(body), theme=theme)


def cache(kind, values):
    pts = "".join(f'<c:pt idx="{i}"><c:v>{v}</c:v></c:pt>' for i, v in enumerate(values))
    return f'<c:{kind}><c:ptCount val="{len(values)}"/>{pts}</c:{kind}>'


def series(i, name, cats, values, extra=""):
    return (f'<c:ser><c:idx val="{i}"/><c:order val="{i}"/><c:tx><c:strRef><c:f>S!$A${i}</c:f>'
            f'{cache("strCache", [name])}</c:strRef></c:tx>{extra}<c:cat><c:strRef><c:f>S!$B$1</c:f>'
            f'{cache("strCache", cats)}</c:strRef></c:cat><c:val><c:numRef><c:f>S!$C$1</c:f>'
            f'{cache("numCache", values)}</c:numRef></c:val></c:ser>')


def chart_part(title, plot, axes, space=""):
    return ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><c:chartSpace '
            'xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" '
            'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" '
            'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><c:chart>'
            f'<c:title><c:tx><c:rich><a:bodyPr/><a:p><a:r><a:t>{title}</a:t></a:r></a:p></c:rich></c:tx>'
            f'<c:overlay val="0"/></c:title><c:autoTitleDeleted val="0"/><c:plotArea><c:layout/>{plot}{axes}'
            '</c:plotArea><c:legend><c:legendPos val="b"/><c:overlay val="0"/></c:legend>'
            f'<c:plotVisOnly val="1"/></c:chart>{space}</c:chartSpace>')


def axes(cat_id, val_id, pos="l", delete=False, crosses="autoZero"):
    return (f'<c:catAx><c:axId val="{cat_id}"/><c:scaling><c:orientation val="minMax"/></c:scaling>'
            f'<c:delete val="{int(delete)}"/><c:axPos val="b"/><c:crossAx val="{val_id}"/></c:catAx>'
            f'<c:valAx><c:axId val="{val_id}"/><c:scaling><c:orientation val="minMax"/></c:scaling>'
            f'<c:delete val="0"/><c:axPos val="{pos}"/><c:majorGridlines/><c:crossAx val="{cat_id}"/>'
            f'<c:crosses val="{"max" if pos == "r" else crosses}"/></c:valAx>')


def chart_frame(rid, n, w=480, h=288):
    return (f'<w:r><w:drawing><wp:inline><wp:extent cx="{w * EMU}" cy="{h * EMU}"/>'
            f'<wp:docPr id="{n}" name="Chart {n}"/><a:graphic><a:graphicData '
            'uri="http://schemas.openxmlformats.org/drawingml/2006/chart"><c:chart '
            'xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" '
            f'r:id="{rid}"/></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>')


def charts_doc(out):
    days = ["Mon", "Tue", "Wed", "Thu", "Fri"]
    opens, highs = [20, 24, 27, 25, 22], [26, 29, 30, 28, 27]
    lows, closes = [18, 21, 23, 20, 19], [24, 27, 24, 21, 26]
    no_line = '<c:spPr><a:ln w="19050"><a:noFill/></a:ln></c:spPr><c:marker><c:symbol val="none"/></c:marker>'
    close_marker = ('<c:spPr><a:ln w="19050"><a:noFill/></a:ln></c:spPr><c:marker><c:symbol val="dot"/>'
                    '<c:size val="3"/></c:marker>')
    hlc = ("<c:stockChart>" + series(0, "High", days, highs, no_line) +
           series(1, "Low", days, lows, no_line) + series(2, "Close", days, closes, close_marker) +
           '<c:hiLowLines/><c:axId val="1"/><c:axId val="2"/></c:stockChart>')
    ohlc_series = (series(0, "Open", days, opens, no_line) + series(1, "High", days, highs, no_line) +
                   series(2, "Low", days, lows, no_line) + series(3, "Close", days, closes, no_line) +
                   '<c:hiLowLines/><c:upDownBars><c:gapWidth val="150"/><c:upBars/><c:downBars/>'
                   '</c:upDownBars>')
    ohlc = f'<c:stockChart>{ohlc_series}<c:axId val="1"/><c:axId val="2"/></c:stockChart>'
    volume = ('<c:barChart><c:barDir val="col"/><c:grouping val="clustered"/>'
              + series(0, "Volume", days, [300, 520, 410, 380, 610]) +
              '<c:gapWidth val="150"/><c:axId val="1"/><c:axId val="2"/></c:barChart>'
              '<c:stockChart>' + ohlc_series.replace('idx val="', 'idx val="1') +
              '<c:axId val="3"/><c:axId val="4"/></c:stockChart>')
    skills = ["Speed", "Power", "Reach", "Grip", "Calm", "Focus"]
    radar = ('<c:radarChart><c:radarStyle val="marker"/>' + series(0, "Ann", skills, [5, 2, 4, 3, 4, 5])
             + series(1, "Bob", skills, [3, 5, 2, 4, 2, 3]) + '<c:axId val="1"/><c:axId val="2"/></c:radarChart>')
    filled = radar.replace('val="marker"', 'val="filled"')
    months = ["Jan", "Feb", "Mar", "Apr", "May", "Jun"]
    surface = ('<c:surfaceChart><c:wireframe val="0"/>' +
               "".join(series(i, f"{10 * (i + 1)} m", months,
                              [round(5 + 10 * abs(((m - 2.5) * (i - 1.5)) / 4), 1) for m in range(6)])
                       for i in range(4)) +
               '<c:axId val="1"/><c:axId val="2"/><c:axId val="3"/></c:surfaceChart>'
               '<c:serAx><c:axId val="3"/><c:delete val="0"/><c:axPos val="b"/><c:crossAx val="2"/></c:serAx>')
    down = '<a:lin ang="5400000" scaled="1"/>'
    sp = lambda fill: f"<c:spPr>{fill}</c:spPr>"
    quarters = ["Q1", "Q2", "Q3", "Q4"]
    columns = ('<c:barChart><c:barDir val="col"/><c:grouping val="clustered"/>'
               + series(0, "North", quarters, [4, 6, 5, 7], sp(grad([(0, "9DC3E6"), (100000, "1F3864")], down)))
               + series(1, "South", quarters, [3, 5, 6, 4],
                        sp(grad([(0, "FFE699"), (50000, "ED7D31"), (100000, "843C0C")], down)))
               + '<c:gapWidth val="80"/><c:axId val="1"/><c:axId val="2"/></c:barChart>')
    plot_area = sp(grad([(0, "FFFFFF"), (100000, "DEEBF7")], '<a:lin ang="0" scaled="1"/>'))
    space = sp(grad([(0, "FFFFFF"), (100000, "BDD7EE")],
                    '<a:path path="circle"><a:fillToRect l="50000" t="50000" r="50000" b="50000"/>'
                    '</a:path>'))
    slices = "".join(f'<c:dPt><c:idx val="{i}"/><c:bubble3D val="0"/>'
                     + sp(grad([(0, light), (100000, dark)], '<a:path path="circle"><a:fillToRect '
                               'l="50000" t="50000" r="50000" b="50000"/></a:path>')) + '</c:dPt>'
                     for i, (light, dark) in enumerate([("F8CBAD", "C55A11"), ("C5E0B4", "548235"),
                                                        ("BDD7EE", "2F5597")]))
    pie = ('<c:pieChart><c:varyColors val="1"/>'
           + series(0, "Share", ["Rent", "Food", "Other"], [45, 30, 25], slices)
           + '<c:firstSliceAng val="0"/></c:pieChart>')
    area = ('<c:areaChart><c:grouping val="standard"/>'
            + series(0, "Level", months, [3, 5, 4, 7, 6, 8],
                     sp(grad([(0, "70AD47"), (100000, "E2F0D9")], down)))
            + '<c:axId val="1"/><c:axId val="2"/></c:areaChart>')
    parts = [("High-low-close", hlc, axes(1, 2), ""), ("Open-high-low-close", ohlc, axes(1, 2), ""),
             ("Volume-open-high-low-close", volume, axes(1, 2) + axes(3, 4, "r", True), ""),
             ("Radar", radar, axes(1, 2), ""), ("Filled radar", filled, axes(1, 2), ""),
             ("Surface (top view)", surface, axes(1, 2), ""),
             ("Gradient columns, plot area and background", columns, axes(1, 2) + plot_area, space),
             ("Gradient slices", pie, "", ""), ("Gradient area", area, axes(1, 2), "")]
    charts, body = [], [para(text("Charts", 32, True))]
    for i, (title, plot, ax, back) in enumerate(parts):
        charts.append((f"rIdC{i}", f"chart{i + 1}.xml", chart_part(title, plot, ax, back)))
        body.append(para(chart_frame(f"rIdC{i}", 100 + i)))
    write(os.path.join(out, "charts.docx"), "".join(body), charts=charts)


def chartex_part(layout, title, levels, values, layout_pr="", more=""):
    def lvl(pts, fmt=""):
        items = "".join(f'<cx:pt idx="{i}">{p}</cx:pt>' for i, p in enumerate(pts) if p != "")
        return f'<cx:lvl ptCount="{len(pts)}"{fmt}>{items}</cx:lvl>'
    cats = ('<cx:strDim type="cat"><cx:f>Sheet1!$A$2:$A$9</cx:f>' + "".join(lvl(l) for l in levels)
            + '</cx:strDim>') if levels else ""
    return ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><cx:chartSpace '
            'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" '
            'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" '
            'xmlns:cx="http://schemas.microsoft.com/office/drawing/2014/chartex"><cx:chartData>'
            f'<cx:data id="0">{cats}<cx:numDim type="{"size" if layout in ("treemap", "sunburst") else "val"}">'
            f'<cx:f>Sheet1!$B$2:$B$9</cx:f>{lvl(values, chr(32) + "formatCode=" + chr(34) + "General" + chr(34))}'
            '</cx:numDim></cx:data></cx:chartData><cx:chart><cx:title pos="t" align="ctr" overlay="0">'
            f'<cx:tx><cx:txData><cx:v>{title}</cx:v></cx:txData></cx:tx></cx:title><cx:plotArea>'
            f'<cx:plotAreaRegion><cx:series layoutId="{layout}" uniqueId="{{0}}"><cx:tx><cx:txData>'
            f'<cx:f>Sheet1!$B$1</cx:f><cx:v>Values</cx:v></cx:txData></cx:tx><cx:dataId val="0"/>'
            f'<cx:layoutPr>{layout_pr}</cx:layoutPr></cx:series>{more}</cx:plotAreaRegion>'
            '<cx:axis id="0"><cx:catScaling gapWidth="0.5"/><cx:tickLabels/></cx:axis><cx:axis id="1">'
            '<cx:valScaling/><cx:majorGridlines/><cx:tickLabels/></cx:axis></cx:plotArea>'
            '<cx:legend pos="t" align="ctr" overlay="0"/></cx:chart></cx:chartSpace>')


def chartex_frame(rid, n, w=480, h=288):
    return ('<w:r><mc:AlternateContent><mc:Choice xmlns:cx1="http://schemas.microsoft.com/office/drawing/'
            '2015/9/8/chartex" Requires="cx1"><w:drawing><wp:inline><wp:extent '
            f'cx="{w * EMU}" cy="{h * EMU}"/><wp:docPr id="{n}" name="Chart {n}"/><a:graphic>'
            '<a:graphicData uri="http://schemas.microsoft.com/office/drawing/2014/chartex"><cx:chart '
            f'xmlns:cx="http://schemas.microsoft.com/office/drawing/2014/chartex" r:id="{rid}"/>'
            '</a:graphicData></a:graphic></wp:inline></w:drawing></mc:Choice><mc:Fallback><w:t>'
            'This chart is not available in your version of Word.</w:t></mc:Fallback>'
            '</mc:AlternateContent></w:r>')


def charts2016_doc(out):
    months = ["Start", "Sales", "Services", "Rent", "Wages", "Tax", "End"]
    scores = [52, 55, 61, 63, 64, 66, 68, 70, 71, 71, 73, 75, 77, 78, 81, 84, 85, 88, 91, 97]
    tree = [["Beans", "Rice", "Corn", "Apples", "Pears", "Milk", "Cheese", "Butter"],
            ["Grain", "", "", "Fruit", "", "Dairy", "", ""]]
    sizes = [12, 9, 6, 10, 4, 8, 5, 3]
    parts = [
        ("waterfall", "Cash flow", [months], [500, 300, 120, -200, -350, -90, 280],
         '<cx:subtotals><cx:idx val="0"/><cx:idx val="6"/></cx:subtotals>', ""),
        ("clusteredColumn", "Histogram of scores", [], scores,
         '<cx:binning intervalClosed="r"><cx:binSize val="10"/></cx:binning>', ""),
        ("clusteredColumn", "Pareto of complaints",
         [["Late", "Broken", "Wrong", "Rude", "Other"]], [42, 18, 25, 7, 4], "<cx:aggregation/>",
         '<cx:series layoutId="paretoLine" ownerIdx="0" uniqueId="{1}"><cx:axisId val="2"/></cx:series>'),
        ("boxWhisker", "Box and whisker", [["A"] * 10 + ["B"] * 10],
         [3, 5, 6, 7, 7, 8, 9, 10, 11, 25, 6, 8, 9, 10, 12, 12, 13, 14, 15, 17],
         '<cx:visibility meanLine="0" meanMarker="1" nonoutliers="0" outliers="1"/>'
         '<cx:statistics quartileMethod="exclusive"/>', ""),
        ("funnel", "Sales funnel", [["Leads", "Calls", "Demos", "Offers", "Deals"]],
         [1200, 800, 420, 210, 90], "", ""),
        ("treemap", "Groceries (treemap)", tree, sizes, '<cx:parentLabelLayout val="overlapping"/>', ""),
        ("sunburst", "Groceries (sunburst)", tree, sizes, "", ""),
        ("regionMap", "Sales by country", [["France", "Japan"]], [3, 5], "", ""),
    ]
    chartex, body = [], [para(text("Office 2016 charts", 32, True))]
    for i, (layout, title, levels, values, pr, more) in enumerate(parts):
        chartex.append((f"rIdX{i}", f"chartEx{i + 1}.xml", chartex_part(layout, title, levels, values, pr, more)))
        body.append(para(chartex_frame(f"rIdX{i}", 200 + i)))
    write(os.path.join(out, "charts2016.docx"), "".join(body), chartex=chartex)


if __name__ == "__main__":
    effects_doc(sys.argv[1])
    gradients_doc(sys.argv[1])
    shadows_doc(sys.argv[1])
    charts_doc(sys.argv[1])
    charts2016_doc(sys.argv[1])
