#!/usr/bin/env python3
"""Writes the documents of the end-to-end cases: small .docx files with
pictures (PNG, JPEG, GIF) and links of every kind the page rewrites.

    tests/generate/data/make_documents.py    (needs ImageMagick's convert)

The documents are committed; run this again only to change them, then
regenerate the expected pages (see HACKING.md)."""

import os
import subprocess
import tempfile
import zipfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
DOCS = os.path.join(HERE, "documents")

W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"
R = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
WP = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"
A = "http://schemas.openxmlformats.org/drawingml/2006/main"
PIC = "http://schemas.openxmlformats.org/drawingml/2006/picture"
REL_TYPE = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
FIXED_TIME = (2020, 1, 1, 0, 0, 0)  # the same bytes on every run


def picture(fmt, color, size):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "p." + fmt)
        subprocess.run(["convert", "-size", size, "xc:" + color, "-strip", out], check=True)
        with open(out, "rb") as f:
            return f.read()


def run_text(text):
    return '<w:r><w:t xml:space="preserve">%s</w:t></w:r>' % escape(text)


def paragraph(*runs, style=None):
    ppr = '<w:pPr><w:pStyle w:val="%s"/></w:pPr>' % style if style else ""
    return "<w:p>%s%s</w:p>" % (ppr, "".join(runs))


def hyperlink(rid, text):
    return '<w:hyperlink r:id="%s">%s</w:hyperlink>' % (rid, run_text(text))


def inline_picture(rid, number, cx, cy, effects=""):
    return (
        "<w:r><w:drawing><wp:inline><wp:extent cx=\"%d\" cy=\"%d\"/>"
        "<wp:docPr id=\"%d\" name=\"Picture %d\"/>"
        "<a:graphic><a:graphicData uri=\"%s\"><pic:pic>"
        "<pic:nvPicPr><pic:cNvPr id=\"%d\" name=\"p%d\"/><pic:cNvPicPr/></pic:nvPicPr>"
        "<pic:blipFill><a:blip r:embed=\"%s\">%s</a:blip><a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
        "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"%d\" cy=\"%d\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"/></pic:spPr></pic:pic></a:graphicData></a:graphic>"
        "</wp:inline></w:drawing></w:r>" % (cx, cy, number, number, PIC, number, number, rid, effects, cx, cy)
    )


A4_SECTION = ('<w:pgSz w:w="11906" w:h="16838"/>'
              '<w:pgMar w:top="1985" w:right="1701" w:bottom="1701" w:left="1701" w:header="851" '
              'w:footer="992" w:gutter="0"/>')


def write_docx(name, title, body, links=(), media=(), section=A4_SECTION, language="",
               background=""):
    """links: (rid, target); media: (rid, file name, bytes); section: the
    last section's properties; language: a w:lang element for the defaults;
    background: a w:background element."""
    rels = ['<Relationship Id="rIdStyles" Type="%sstyles" Target="styles.xml"/>' % REL_TYPE]
    for rid, target in links:
        rels.append('<Relationship Id="%s" Type="%shyperlink" Target="%s" TargetMode="External"/>'
                    % (rid, REL_TYPE, escape(target, {'"': "&quot;"})))
    for rid, file_name, _ in media:
        rels.append('<Relationship Id="%s" Type="%simage" Target="media/%s"/>'
                    % (rid, REL_TYPE, file_name))
    parts = {
        "[Content_Types].xml":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
            '<Default Extension="xml" ContentType="application/xml"/>'
            '<Default Extension="png" ContentType="image/png"/>'
            '<Default Extension="jpeg" ContentType="image/jpeg"/>'
            '<Default Extension="gif" ContentType="image/gif"/>'
            '<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
            '<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>'
            '<Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/>'
            "</Types>",
        "_rels/.rels":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
            '<Relationship Id="rId1" Type="%sofficeDocument" Target="word/document.xml"/>'
            '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" Target="docProps/core.xml"/>'
            "</Relationships>" % REL_TYPE,
        "docProps/core.xml":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" '
            'xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>%s</dc:title></cp:coreProperties>'
            % escape(title),
        "word/_rels/document.xml.rels":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
            + "".join(rels) + "</Relationships>",
        "word/styles.xml":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<w:styles xmlns:w="%s"><w:docDefaults><w:rPrDefault><w:rPr>'
            '<w:rFonts w:ascii="Century" w:eastAsia="ＭＳ 明朝" w:hAnsi="Century"/>'
            '<w:sz w:val="21"/>%s</w:rPr></w:rPrDefault></w:docDefaults>'
            '<w:style w:type="paragraph" w:default="1" w:styleId="a"><w:name w:val="Normal"/></w:style>'
            '<w:style w:type="paragraph" w:styleId="1"><w:name w:val="heading 1"/><w:basedOn w:val="a"/>'
            '<w:rPr><w:b/><w:sz w:val="28"/></w:rPr></w:style>'
            "</w:styles>" % (W, language),
        "word/document.xml":
            '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<w:document xmlns:w="%s" xmlns:r="%s" xmlns:wp="%s" xmlns:a="%s" xmlns:pic="%s">%s<w:body>'
            "%s<w:sectPr>%s</w:sectPr></w:body></w:document>"
            % (W, R, WP, A, PIC, background, body, section),
    }
    for _, file_name, data in media:
        parts["word/media/" + file_name] = data
    os.makedirs(DOCS, exist_ok=True)
    with zipfile.ZipFile(os.path.join(DOCS, name), "w", zipfile.ZIP_DEFLATED) as z:
        for part_name in sorted(parts, key=lambda n: (n != "[Content_Types].xml", n)):
            info = zipfile.ZipInfo(part_name, FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            data = parts[part_name]
            z.writestr(info, data if isinstance(data, bytes) else data.encode("utf-8"))


def pictures_body():
    return "".join([
        paragraph(run_text("写真の入った文書"), style="1"),
        paragraph(run_text("PNG の図："), inline_picture("rIdP1", 1, 914400, 457200)),
        paragraph(run_text("JPEG の図："), inline_picture("rIdP2", 2, 457200, 457200)),
        paragraph(run_text("GIF の図："), inline_picture("rIdP3", 3, 228600, 228600)),
        paragraph(run_text("同じ PNG をもう一度："), inline_picture("rIdP1", 4, 914400, 457200)),
    ])


def main():
    media = [
        ("rIdP1", "image1.png", picture("png", "#3366cc", "40x20")),
        ("rIdP2", "image2.jpeg", picture("jpg", "#cc6633", "20x20")),
        ("rIdP3", "image3.gif", picture("gif", "#33cc66", "10x10")),
    ]
    # A page colour, and the PNG and JPEG once more in grey and washed out:
    # files of their own beside the originals.
    effects = "".join([
        paragraph(run_text("灰色の PNG："),
                  inline_picture("rIdP1", 5, 914400, 457200, "<a:grayscl/>")),
        paragraph(run_text("淡色の JPEG："),
                  inline_picture("rIdP2", 6, 457200, 457200,
                                 '<a:lum bright="70000" contrast="-70000"/>')),
    ])
    write_docx("pictures.docx", "図の文書", pictures_body() + effects, media=media,
               background='<w:background w:color="FFFFCC"/>')
    # A name with two dots: the page and pictures are named "report".
    write_docx("report.old.docx", "古い報告", pictures_body(), media=media[:1])

    links = [
        ("rIdL1", "http://example.com/path/page.html"),
        ("rIdL2", "other.doc"),
        ("rIdL3", "sub/folder/other.docx#section2"),
        ("rIdL4", "C:\\Docs\\報告書.doc#第2章"),
        ("rIdL5", "../Image/photo.png"),
        ("rIdL6", "/home/user/Documents/"),
        ("rIdL7", "HTTP://EXAMPLE.COM/UPPER/"),
    ]
    body = "".join([
        paragraph(run_text("リンクの文書"), style="1"),
        paragraph(run_text("ウェブ："), hyperlink("rIdL1", "example.com")),
        paragraph(run_text("文書："), hyperlink("rIdL2", "other.doc")),
        paragraph(run_text("文書の節："), hyperlink("rIdL3", "other.docx#section2")),
        paragraph(run_text("Windows のパス："), hyperlink("rIdL4", "報告書")),
        paragraph(run_text("画像："), hyperlink("rIdL5", "photo")),
        paragraph(run_text("フォルダ："), hyperlink("rIdL6", "Documents")),
        paragraph(run_text("大文字："), hyperlink("rIdL7", "UPPER")),
        paragraph(run_text("本文中の ./ と .\\ と \"a.doc\" はそのまま書き換わる。")),
    ])
    write_docx("links.docx", "リンク", body, links=links)

    # Two sections for the options: narrower margins than Word's default (the
    # fixed width shows), a layout grid of 18 points in the first section only
    # (the second keeps its pitch), in English (the body tag keeps no
    # attribute through the revision).
    grid = '<w:docGrid w:type="lines" w:linePitch="360"/>'
    margins = ('<w:pgSz w:w="11906" w:h="16838"/><w:pgMar w:top="1440" w:right="1134" '
               'w:bottom="1440" w:left="1134" w:header="720" w:footer="720" w:gutter="0"/>')
    body = "".join([
        paragraph(run_text("Options"), style="1"),
        paragraph(run_text("The first section stands on a layout grid of 18 points.")),
        '<w:p><w:pPr><w:sectPr>%s%s</w:sectPr></w:pPr>%s</w:p>'
        % (margins, grid, run_text("Its last paragraph ends the section.")),
        paragraph(run_text("The second section has no grid of its own.")),
    ])
    write_docx("options.docx", "Options", body, section=margins,
               language='<w:lang w:val="en-US" w:eastAsia="en-US"/>')


if __name__ == "__main__":
    main()
