#!/usr/bin/env python3
"""Writes the help document quillet.pdf from its readable source.

Usage: make-help-pdf.py SOURCE.txt OUT.pdf

The source is UTF-8 text. A line underlined with "=" is a heading; an
indented line keeps its columns (Courier); every other line is set as it
stands in Helvetica. Windows-1252 text, A4 pages.
The PDF uses only the standard fonts, so any viewer shows it as written.
"""
import sys

PAGE_WIDTH, PAGE_HEIGHT = 595, 842
MARGIN_LEFT, MARGIN_TOP, MARGIN_BOTTOM = 56, 64, 56
BODY_SIZE, CODE_SIZE, HEADING_SIZE, LEADING = 10.5, 9.5, 14, 14


def pdf_text(text):
    """A PDF string literal: Windows-1252 bytes, with every byte outside
    printable ASCII and the three special characters escaped."""
    out = []
    for byte in text.encode("cp1252"):
        if byte in b"()\\" or byte < 0x20 or byte > 0x7E:
            out.append("\\%03o" % byte)
        else:
            out.append(chr(byte))
    return "(" + "".join(out) + ")"


def lines_of(source):
    """(is_heading, text) pairs, the underlines dropped."""
    raw = source.splitlines()
    result = []
    i = 0
    while i < len(raw):
        line = raw[i].rstrip()
        underlined = i + 1 < len(raw) and raw[i + 1].strip() and set(raw[i + 1].strip()) == {"="}
        result.append((bool(underlined), line))
        i += 2 if underlined else 1
    return result


def pages_of(lines):
    usable = PAGE_HEIGHT - MARGIN_TOP - MARGIN_BOTTOM
    pages, page, used = [], [], 0
    for heading, text in lines:
        height = LEADING * (2 if heading else 1)
        if used + height > usable and page:
            pages.append(page)
            page, used = [], 0
        page.append((heading, text))
        used += height
    if page:
        pages.append(page)
    return pages or [[]]


def content_of(page):
    ops = ["BT", "%d %d Td" % (MARGIN_LEFT, PAGE_HEIGHT - MARGIN_TOP)]
    for heading, text in page:
        if heading:
            ops += ["0 %d Td" % -(LEADING // 2), "/F2 %s Tf" % HEADING_SIZE,
                    "%s Tj" % pdf_text(text), "0 %d Td" % -(LEADING + LEADING // 2)]
        else:
            font = "/F3 %s Tf" % CODE_SIZE if text.startswith("  ") else "/F1 %s Tf" % BODY_SIZE
            ops += [font, "%s Tj" % pdf_text(text), "0 %d Td" % -LEADING]
    ops.append("ET")
    return "\n".join(ops).encode("latin-1")


def build(source):
    pages = pages_of(lines_of(source))
    objects = []  # bodies, numbered from 1

    def add(body):
        objects.append(body)
        return len(objects)

    catalog = add(None)
    page_tree = add(None)
    regular = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    bold = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>")
    mono = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>")
    kids = []
    for page in pages:
        stream = content_of(page)
        content = add(b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream")
        kids.append(add(("<< /Type /Page /Parent %d 0 R /MediaBox [0 0 %d %d] /Contents %d 0 R "
                         "/Resources << /Font << /F1 %d 0 R /F2 %d 0 R /F3 %d 0 R >> >> >>"
                         % (page_tree, PAGE_WIDTH, PAGE_HEIGHT, content, regular, bold, mono)).encode()))
    objects[catalog - 1] = b"<< /Type /Catalog /Pages %d 0 R >>" % page_tree
    objects[page_tree - 1] = ("<< /Type /Pages /Kids [%s] /Count %d >>"
                              % (" ".join("%d 0 R" % k for k in kids), len(kids))).encode()

    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, catalog, xref)
    return bytes(out)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make-help-pdf.py SOURCE.txt OUT.pdf")
    with open(sys.argv[1], encoding="utf-8") as f:
        source = f.read()
    with open(sys.argv[2], "wb") as f:
        f.write(build(source))


if __name__ == "__main__":
    main()
