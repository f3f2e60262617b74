#!/usr/bin/env python3
"""Turns the text pixel maps of this folder into .ico and .bmp resource files.

A map file holds:
  # comment lines and blank lines, ignored
  output NAME.ico | NAME.bmp
  colour C RRGGBB         one legend entry: a pixel character and its colour
  colour C transparent    (icons only)
  image WxH               followed by H rows of W legend characters
An icon takes one image per size; a bitmap takes exactly one image.

Usage: make_art.py OUTDIR MAP...
Only the standard library is used, so the build needs nothing beyond python3.
"""
import os
import struct
import sys


class MapError(Exception):
    pass


def parse_map(path):
    output, legend, images = None, {}, []
    rows_left, current = 0, None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            where = f"{path}:{number}"
            if rows_left:
                if len(line) != current["width"]:
                    raise MapError(f"{where}: row of {len(line)} pixels, expected {current['width']}")
                for c in line:
                    if c not in legend:
                        raise MapError(f"{where}: character {c!r} is not in the legend")
                current["rows"].append(line)
                rows_left -= 1
                continue
            if not line.strip() or line.startswith("#"):
                continue
            word, _, rest = line.partition(" ")
            if word == "output":
                output = rest.strip()
            elif word == "colour":
                char, value = rest[0], rest[2:].strip()
                if value == "transparent":
                    legend[char] = None
                else:
                    legend[char] = tuple(int(value[i:i + 2], 16) for i in (0, 2, 4))
            elif word == "image":
                width, height = (int(n) for n in rest.lower().split("x"))
                current = {"width": width, "height": height, "rows": []}
                images.append(current)
                rows_left = height
            else:
                raise MapError(f"{where}: unknown line {line!r}")
    if rows_left:
        raise MapError(f"{path}: the last image has {rows_left} rows missing")
    if not output or not images:
        raise MapError(f"{path}: needs an output line and at least one image")
    return output, legend, images


def row_padding(length):
    return b"\0" * (-length % 4)


def icon_image(image, legend):
    """One icon image: BITMAPINFOHEADER, 32-bit BGRA rows, then the AND mask (bottom-up)."""
    w, h = image["width"], image["height"]
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour, mask = bytearray(), bytearray()
    for row in reversed(image["rows"]):
        bits = 0
        mask_row = bytearray()
        for x, c in enumerate(row):
            rgb = legend[c]
            if rgb is None:
                colour += b"\0\0\0\0"
                bits |= 0x80 >> (x % 8)
            else:
                colour += bytes((rgb[2], rgb[1], rgb[0], 255))
            if x % 8 == 7 or x == w - 1:
                mask_row.append(bits)
                bits = 0
        mask += mask_row + row_padding(len(mask_row))
    return header + bytes(colour) + bytes(mask)


def make_icon(images, legend):
    blobs = [icon_image(image, legend) for image in images]
    data = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for image, blob in zip(images, blobs):
        w, h = image["width"], image["height"]
        data += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return data + b"".join(blobs)


def make_bitmap(images, legend):
    if len(images) != 1:
        raise MapError("a bitmap takes exactly one image")
    image = images[0]
    w, h = image["width"], image["height"]
    pixels = bytearray()
    for row in reversed(image["rows"]):
        line = bytearray()
        for c in row:
            rgb = legend[c]
            if rgb is None:
                raise MapError("a bitmap has no transparent colour")
            line += bytes((rgb[2], rgb[1], rgb[0]))
        pixels += line + row_padding(len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return file_header + info + bytes(pixels)


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    out_dir = argv[1]
    os.makedirs(out_dir, exist_ok=True)
    try:
        for path in argv[2:]:
            output, legend, images = parse_map(path)
            if output.endswith(".ico"):
                data = make_icon(images, legend)
            elif output.endswith(".bmp"):
                data = make_bitmap(images, legend)
            else:
                raise MapError(f"{path}: output must be .ico or .bmp")
            with open(os.path.join(out_dir, output), "wb") as f:
                f.write(data)
    except MapError as e:
        print(f"make_art: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
