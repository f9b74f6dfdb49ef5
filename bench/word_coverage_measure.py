#!/usr/bin/env python3
"""Measures one exported document: the share of the words pandoc finds in the
.docx that appear in the exported page's text, and its pictures.

usage: word_coverage_measure.py DOCX PAGE PANDOC_TEXT
prints: words found pictures_in pictures_out
"""
import html.parser
import os
import re
import sys
import unicodedata
import zipfile


class PageText(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.parts = []
        self.skip = 0

    def handle_starttag(self, tag, attrs):
        if tag in ("style", "script", "title", "head"):
            self.skip += 1

    def handle_endtag(self, tag):
        if tag in ("style", "script", "title", "head") and self.skip:
            self.skip -= 1

    def handle_data(self, data):
        if not self.skip:
            self.parts.append(data)


def normal(text):
    # Case is folded: Word's all-caps runs reach the page as their own letters
    # with text-transform:uppercase, while pandoc writes them in capitals.
    # A non-breaking hyphen (U+2011, U+2010 after NFKC) is written as "-".
    text = unicodedata.normalize("NFKC", text).replace("\u2010", "-")
    return re.sub(r"\s+", "", text).casefold()


def strip_marks(word):
    start, end = 0, len(word)
    while start < end and not word[start].isalnum():
        start += 1
    while end > start and not word[end - 1].isalnum():
        end -= 1
    return word[start:end]


def page_text(path):
    raw = open(path, "rb").read()
    charset = re.search(rb"charset=([A-Za-z0-9_-]+)", raw[:4000])
    encoding = "cp932" if charset and charset.group(1).lower() == b"shift_jis" else "utf-8"
    parser = PageText()
    parser.feed(raw.decode(encoding, errors="replace"))
    return normal("".join(parser.parts))


def sniff(data):
    return (data.startswith(b"\x89PNG") or data.startswith(b"\xff\xd8\xff")
            or data.startswith(b"GIF8"))


def pictures_in(docx):
    """PNG, JPEG and GIF parts the main document shows (by relationship id)."""
    try:
        z = zipfile.ZipFile(docx)
        doc = z.read("word/document.xml").decode("utf-8", "replace")
        rels = z.read("word/_rels/document.xml.rels").decode("utf-8", "replace")
    except Exception:
        return 0
    names = set()
    for rel in re.finditer(r"<Relationship [^>]*>", rels):
        r = rel.group(0)
        rid = re.search(r'Id="([^"]+)"', r)
        target = re.search(r'Target="([^"]+)"', r)
        if not rid or not target or "TargetMode=\"External\"" in r or "/image" not in r:
            continue
        if not re.search(r'(r:embed|r:id|r:pict)="%s"' % re.escape(rid.group(1)), doc):
            continue
        part = os.path.normpath(os.path.join("word", target.group(1))).lstrip("/")
        try:
            if sniff(z.read(part)):
                names.add(part)
        except KeyError:
            pass
    return len(names)


def words_found(page, plain):
    """(words in the pandoc text, those that appear in the page's text)."""
    text = page_text(page) if os.path.exists(page) else ""
    # Markup pandoc adds around words (list dots, emphasis marks) is not text.
    plain_text = unicodedata.normalize("NFKC", open(plain, encoding="utf-8").read())
    # pandoc numbers every note "[N]", endnotes included, where the page keeps
    # Word's own labels (endnotes i, ii, ...): the markers are not words.
    plain_text = re.sub(r"\[\d+\]", " ", plain_text)
    words = [strip_marks(w) for w in plain_text.split()]
    words = [w for w in words if w]
    return len(words), sum(1 for w in words if normal(w) in text)


def main():
    docx, page, plain = sys.argv[1:4]
    words, found = words_found(page, plain)
    folder = os.path.splitext(page)[0] + ".files"
    out = len([f for f in os.listdir(folder) if f.startswith("image")]) if os.path.isdir(folder) else 0
    print(words, found, pictures_in(docx), out)


if __name__ == "__main__":
    main()
